// Component categories that a class declares, recorded with the platform's
// categories manager when the class is registered and withdrawn when it is
// unregistered.
#pragma once
#include <windows.h>
#include <comcat.h>

namespace trevik {

// One element of a class's category map; a map ends with kind 0.
struct CategoryMapEntry {
    int kind;  // kCategoryMapEnd, kImplementedCategory, or any other: required
    const CATID* categoryId;
};

constexpr int kCategoryMapEnd = 0;
constexpr int kImplementedCategory = 1;
constexpr int kRequiredCategory = 2;

// Records (`registering`) or withdraws the categories of `map` for the class.
// A null map or a null class id does nothing. Without a categories manager
// registration goes on without categories. Registering fails with the first
// failing record's code; unregistering ignores failures and then removes the
// class's "Required Categories" and "Implemented Categories" keys under
// HKEY_CLASSES_ROOT where they are left without subkeys.
HRESULT UpdateClassCategories(REFCLSID classId, const CategoryMapEntry* map, bool registering);

}  // namespace trevik
