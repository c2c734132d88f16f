#include "SamplePage.h"

#include <new>

#include "FrameDocument.h"

namespace pagehost {

const CLSID CLSID_SamplePage = {0x4279B7B9, 0x2302, 0x4D2C, {0xB5, 0xA6, 0x16, 0xEB, 0x1F, 0x4B, 0x8C, 0x06}};

namespace {

enum Member : DISPID { AddFrame = 1, AddPlainFrame, AddFrameWithoutDocument, AddControl, Document };

struct MemberName {
    const wchar_t* name;
    DISPID id;
    UINT arguments;
};

const MemberName kMembers[] = {
    {L"addFrame", AddFrame, 1},
    {L"addPlainFrame", AddPlainFrame, 1},
    {L"addFrameWithoutDocument", AddFrameWithoutDocument, 0},
    {L"addControl", AddControl, 0},
    {L"document", Document, 0},
};

const MemberName* FindMember(DISPID id)
{
    for (const MemberName& member : kMembers)
        if (member.id == id)
            return &member;
    return nullptr;
}

// The single text argument of a call, converted from whatever script passed.
HRESULT TextArgument(DISPPARAMS* params, std::wstring& text, UINT* argumentError)
{
    VARIANT converted;
    VariantInit(&converted);
    HRESULT hr = VariantChangeType(&converted, &params->rgvarg[0], 0, VT_BSTR);
    if (FAILED(hr)) {
        if (argumentError)
            *argumentError = 0;
        return DISP_E_TYPEMISMATCH;
    }
    text.assign(converted.bstrVal, SysStringLen(converted.bstrVal));
    VariantClear(&converted);
    return S_OK;
}

}  // namespace

SamplePage::SamplePage() : document_(MakeObject<PageDocument>()) {}

HRESULT SamplePage::Create(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    try {
        return MakeObject<SamplePage>()->QueryInterface(iid, out);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT SamplePage::QueryInterface(REFIID iid, void** out)
{
    bool served = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch);
    return Answer(served ? this : nullptr, out);
}

HRESULT SamplePage::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids)
        return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const MemberName& member : kMembers)
            if (i == 0 && lstrcmpiW(names[i], member.name) == 0)
                ids[i] = member.id;
        if (ids[i] == DISPID_UNKNOWN)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT SamplePage::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                           UINT* argumentError)
{
    try {
        return InvokeMember(id, flags, params, result, argumentError);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT SamplePage::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argumentError)
{
    const MemberName* member = FindMember(id);
    if (!member)
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_INVALIDARG;
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (params->cArgs != member->arguments)
        return DISP_E_BADPARAMCOUNT;
    if (result)
        VariantInit(result);

    if (id == Document) {
        if (!(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        if (result) {
            result->vt = VT_DISPATCH;
            result->pdispVal = ComPtr<IDispatch>::Share(document_.Get()).Detach();
        }
        return S_OK;
    }
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;

    std::wstring title;
    if (member->arguments == 1) {
        HRESULT hr = TextArgument(params, title, argumentError);
        if (FAILED(hr))
            return hr;
    }
    Add(id, title);
    return S_OK;
}

void SamplePage::Add(DISPID member, const std::wstring& title)
{
    switch (member) {
    case AddFrame:
        document_->AddFrame(FrameDocument::Create(title, DocumentKind::Html));
        break;
    case AddPlainFrame:
        document_->AddFrame(FrameDocument::Create(title, DocumentKind::Other));
        break;
    case AddFrameWithoutDocument:
        document_->AddFrame(ComPtr<IDispatch>());
        break;
    case AddControl:
        document_->AddControl();
        break;
    }
}

}  // namespace pagehost
