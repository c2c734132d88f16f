// What a register run changed in the registry, so that a failed run can be
// taken back exactly.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/RegistryKey.h"

namespace trevik {

// A key as a journal names it: a predefined root key and the path below it
// ("" for the root itself). Journal entries name keys, never hold them open.
struct KeyPlace {
    HKEY root;
    std::wstring path;

    KeyPlace Child(LPCWSTR name) const;
};

// Entries in the order of the changes. Taking back replays them newest
// first: a key the run created is deleted, a value it wrote gets its old
// type and bytes back (or goes, when it was new), and a tree it deleted is
// made again with every key, value and link it held. Nothing that existed
// before the run is ever deleted by taking back.
class CUndoJournal {
public:
    CUndoJournal() = default;
    CUndoJournal(const CUndoJournal&) = delete;
    CUndoJournal& operator=(const CUndoJournal&) = delete;

    // The position to take back to.
    size_t Mark() const { return entries_.size(); }

    // CKeyHandle::Create of `parent`'s subkey `name`, which lies at
    // `place`, into `key`; a key that did not exist before is recorded.
    // `created` tells which it was.
    LONG CreateKey(CKeyHandle& key, HKEY parent, LPCWSTR name, const KeyPlace& place, bool* created);

    // Reads the value `name` (null: the default value) of the open key `key`
    // at `place` before the run writes it. The Win32 code of the read; an
    // absent value is recorded as absent.
    LONG ValueAboutToChange(HKEY key, const KeyPlace& place, LPCWSTR name);

    // DeleteKeyTree of `parent`'s subkey `name`, which lies at `place`, with
    // everything it deletes recorded.
    LONG DeleteTree(HKEY parent, LPCWSTR name, const KeyPlace& place);

    // Takes back every change recorded after `mark`, newest first, and
    // forgets them. Best effort: a change that cannot be taken back does
    // not stop the others.
    void RollBackTo(size_t mark) noexcept;

private:
    enum class Change { CreatedKey, ChangedValue, DeletedTree };
    struct Entry {
        Change change;
        KeyPlace place;
        bool valueExisted = false;
        SavedValue value;
        SavedTree tree;
    };

    static void TakeBack(const Entry& entry);
    // Makes room for one entry before the change it records, so that a
    // change is never made without its entry; room grows by doubling.
    void ReserveEntry()
    {
        if (entries_.size() == entries_.capacity())
            entries_.reserve(entries_.empty() ? kFirstCapacity : 2 * entries_.capacity());
    }
    static constexpr size_t kFirstCapacity = 16;

    std::vector<Entry> entries_;
};

}  // namespace trevik
