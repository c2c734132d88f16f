#include "LiveClassesGuard.h"

#include "platform/RegistryKey.h"

namespace regcapture {
namespace {

const wchar_t kMachineClasses[] = L"Software\\Classes";
// Where the 32-bit view of the machine-wide classes is kept.
const wchar_t kThirtyTwoBitView[] = L"Wow6432Node\\";

// Records every key below `key`; a key that cannot be read is recorded as
// there with values unknown, so that it is never taken back.
template <class Keys>
void ReadEveryKey(HKEY key, const std::wstring& path, Keys& keys)
{
    std::vector<CapturedValue> values;
    std::vector<std::wstring> names;
    if (ReadValues(key, values) == ERROR_SUCCESS)
        keys[path] = std::move(values);
    else
        keys[path] = std::nullopt;
    ReadSubkeyNames(key, names);
    for (const std::wstring& name : names) {
        trevik::CKeyHandle child;
        if (child.Open(key, name.c_str(), KEY_READ) == ERROR_SUCCESS)
            ReadEveryKey(child.Get(), trevik::JoinKeyPath(path, name), keys);
        else
            keys[trevik::JoinKeyPath(path, name)] = std::nullopt;
    }
}

bool SameData(const CapturedValue& left, const CapturedValue& right)
{
    return left.type == right.type && left.data == right.data;
}

LONG SetValue(HKEY key, const CapturedValue& value)
{
    return RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size()));
}

// Deletes a key the registration added, with everything below it; one that
// is gone already counts as deleted.
LONG DeleteAddedKey(HKEY classes, const std::wstring& path)
{
    trevik::CKeyHandle key;
    LONG status = key.Open(classes, path.c_str(), DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status == ERROR_SUCCESS)
        status = RegDeleteTreeW(key.Get(), nullptr);
    return status == ERROR_SUCCESS ? RegDeleteKeyW(classes, path.c_str()) : status;
}

bool SameName(const CapturedValue& left, const CapturedValue& right)
{
    return CompareStringOrdinal(left.name.c_str(), -1, right.name.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool Holds(const std::vector<CapturedValue>& values, const CapturedValue& wanted, bool withData)
{
    for (const CapturedValue& value : values)
        if (SameName(value, wanted) && (!withData || SameData(value, wanted)))
            return true;
    return false;
}

// Puts the values of the key at `path` back as `recorded` lists them. The key
// is opened for writing only when a value differs, so that a user who may
// not write the machine-wide classes can capture whatever left them alone.
LONG RestoreValues(HKEY classes, const std::wstring& path, const std::vector<CapturedValue>& recorded)
{
    trevik::CKeyHandle key;
    std::vector<CapturedValue> now;
    LONG status = key.Open(classes, path.c_str(), KEY_READ);
    if (status == ERROR_SUCCESS)
        status = ReadValues(key.Get(), now);
    if (status != ERROR_SUCCESS)
        return status;
    bool changed = now.size() != recorded.size();
    for (const CapturedValue& before : recorded)
        changed = changed || !Holds(now, before, true);
    if (!changed)
        return ERROR_SUCCESS;
    status = key.Open(classes, path.c_str(), KEY_READ | KEY_SET_VALUE);
    for (size_t index = 0; index < now.size() && status == ERROR_SUCCESS; ++index)
        if (!Holds(recorded, now[index], false))
            status = RegDeleteValueW(key.Get(), now[index].name.c_str());
    for (size_t index = 0; index < recorded.size() && status == ERROR_SUCCESS; ++index)
        if (!Holds(now, recorded[index], true))
            status = SetValue(key.Get(), recorded[index]);
    return status;
}

}  // namespace

bool LiveClassesGuard::IgnoringCase::operator()(const std::wstring& left, const std::wstring& right) const
{
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
}

LONG LiveClassesGuard::Record()
{
    trevik::CKeyHandle classes;
    LONG status = classes.Open(HKEY_LOCAL_MACHINE, kMachineClasses, KEY_READ);
    if (status == ERROR_SUCCESS)
        ReadEveryKey(classes.Get(), L"", recorded_);
    return status;
}

LONG LiveClassesGuard::TakeBack(const CapturedRegistry& captured) const
{
    trevik::CKeyHandle classes;
    LONG status = classes.Open(HKEY_LOCAL_MACHINE, kMachineClasses, KEY_READ);
    for (size_t index = 0; index < captured.size() && status == ERROR_SUCCESS; ++index) {
        if (captured[index].root != Root::ClassesRoot || captured[index].path.empty())
            continue;
        status = TakeBackKey(classes.Get(), captured[index].path);
        if (status == ERROR_SUCCESS)
            status = TakeBackKey(classes.Get(), kThirtyTwoBitView + captured[index].path);
    }
    return status;
}

// A key that was not there goes with every new level above it; a key that
// was there gets its values back.
LONG LiveClassesGuard::TakeBackKey(HKEY classes, const std::wstring& path) const
{
    for (size_t end = path.find(L'\\'); ; end = path.find(L'\\', end + 1)) {
        std::wstring level = path.substr(0, end);
        if (recorded_.find(level) == recorded_.end())
            return DeleteAddedKey(classes, level);
        if (end == std::wstring::npos)
            break;
    }
    const std::optional<std::vector<CapturedValue>>& values = recorded_.at(path);
    return values ? RestoreValues(classes, path, *values) : ERROR_SUCCESS;
}

}  // namespace regcapture
