#include "support/RegistrySandbox.h"

#include <sddl.h>

#include <algorithm>

#include <gtest/gtest.h>

namespace testsupport {
namespace {

const struct {
    HKEY key;
    const wchar_t* name;
} kRootKeys[] = {
    {HKEY_CLASSES_ROOT, L"HKCR"},      {HKEY_CURRENT_USER, L"HKCU"},   {HKEY_LOCAL_MACHINE, L"HKLM"},
    {HKEY_USERS, L"HKU"},              {HKEY_PERFORMANCE_DATA, L"HKPD"}, {HKEY_CURRENT_CONFIG, L"HKCC"},
    {HKEY_DYN_DATA, L"HKDD"},
};

class Key {
public:
    Key(HKEY root, const std::wstring& path, REGSAM access = KEY_READ)
    {
        if (RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, access, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::wstring Join(const std::wstring& path, const std::wstring& name)
{
    return path.empty() ? name : path + L"\\" + name;
}

std::wstring Describe(const RegValue& value)
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text = std::to_wstring(value.type) + L":";
    for (BYTE b : value.data) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

void DumpInto(RegistryDump& dump, HKEY key, const std::wstring& path)
{
    dump[path] = L"";
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, largestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                     &largestData, nullptr, nullptr);
    std::vector<wchar_t> name(std::max(longestSubkey, longestName) + 1);
    RegValue value{0, std::vector<BYTE>(largestData)};
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameUnits = static_cast<DWORD>(name.size()), bytes = largestData;
        value.data.resize(largestData);
        if (RegEnumValueW(key, i, name.data(), &nameUnits, nullptr, &value.type, value.data.data(), &bytes) !=
            ERROR_SUCCESS)
            break;
        value.data.resize(bytes);
        dump[path + L"=" + std::wstring(name.data(), nameUnits)] = Describe(value);
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD nameUnits = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameUnits, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::wstring child(name.data(), nameUnits);
        Key opened(key, child);
        if (opened.Get())
            DumpInto(dump, opened.Get(), Join(path, child));
        else
            dump[Join(path, child)] = L"<unreadable>";
    }
}

}  // namespace

RegistryDump DumpTree(HKEY root, const std::wstring& path)
{
    RegistryDump dump;
    Key key(root, path);
    if (key.Get())
        DumpInto(dump, key.Get(), path);
    return dump;
}

std::vector<std::wstring> Differences(const RegistryDump& before, const RegistryDump& after)
{
    std::vector<std::wstring> changes;
    auto held = [](const RegistryDump& dump, const std::wstring& entry) {
        auto found = dump.find(entry);
        return found == dump.end() ? std::wstring(L"<none>") : L"[" + found->second + L"]";
    };
    RegistryDump all = before;
    all.insert(after.begin(), after.end());
    for (const auto& entry : all)
        if (held(before, entry.first) != held(after, entry.first))
            changes.push_back(entry.first + L": " + held(before, entry.first) + L" -> " + held(after, entry.first));
    return changes;
}

RegistrySandbox::RegistrySandbox(const std::wstring& name) : path_(L"Software\\" + name)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    CreateKey(HKEY_CURRENT_USER, path_);
}

RegistrySandbox::~RegistrySandbox()
{
    RestoreRootKeys();
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

void RegistrySandbox::RedirectRootKeys()
{
    // Every target is opened before the first redirection, which would move
    // the later ones.
    std::vector<HKEY> targets;
    for (const auto& root : kRootKeys) {
        std::wstring target = Join(path_, root.name);
        CreateKey(HKEY_CURRENT_USER, target);
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, target.c_str(), 0, KEY_ALL_ACCESS, &key);
        targets.push_back(key);
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(kRootKeys[i].key, targets[i])) << kRootKeys[i].name;
        RegCloseKey(targets[i]);
    }
    redirected_ = true;
}

void RegistrySandbox::RestoreRootKeys()
{
    if (!redirected_)
        return;
    for (const auto& root : kRootKeys)
        RegOverridePredefKey(root.key, nullptr);
    redirected_ = false;
}

void RegistrySandbox::Clear()
{
    for (const auto& root : kRootKeys) {
        for (const std::wstring& name : SubkeyNames(root.key, L""))
            RegDeleteTreeW(root.key, name.c_str());
        Key key(root.key, L"", KEY_ALL_ACCESS);
        for (const std::wstring& name : ValueNames(root.key, L""))
            RegDeleteValueW(key.Get(), name.c_str());
    }
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    return Key(root, path).Get() != nullptr;
}

std::optional<RegValue> ReadValue(HKEY root, const std::wstring& path, const wchar_t* name)
{
    Key key(root, path);
    DWORD type = 0, bytes = 0;
    if (!key.Get() || RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    RegValue value{type, std::vector<BYTE>(bytes)};
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, value.data.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(bytes);
    return value;
}

std::wstring ReadString(HKEY root, const std::wstring& path, const wchar_t* name)
{
    std::optional<RegValue> value = ReadValue(root, path, name);
    if (!value)
        return L"<absent>";
    if (value->type != REG_SZ || value->data.size() % 2 != 0 || value->data.size() < 2)
        return L"<not a string>";
    return std::wstring(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / 2 - 1);
}

std::vector<std::wstring> SubkeyNames(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> names;
    Key key(root, path);
    wchar_t name[512];
    for (DWORD i = 0; key.Get(); ++i) {
        DWORD units = 512;
        if (RegEnumKeyExW(key.Get(), i, name, &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, units);
    }
    return names;
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> names;
    Key key(root, path);
    std::vector<wchar_t> name(32768);
    for (DWORD i = 0; key.Get(); ++i) {
        DWORD units = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key.Get(), i, name.data(), &units, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), units);
    }
    return names;
}

void CreateKey(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr))
        << std::string(path.begin(), path.end());
    RegCloseKey(key);
}

void WriteString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text)
{
    CreateKey(root, path);
    Key key(root, path, KEY_ALL_ACCESS);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

void RestrictKey(HKEY root, const std::wstring& path, const wchar_t* descriptor)
{
    PSECURITY_DESCRIPTOR security = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor, SDDL_REVISION_1, &security, nullptr));
    Key key(root, path, WRITE_DAC);
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, security));
    LocalFree(security);
}

RegValue StringValue(const std::wstring& text)
{
    auto bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

RegValue DwordValue(DWORD number)
{
    auto bytes = reinterpret_cast<const BYTE*>(&number);
    return {REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(number))};
}

RegValue BinaryValue(std::vector<BYTE> bytes)
{
    return {REG_BINARY, std::move(bytes)};
}

RegValue MultiStringValue(const std::wstring& unitsWithNuls)
{
    auto bytes = reinterpret_cast<const BYTE*>(unitsWithNuls.data());
    return {REG_MULTI_SZ, std::vector<BYTE>(bytes, bytes + unitsWithNuls.size() * sizeof(wchar_t))};
}

}  // namespace testsupport
