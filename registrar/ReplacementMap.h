// The registrar's replacement names and their texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace trevik {

// Pairs in the order they were added; the same name may occur more than once.
class CReplacementMap {
public:
    // Stores copies of `name` and `value`. False when either is null or
    // memory runs out; the map is then unchanged.
    bool AddPair(LPCWSTR name, LPCWSTR value) noexcept;

    // The value of the first pair whose name equals `name` ignoring case, or null.
    LPCWSTR Lookup(LPCWSTR name) const;

    void ClearAll() noexcept;

    int Count() const { return static_cast<int>(pairs_.size()); }

private:
    struct Pair {
        std::wstring name;
        std::wstring value;
    };
    std::vector<Pair> pairs_;
};

}  // namespace trevik
