// An open registry key, closed when its owner goes.
#pragma once
#include <windows.h>

#include <string>

namespace regcapture {

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // Opens or creates `parent`'s subkey `path` for reading and writing.
    LONG Create(HKEY parent, const std::wstring& path);
    // Opens `parent`'s subkey `path` (empty: the parent itself) with `access`.
    LONG Open(HKEY parent, const std::wstring& path, REGSAM access = KEY_READ);

    HKEY Get() const { return key_; }

private:
    void Close();
    HKEY key_ = nullptr;
};

}  // namespace regcapture
