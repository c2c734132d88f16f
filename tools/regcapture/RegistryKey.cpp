#include "RegistryKey.h"

namespace regcapture {

RegistryKey::~RegistryKey()
{
    Close();
}

LONG RegistryKey::Create(HKEY parent, const std::wstring& path)
{
    Close();
    return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                           nullptr);
}

LONG RegistryKey::Open(HKEY parent, const std::wstring& path, REGSAM access)
{
    Close();
    return RegOpenKeyExW(parent, path.empty() ? nullptr : path.c_str(), 0, access, &key_);
}

void RegistryKey::Close()
{
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}

}  // namespace regcapture
