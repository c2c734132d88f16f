#include "registrar/UndoJournal.h"

#include <new>

#include "platform/RegistryKey.h"

namespace trevik {
namespace {

LONG WriteValue(HKEY key, const SavedValue& value)
{
    return RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size()));
}

void RestoreValue(const KeyPlace& place, bool existed, const SavedValue& value)
{
    CKeyHandle key;
    if (key.Open(place.root, place.path.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS)
        return;
    if (existed)
        WriteValue(key.Get(), value);
    else
        RegDeleteValueW(key.Get(), value.name.c_str());
}

void RestoreLink(const std::wstring& path, HKEY root, const SavedKey& link)
{
    CKeyHandle key;
    if (key.CreateLink(root, path.c_str()) != ERROR_SUCCESS)
        return;
    for (const SavedValue& value : link.values)
        WriteValue(key.Get(), value);
}

void RestoreKey(const std::wstring& path, HKEY root, const SavedKey& saved)
{
    CKeyHandle key;
    if (key.Create(root, path.c_str()) != ERROR_SUCCESS)
        return;
    for (const SavedValue& value : saved.values)
        WriteValue(key.Get(), value);
}

// Parents come before their subkeys, so each key is made under its parent.
void RestoreTree(const KeyPlace& top, const SavedTree& tree)
{
    for (const SavedKey& saved : tree) {
        std::wstring path = JoinKeyPath(top.path, saved.path);
        if (saved.isLink)
            RestoreLink(path, top.root, saved);
        else
            RestoreKey(path, top.root, saved);
    }
}

}  // namespace

KeyPlace KeyPlace::Child(LPCWSTR name) const
{
    return {root, JoinKeyPath(path, name)};
}

LONG CUndoJournal::CreateKey(CKeyHandle& key, HKEY parent, LPCWSTR name, const KeyPlace& place,
                             bool* created)
{
    Entry entry{Change::CreatedKey, place, false, {}, {}};
    ReserveEntry();
    LONG code = key.Create(parent, name, created);
    if (code == ERROR_SUCCESS && *created)
        entries_.push_back(std::move(entry));
    return code;
}

LONG CUndoJournal::ValueAboutToChange(HKEY key, const KeyPlace& place, LPCWSTR name)
{
    Entry entry{Change::ChangedValue, place, false, {}, {}};
    entry.value.name = name ? name : L"";
    DWORD bytes = 0;
    LONG code = RegQueryValueExW(key, name, nullptr, &entry.value.type, nullptr, &bytes);
    while (code == ERROR_SUCCESS || code == ERROR_MORE_DATA) {
        entry.value.data.resize(bytes);
        code = RegQueryValueExW(key, name, nullptr, &entry.value.type, entry.value.data.data(), &bytes);
        if (code == ERROR_SUCCESS) {
            entry.value.data.resize(bytes);
            entry.valueExisted = true;
            break;
        }
    }
    if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND)
        return code;
    ReserveEntry();
    entries_.push_back(std::move(entry));
    return ERROR_SUCCESS;
}

LONG CUndoJournal::DeleteTree(HKEY parent, LPCWSTR name, const KeyPlace& place)
{
    Entry entry{Change::DeletedTree, place, false, {}, {}};
    ReserveEntry();
    LONG code = DeleteKeyTree(parent, name, &entry.tree);
    // What was deleted before a failure is taken back too.
    if (!entry.tree.empty())
        entries_.push_back(std::move(entry));
    return code;
}

void CUndoJournal::RollBackTo(size_t mark) noexcept
{
    while (entries_.size() > mark) {
        try {
            TakeBack(entries_.back());
        } catch (const std::bad_alloc&) {
            // Memory ran out while making a path: this change stays.
        }
        entries_.pop_back();
    }
}

void CUndoJournal::TakeBack(const Entry& entry)
{
    switch (entry.change) {
    case Change::CreatedKey:
        RemoveSubkey(entry.place.root, entry.place.path.c_str());
        break;
    case Change::ChangedValue:
        RestoreValue(entry.place, entry.valueExisted, entry.value);
        break;
    case Change::DeletedTree:
        RestoreTree(entry.place, entry.tree);
        break;
    }
}

}  // namespace trevik
