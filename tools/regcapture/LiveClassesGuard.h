// Keeps the capture off the live machine-wide classes. An open of
// HKEY_CLASSES_ROOT that names a registry view (KEY_WOW64_32KEY or
// KEY_WOW64_64KEY) may bypass the redirection and reach them: the platform's
// type-library registration writes its 32-bit view copy of the interface
// keys that way. The guard records those classes before the registration and
// afterwards takes back every change made, in either view, to a key that the
// registration also wrote in the scratch HKEY_CLASSES_ROOT. Changes to other
// keys belong to other programs and stay.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CapturedRegistry.h"

namespace regcapture {

class LiveClassesGuard {
public:
    // Reads every key and value of the live machine-wide classes; call it
    // before the root keys are redirected.
    LONG Record();
    // Gives the keys of `captured` under HKEY_CLASSES_ROOT, in either view,
    // back the state Record found; call it after the redirection ended.
    LONG TakeBack(const CapturedRegistry& captured) const;

private:
    struct IgnoringCase {
        bool operator()(const std::wstring& left, const std::wstring& right) const;
    };
    // Every key by its path; a key that could not be read has no values.
    using Keys = std::map<std::wstring, std::optional<std::vector<CapturedValue>>, IgnoringCase>;

    LONG TakeBackKey(HKEY classes, const std::wstring& path) const;

    Keys recorded_;
};

}  // namespace regcapture
