#include "CapturedRegistry.h"

#include <algorithm>


namespace regcapture {
namespace {

struct KeyCounts {
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestValueName = 0, largestData = 0;
};

LONG QueryCounts(HKEY key, KeyCounts& counts)
{
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &counts.subkeys, &counts.longestSubkey, nullptr,
                            &counts.values, &counts.longestValueName, &counts.largestData, nullptr, nullptr);
}

LONG ReadKey(HKEY key, Root root, const std::wstring& path, CapturedRegistry& captured)
{
    CapturedKey entry{root, path, {}};
    LONG status = ReadValues(key, entry.values);
    std::vector<std::wstring> names;
    if (status == ERROR_SUCCESS)
        status = ReadSubkeyNames(key, names);
    if (status != ERROR_SUCCESS)
        return status;
    bool isRoot = path.empty();
    if (!entry.values.empty() || (names.empty() && !isRoot))
        captured.push_back(std::move(entry));
    for (size_t index = 0; index < names.size() && status == ERROR_SUCCESS; ++index) {
        trevik::CKeyHandle child;
        status = child.Open(key, names[index].c_str(), KEY_READ);
        if (status == ERROR_SUCCESS)
            status = ReadKey(child.Get(), root, trevik::JoinKeyPath(path, names[index]), captured);
    }
    return status;
}

}  // namespace

LONG ReadSubkeyNames(HKEY key, std::vector<std::wstring>& names)
{
    KeyCounts counts;
    LONG status = QueryCounts(key, counts);
    std::vector<wchar_t> name(counts.longestSubkey + 1);
    for (DWORD index = 0; index < counts.subkeys && status == ERROR_SUCCESS; ++index) {
        DWORD units = static_cast<DWORD>(name.size());
        status = RegEnumKeyExW(key, index, name.data(), &units, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS)
            names.emplace_back(name.data(), units);
    }
    return status;
}

LONG ReadCapturedTree(HKEY key, Root root, CapturedRegistry& captured)
{
    return ReadKey(key, root, L"", captured);
}

bool StringData(const CapturedValue& value, std::wstring& text)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        return false;
    size_t units = value.data.size() / sizeof(wchar_t);
    if (value.data.size() % sizeof(wchar_t) != 0 || units == 0)
        return false;
    text.assign(reinterpret_cast<const wchar_t*>(value.data.data()), units - 1);
    bool terminated = reinterpret_cast<const wchar_t*>(value.data.data())[units - 1] == L'\0';
    return terminated && std::find(text.begin(), text.end(), L'\0') == text.end();
}

}  // namespace regcapture
