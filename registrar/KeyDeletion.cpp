#include "registrar/KeyDeletion.h"

#include <new>

#include "platform/Constants.h"
#include "platform/RemoveSubkey.h"

namespace trevik {
namespace {

const LPCWSTR kProtectedKeyNames[] = {
    L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
    L"Mime",  L"SAM",   L"SECURITY",             L"SYSTEM",   L"Software",  L"TypeLib",
};

// What deleting a key needs: enumerating its subkeys, reading its values,
// and deleting it.
constexpr REGSAM kTreeAccess = kKeyRead | DELETE;

// A key of the tree whose subkeys are being deleted, with its path below the top.
struct OpenLevel {
    CKeyHandle key;
    std::wstring path;
};

std::wstring JoinPath(const std::wstring& path, LPCWSTR name)
{
    return path.empty() ? std::wstring(name) : path + L'\\' + name;
}

LONG SaveKey(const CKeyHandle& key, bool isLink, const std::wstring& path, SavedTree* saved)
{
    if (!saved)
        return ERROR_SUCCESS;
    saved->push_back({path, isLink, {}});
    return ReadValues(key.Get(), saved->back().values);
}

// The walk down a tree: the levels whose subkeys are being deleted, deepest last.
class TreeDeletion {
public:
    explicit TreeDeletion(SavedTree* saved) : saved_(saved) {}

    LONG Run(HKEY parent, LPCWSTR name)
    {
        LONG code = Enter(parent, name, L"");
        while (code == ERROR_SUCCESS && !levels_.empty())
            code = Step();
        return code;
    }

private:
    // Opens `name` as itself. A link is deleted at once; a key becomes the
    // deepest level.
    LONG Enter(HKEY parent, LPCWSTR name, std::wstring path)
    {
        CKeyHandle key;
        LONG code = key.OpenItself(parent, name, kTreeAccess);
        if (code != ERROR_SUCCESS)
            return code;
        bool isLink = key.IsLink();
        code = SaveKey(key, isLink, path, saved_);
        if (code != ERROR_SUCCESS)
            return code;
        if (isLink)
            return RemoveOpenedKey(key.Get());
        levels_.push_back({std::move(key), std::move(path)});
        return ERROR_SUCCESS;
    }

    // Goes down into the deepest level's first subkey, or deletes that level
    // when it has none left.
    LONG Step()
    {
        OpenLevel& deepest = levels_.back();
        wchar_t subkey[kKeyNameUnits];
        DWORD subkeyUnits = kKeyNameUnits;
        LONG code = RegEnumKeyExW(deepest.key.Get(), 0, subkey, &subkeyUnits, nullptr, nullptr, nullptr, nullptr);
        if (code == ERROR_SUCCESS)
            return Enter(deepest.key.Get(), subkey, JoinPath(deepest.path, subkey));
        if (code != ERROR_NO_MORE_ITEMS)
            return code;
        code = RemoveOpenedKey(deepest.key.Get());
        if (code == ERROR_SUCCESS)
            levels_.pop_back();
        return code;
    }

    SavedTree* saved_;
    std::vector<OpenLevel> levels_;
};

}  // namespace

LONG DeleteKeyTree(HKEY parent, LPCWSTR name, SavedTree* saved)
{
    try {
        return TreeDeletion(saved).Run(parent, name);
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

LONG ReadValues(HKEY key, std::vector<SavedValue>& values)
{
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD largestData = 0;
    LONG code = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                                 &largestData, nullptr, nullptr);
    if (code != ERROR_SUCCESS)
        return code;
    std::wstring name(longestName + 1, L'\0');
    for (DWORD index = 0; index < count; ++index) {
        SavedValue value;
        value.data.resize(largestData);
        DWORD nameUnits = longestName + 1;
        DWORD bytes = largestData;
        code = RegEnumValueW(key, index, &name[0], &nameUnits, nullptr, &value.type, value.data.data(), &bytes);
        if (code != ERROR_SUCCESS)
            return code;
        value.name.assign(name.c_str(), nameUnits);
        value.data.resize(bytes);
        values.push_back(std::move(value));
    }
    return ERROR_SUCCESS;
}

bool KeyHasSubkeys(HKEY key)
{
    DWORD subkeys = 0;
    LONG code = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr);
    return code == ERROR_SUCCESS && subkeys > 0;
}

bool IsProtectedKeyName(LPCWSTR name)
{
    for (LPCWSTR protectedName : kProtectedKeyNames)
        if (lstrcmpiW(name, protectedName) == 0)
            return true;
    return false;
}

}  // namespace trevik
