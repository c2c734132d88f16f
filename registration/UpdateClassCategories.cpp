#include "registration/UpdateClassCategories.h"

#include <objbase.h>

#include "platform/BoundedCopy.h"
#include "platform/ComPtr.h"
#include "platform/RegistryKey.h"

namespace trevik {
namespace {

// A GUID as registry text: 38 characters in braces, with room to spare.
constexpr int kGuidTextUnits = 64;

// "CLSID\{class}\Implemented Categories" and the like (67 characters at most).
constexpr size_t kCategoryKeyPathUnits = 128;

// The platform's categories manager, {0002E005-0000-0000-C000-000000000046}.
const CLSID kCategoriesManagerClass = {0x0002E005, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

const wchar_t* const kCategoryKeyNames[] = {L"\\Required Categories", L"\\Implemented Categories"};

HRESULT RecordCategory(ICatRegister* manager, REFCLSID classId, const CategoryMapEntry& entry)
{
    CATID category = *entry.categoryId;
    if (entry.kind == kImplementedCategory)
        return manager->RegisterClassImplCategories(classId, 1, &category);
    return manager->RegisterClassReqCategories(classId, 1, &category);
}

void WithdrawCategory(ICatRegister* manager, REFCLSID classId, const CategoryMapEntry& entry)
{
    CATID category = *entry.categoryId;
    if (entry.kind == kImplementedCategory)
        manager->UnRegisterClassImplCategories(classId, 1, &category);
    else
        manager->UnRegisterClassReqCategories(classId, 1, &category);
}

// Appends `text` to the path being built in `path` (of kCategoryKeyPathUnits).
void AppendToPath(wchar_t* path, const wchar_t* text)
{
    size_t length = lstrlenW(path);
    BoundedCopy(path + length, kCategoryKeyPathUnits - length, text, lstrlenW(text));
}

void RemoveEmptyCategoryKeys(REFCLSID classId)
{
    wchar_t classText[kGuidTextUnits];
    StringFromGUID2(classId, classText, kGuidTextUnits);
    for (const wchar_t* keyName : kCategoryKeyNames) {
        wchar_t path[kCategoryKeyPathUnits] = L"CLSID\\";
        AppendToPath(path, classText);
        AppendToPath(path, keyName);
        if (IsEmptyKey(HKEY_CLASSES_ROOT, path))
            RemoveSubkey(HKEY_CLASSES_ROOT, path);
    }
}

}  // namespace

HRESULT UpdateClassCategories(REFCLSID classId, const CategoryMapEntry* map, bool registering)
{
    if (!map || IsEqualCLSID(classId, GUID{}))
        return S_OK;

    ComPtr<ICatRegister> manager;
    if (FAILED(CoCreateInstance(kCategoriesManagerClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ICatRegister),
                                manager.ReceiveVoid())))
        return S_OK;

    for (const CategoryMapEntry* entry = map; entry->kind != kCategoryMapEnd; ++entry) {
        if (!registering) {
            WithdrawCategory(manager.Get(), classId, *entry);
            continue;
        }
        HRESULT hr = RecordCategory(manager.Get(), classId, *entry);
        if (FAILED(hr))
            return hr;
    }
    if (!registering)
        RemoveEmptyCategoryKeys(classId);
    return S_OK;
}

}  // namespace trevik
