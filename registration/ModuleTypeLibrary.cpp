#include "registration/ModuleTypeLibrary.h"

#include <oleauto.h>

#include "platform/BString.h"
#include "platform/BoundedCopy.h"
#include "platform/ComPtr.h"
#include "platform/ModuleFileName.h"
#include "platform/TypeDescriptions.h"

namespace trevik {
namespace {

// A module path with room for a type library index such as "\\2".
constexpr size_t kTypeLibPathUnits = kMaxPathUnits + 10;

const wchar_t kTypeLibExtension[] = L".tlb";

// A type library loaded for one registration step, with the path it came from.
struct LoadedTypeLibrary {
    BString path;
    ComPtr<ITypeLib> library;
    HRESULT Load(HMODULE module, LPCOLESTR index)
    {
        return LoadModuleTypeLibrary(module, index, path.Receive(), library.Receive());
    }
};

HRESULT AppendIndex(wchar_t* path, size_t length, LPCOLESTR index)
{
    size_t indexLength = lstrlenW(index);
    size_t total = length + indexLength;
    if (total < length || total < indexLength || total >= kTypeLibPathUnits)
        return E_FAIL;
    BoundedCopy(path + length, kTypeLibPathUnits - length, index, indexLength);
    return S_OK;
}

// The per-user function of that name in the loaded Automation library; this
// never loads the library itself.
FARPROC PerUserFunction(bool perUser, const char* name)
{
    if (!perUser)
        return nullptr;
    HMODULE automation = GetModuleHandleW(L"OLEAUT32.DLL");
    return automation ? GetProcAddress(automation, name) : nullptr;
}

}  // namespace

RegisterTypeLibFunction ChooseRegisterTypeLib(bool perUser)
{
    if (FARPROC function = PerUserFunction(perUser, "RegisterTypeLibForUser"))
        return reinterpret_cast<RegisterTypeLibFunction>(reinterpret_cast<void*>(function));
    return &RegisterTypeLib;
}

UnregisterTypeLibFunction ChooseUnregisterTypeLib(bool perUser)
{
    if (FARPROC function = PerUserFunction(perUser, "UnRegisterTypeLibForUser"))
        return reinterpret_cast<UnregisterTypeLibFunction>(reinterpret_cast<void*>(function));
    return &UnRegisterTypeLib;
}

size_t ExtensionPosition(const wchar_t* path)
{
    const wchar_t* extension = nullptr;
    const wchar_t* position = path;
    for (; *position; position = CharNextW(position)) {
        if (*position == L'.')
            extension = position;
        else if (*position == L'\\')
            extension = nullptr;
    }
    return static_cast<size_t>((extension ? extension : position) - path);
}

void HelpDirectoryOf(BSTR helpFile, wchar_t* buffer, size_t capacity)
{
    BoundedCopy(buffer, capacity, helpFile, SysStringLen(helpFile));
    wchar_t* cut = buffer;
    for (wchar_t* position = buffer; *position; position = CharNextW(position)) {
        if (*position == L'\\' || *position == L'/' || *position == L':')
            cut = position + 1;
    }
    *cut = L'\0';
}

HRESULT LoadModuleTypeLibrary(HMODULE module, LPCOLESTR index, BSTR* path, ITypeLib** library)
{
    if (!path || !library)
        return E_POINTER;
    *path = nullptr;
    *library = nullptr;

    wchar_t modulePath[kTypeLibPathUnits] = {};
    HRESULT hr = ReadModuleFileName(module, modulePath);
    if (FAILED(hr))
        return hr;
    size_t length = lstrlenW(modulePath);

    size_t extension = ExtensionPosition(modulePath);
    if (index) {
        hr = AppendIndex(modulePath, length, index);
        if (FAILED(hr))
            return hr;
    }

    hr = LoadTypeLib(modulePath, library);
    if (FAILED(hr)) {
        if (extension + sizeof(kTypeLibExtension) / sizeof(wchar_t) > kMaxPathUnits)
            return E_FAIL;
        BoundedCopy(modulePath + extension, kTypeLibPathUnits - extension, kTypeLibExtension,
                    lstrlenW(kTypeLibExtension));
        hr = LoadTypeLib(modulePath, library);
        if (FAILED(hr))
            return hr;
    }

    *path = SysAllocString(modulePath);
    if (!*path) {
        // A failure hands nothing out: the library goes with it.
        (*library)->Release();
        *library = nullptr;
        return E_OUTOFMEMORY;
    }
    return hr;
}

HRESULT RegisterModuleTypeLibrary(HMODULE module, LPCOLESTR index, bool perUser)
{
    LoadedTypeLibrary loaded;
    HRESULT hr = loaded.Load(module, index);
    if (FAILED(hr))
        return hr;

    BString helpFile;
    wchar_t helpDirectory[kMaxPathUnits] = {};
    bool hasHelpDirectory =
        SUCCEEDED(loaded.library->GetDocumentation(-1, nullptr, nullptr, nullptr, helpFile.Receive())) &&
        helpFile.Get();
    if (hasHelpDirectory)
        HelpDirectoryOf(helpFile.Get(), helpDirectory, kMaxPathUnits);

    return ChooseRegisterTypeLib(perUser)(loaded.library.Get(), loaded.path.Get(),
                                   hasHelpDirectory ? helpDirectory : nullptr);
}

HRESULT UnregisterModuleTypeLibrary(HMODULE module, LPCOLESTR index, bool perUser)
{
    LoadedTypeLibrary loaded;
    HRESULT hr = loaded.Load(module, index);
    if (FAILED(hr))
        return hr;

    LibraryAttributes attributes(LibraryAttributesTraits{loaded.library.Get()});
    hr = loaded.library->GetLibAttr(attributes.Receive());
    if (FAILED(hr)) {
        attributes.ReleaseOwnership();  // a failed call hands out nothing
        return hr;
    }
    // A library that is not registered is already where unregistering
    // wants it.
    BString registeredPath;
    if (QueryPathOfRegTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                              registeredPath.Receive()) == TYPE_E_LIBNOTREGISTERED)
        return S_FALSE;
    return ChooseUnregisterTypeLib(perUser)(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, attributes->syskind);
}

}  // namespace trevik
