// What a registration wrote, read back from the scratch key that stood in for
// the predefined root keys.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/RegistryKey.h"

namespace regcapture {

// The predefined root keys a registration is captured from.
enum class Root { ClassesRoot, CurrentUser, LocalMachine };

// A value: its name (empty for the key's default value), type and bytes.
using CapturedValue = trevik::SavedValue;

struct CapturedKey {
    Root root;
    std::wstring path;  // below the root; empty for the root itself
    std::vector<CapturedValue> values;
};

// The keys that carry the registration, parents before children: every key
// holding values, and every key holding neither values nor subkeys. A key
// holding subkeys only is left out: whoever writes the keys below creates it.
using CapturedRegistry = std::vector<CapturedKey>;

// The values of one key, in the order the registry lists them.
using trevik::ReadValues;
// The names of a key's direct subkeys.
LONG ReadSubkeyNames(HKEY key, std::vector<std::wstring>& names);

// Appends the tree below `key`, which stood in for `root`, to `captured`.
LONG ReadCapturedTree(HKEY key, Root root, CapturedRegistry& captured);

// The text of a string value (REG_SZ, REG_EXPAND_SZ) without its terminator,
// or false when the data is no single terminated string.
bool StringData(const CapturedValue& value, std::wstring& text);

}  // namespace regcapture
