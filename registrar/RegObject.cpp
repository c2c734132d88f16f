#include "registrar/RegObject.h"

#include <climits>
#include <memory>
#include <new>

#include "platform/HResult.h"
#include "platform/Owned.h"
#include "registrar/RegScriptParser.h"
#include "registrar/RunScript.h"

namespace trevik {
namespace {

// Scripts up to this many units are converted on the stack.
constexpr DWORD kScriptStackUnits = 512;

// The converted script: on the stack up to kScriptStackUnits units, from the
// heap beyond.
class ScriptText {
public:
    explicit ScriptText(size_t units)
    {
        if (units <= kScriptStackUnits) {
            text_ = stackText_;
        } else {
            heapText_.reset(new (std::nothrow) wchar_t[units]);
            text_ = heapText_.get();
        }
    }
    ScriptText(const ScriptText&) = delete;
    ScriptText& operator=(const ScriptText&) = delete;
    wchar_t* Get() const { return text_; }

private:
    wchar_t stackText_[kScriptStackUnits];
    std::unique_ptr<wchar_t[]> heapText_;
    wchar_t* text_ = nullptr;
};

}  // namespace

HRESULT STDMETHODCALLTYPE CRegObject::QueryInterface(REFIID, void**)
{
    return E_NOTIMPL;
}

ULONG STDMETHODCALLTYPE CRegObject::AddRef()
{
    return 1;
}

ULONG STDMETHODCALLTYPE CRegObject::Release()
{
    return 0;
}

HRESULT STDMETHODCALLTYPE CRegObject::PutReplacement(LPCOLESTR name, LPCOLESTR value)
{
    if (!name || !value)
        return E_INVALIDARG;
    return replacements_.AddPair(name, value) ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CRegObject::ResetReplacements()
{
    replacements_.ClearAll();
    return S_OK;
}

HRESULT CRegObject::RunScriptResource(LPCWSTR modulePath, LPCWSTR resourceName, LPCWSTR resourceType,
                                      bool registering)
{
    CRegScriptParser parser(replacements_, perUserClasses_);
    ModuleHandle module(LoadLibraryExW(modulePath, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module.Get())
        return HResultFromLastError();
    HRSRC resource = FindResourceW(module.Get(), resourceName, resourceType);
    if (!resource)
        return HResultFromLastError();
    HGLOBAL loaded = LoadResource(module.Get(), resource);
    if (!loaded)
        return HResultFromLastError();

    DWORD bytes = SizeofResource(module.Get(), resource);
    if (bytes >= static_cast<DWORD>(INT_MAX))
        return E_OUTOFMEMORY;
    ScriptText script(static_cast<size_t>(bytes) + 1);
    if (!script.Get())
        return E_OUTOFMEMORY;
    int units = MultiByteToWideChar(CP_THREAD_ACP, 0, static_cast<LPCSTR>(LockResource(loaded)),
                                    static_cast<int>(bytes), script.Get(), static_cast<int>(bytes));
    if (units == 0)
        return HResultFromLastError();
    script.Get()[units] = L'\0';
    return RunScript(parser, script.Get(), registering, journal_);
}

}  // namespace trevik
