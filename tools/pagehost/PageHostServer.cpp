// The in-process server of the sample page: a class factory, the unload
// check and a registration that writes the class under HKEY_CLASSES_ROOT.
#include <windows.h>
#include <ole2.h>

#include <new>
#include <string>

#include "ModuleLock.h"
#include "SamplePage.h"

namespace {

HMODULE thisModule = nullptr;

// One static factory for the process; it does not count references.
class SamplePageFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out)
            *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return pagehost::SamplePage::Create(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            pagehost::LockModule();
        else
            pagehost::UnlockModule();
        return S_OK;
    }
};

SamplePageFactory factory;

LONG SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    return RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        thisModule = instance;
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, pagehost::CLSID_SamplePage))
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow()
{
    return pagehost::ModuleIsLocked() ? S_FALSE : S_OK;
}

namespace {

HRESULT RegisterSamplePage()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(thisModule, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return E_FAIL;
    const std::wstring classKey = std::wstring(L"CLSID\\") + pagehost::kSamplePageClsidText;
    const std::wstring progIdKey = pagehost::kSamplePageProgId;
    LONG results[] = {
        SetText(HKEY_CLASSES_ROOT, classKey, nullptr, L"trevik sample page"),
        SetText(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, progIdKey),
        SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, path),
        SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
        SetText(HKEY_CLASSES_ROOT, progIdKey, nullptr, L"trevik sample page"),
        SetText(HKEY_CLASSES_ROOT, progIdKey + L"\\CLSID", nullptr, pagehost::kSamplePageClsidText),
    };
    for (LONG result : results)
        if (result != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(result);
    return S_OK;
}

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer()
{
    try {
        return RegisterSamplePage();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    wchar_t classKey[64] = L"CLSID\\";
    lstrcatW(classKey, pagehost::kSamplePageClsidText);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, pagehost::kSamplePageProgId);
    return S_OK;
}
