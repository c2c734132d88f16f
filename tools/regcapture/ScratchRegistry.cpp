#include "ScratchRegistry.h"

#include <iterator>

#include "platform/RegistryKey.h"

namespace regcapture {
namespace {

const struct {
    HKEY key;
    Root root;
    const wchar_t* name;
} kRedirectedRoots[] = {
    {HKEY_CLASSES_ROOT, Root::ClassesRoot, L"HKCR"},
    {HKEY_CURRENT_USER, Root::CurrentUser, L"HKCU"},
    {HKEY_LOCAL_MACHINE, Root::LocalMachine, L"HKLM"},
};

const wchar_t kScratchParent[] = L"Software\\trevik-regcapture-";

}  // namespace

ScratchRegistry::ScratchRegistry() : path_(kScratchParent + std::to_wstring(GetCurrentProcessId())) {}

ScratchRegistry::~ScratchRegistry()
{
    EndRedirection();
    if (created_)
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

LONG ScratchRegistry::Redirect()
{
    // A key left by an earlier process of the same id is no capture of ours.
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    created_ = true;
    // Every stand-in is opened before the first redirection, which would move
    // the later ones.
    trevik::CKeyHandle standIns[std::size(kRedirectedRoots)];
    for (size_t index = 0; index < std::size(kRedirectedRoots); ++index) {
        std::wstring standInPath = trevik::JoinKeyPath(path_, kRedirectedRoots[index].name);
        LONG status = standIns[index].Create(HKEY_CURRENT_USER, standInPath.c_str());
        if (status != ERROR_SUCCESS)
            return status;
    }
    redirected_ = true;
    for (size_t index = 0; index < std::size(kRedirectedRoots); ++index) {
        LONG status = RegOverridePredefKey(kRedirectedRoots[index].key, standIns[index].Get());
        if (status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

void ScratchRegistry::EndRedirection()
{
    if (!redirected_)
        return;
    for (const auto& root : kRedirectedRoots)
        RegOverridePredefKey(root.key, nullptr);
    redirected_ = false;
}

LONG ScratchRegistry::Read(CapturedRegistry& captured) const
{
    for (const auto& root : kRedirectedRoots) {
        trevik::CKeyHandle standIn;
        LONG status = standIn.Open(HKEY_CURRENT_USER, trevik::JoinKeyPath(path_, root.name).c_str(), KEY_READ);
        if (status == ERROR_SUCCESS)
            status = ReadCapturedTree(standIn.Get(), root.root, captured);
        if (status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace regcapture
