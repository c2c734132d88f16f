#include "platform/RegistryKey.h"

#include <new>
#include <utility>

#include "platform/FaultInjection.h"

namespace trevik {
namespace {

LONG OpenKey(HKEY parent, LPCWSTR name, DWORD options, REGSAM access, HKEY* opened)
{
    return RegOpenKeyExW(parent, name, options, access, opened);
}

using DeleteKeyExFunction = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

DeleteKeyExFunction LookUpDeleteKeyEx()
{
    HMODULE advapi = GetModuleHandleW(L"Advapi32.dll");
    if (!advapi)
        return nullptr;
    FARPROC entry = GetProcAddress(advapi, "RegDeleteKeyExW");
    return reinterpret_cast<DeleteKeyExFunction>(reinterpret_cast<void (*)()>(entry));
}

DeleteKeyExFunction DeleteKeyEx()
{
    static const DeleteKeyExFunction entry = LookUpDeleteKeyEx();
    return entry;
}

// What deleting a key needs: enumerating its subkeys, reading its values,
// and deleting it.
constexpr REGSAM kTreeAccess = kKeyRead | DELETE;

// A key of the tree whose subkeys are being deleted, with its path below the top.
struct OpenLevel {
    CKeyHandle key;
    std::wstring path;
};

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
            return Enter(deepest.key.Get(), subkey, JoinKeyPath(deepest.path, subkey));
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

LONG CKeyHandle::Open(HKEY parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, 0, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened);
}

LONG CKeyHandle::OpenItself(HKEY parent, LPCWSTR name, REGSAM access)
{
    HKEY opened = nullptr;
    LONG code = OpenKey(parent, name, REG_OPTION_OPEN_LINK, access, &opened);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(opened);
}

LONG CKeyHandle::Create(HKEY parent, LPCWSTR name, bool* created)
{
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG code = RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kKeyReadWrite, nullptr, &key,
                                &disposition);
    if (code != ERROR_SUCCESS)
        return code;
    if (created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return Replace(key);
}

LONG CKeyHandle::CreateLink(HKEY parent, LPCWSTR name)
{
    HKEY key = nullptr;
    LONG code = RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr);
    if (code != ERROR_SUCCESS)
        return code;
    return Replace(key);
}

bool CKeyHandle::IsLink() const
{
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    return RegQueryValueExW(Get(), kLinkValueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
           type == REG_LINK;
}

LONG CKeyHandle::Close()
{
    HKEY key = ReleaseOwnership();
    return key ? RegCloseKey(key) : ERROR_SUCCESS;
}

LONG CKeyHandle::Replace(HKEY key)
{
    LONG code = Close();
    Reset(key);
    return code;
}

std::wstring JoinKeyPath(const std::wstring& path, const std::wstring& name)
{
    if (path.empty())
        return name;
    return name.empty() ? path : path + L'\\' + name;
}

LONG RemoveSubkey(HKEY parent, LPCWSTR name)
{
    CKeyHandle key;
    LONG code = key.OpenItself(parent, name, DELETE);
    if (code != ERROR_SUCCESS)
        return code;
    return RemoveOpenedKey(key.Get());
}

LONG RemoveOpenedKey(HKEY key)
{
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    // An empty name deletes the opened key itself, without a new lookup that
    // would follow a link.
    if (DeleteKeyExFunction deleteKeyEx = DeleteKeyEx())
        return deleteKeyEx(key, L"", 0, 0);
    return RegDeleteKeyW(key, L"");
}

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

bool IsEmptyKey(HKEY parent, LPCWSTR name)
{
    CKeyHandle key;
    if (key.Open(parent, name, kKeyRead) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0;
    LONG code = RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr);
    return code == ERROR_SUCCESS && subkeys == 0;
}

}  // namespace trevik
