#include "PageDocument.h"

#include <new>

#include "BrowserFrame.h"
#include "EmbeddedControl.h"

namespace pagehost {

void PageDocument::AddFrame(ComPtr<IDispatch> document)
{
    ComPtr<BrowserFrame> frame = MakeObject<BrowserFrame>(std::move(document));
    embedded_.push_back(ComPtr<IUnknown>::Share(frame.Get()));
}

void PageDocument::AddControl()
{
    ComPtr<EmbeddedControl> control = MakeObject<EmbeddedControl>();
    embedded_.push_back(ComPtr<IUnknown>::Share(control.Get()));
}

HRESULT PageDocument::QueryInterface(REFIID iid, void** out)
{
    IUnknown* answer = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
        answer = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IOleContainer) || IsEqualIID(iid, IID_IParseDisplayName))
        answer = static_cast<IOleContainer*>(this);
    return Answer(answer, out);
}

HRESULT PageDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT PageDocument::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT PageDocument::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT PageDocument::EnumObjects(DWORD, IEnumUnknown** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    try {
        *enumerator = MakeObject<EmbeddedObjectEnumerator>(embedded_, 0).Detach();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT PageDocument::LockContainer(BOOL)
{
    return S_OK;
}

}  // namespace pagehost
