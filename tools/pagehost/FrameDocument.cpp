#include "FrameDocument.h"

namespace pagehost {
namespace {

constexpr DISPID kTitleId = 1;

bool IsDocumentInterface(REFIID iid)
{
    return IsEqualIID(iid, IID_IHTMLDocument) || IsEqualIID(iid, IID_IHTMLDocument2);
}

}  // namespace

ComPtr<IDispatch> FrameDocument::Create(std::wstring title, DocumentKind kind)
{
    ComPtr<FrameDocument> document = MakeObject<FrameDocument>(std::move(title), kind);
    return ComPtr<IDispatch>::Share(document.Get());
}

FrameDocument::FrameDocument(std::wstring title, DocumentKind kind) : title_(std::move(title)), kind_(kind) {}

HRESULT FrameDocument::QueryInterface(REFIID iid, void** out)
{
    IUnknown* answer = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
        answer = static_cast<IDispatch*>(this);
    else if (kind_ == DocumentKind::Html && IsDocumentInterface(iid))
        answer = static_cast<IHTMLDocument2*>(this);
    return Answer(answer, out);
}

HRESULT FrameDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        bool isTitle = i == 0 && lstrcmpiW(names[i], L"title") == 0;
        ids[i] = isTitle ? kTitleId : DISPID_UNKNOWN;
        if (!isTitle)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT FrameDocument::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id != kTitleId || !(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return S_OK;
    VariantInit(result);
    HRESULT hr = get_title(&result->bstrVal);
    if (SUCCEEDED(hr))
        result->vt = VT_BSTR;
    return hr;
}

HRESULT FrameDocument::get_title(BSTR* title)
{
    if (!title)
        return E_POINTER;
    *title = SysAllocStringLen(title_.data(), static_cast<UINT>(title_.size()));
    return *title ? S_OK : E_OUTOFMEMORY;
}

}  // namespace pagehost
