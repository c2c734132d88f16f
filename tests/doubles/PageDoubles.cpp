#include "doubles/PageDoubles.h"

#include <algorithm>

namespace doubles {

constexpr DISPID kTitleId = 1;

// FakeHtmlDocument

FakeHtmlDocument::FakeHtmlDocument(std::wstring title, bool isHtmlDocument)
    : title_(std::move(title)), isHtmlDocument_(isHtmlDocument)
{
}

ComPtr<FakeHtmlDocument> FakeHtmlDocument::Create(std::wstring title, bool isHtmlDocument)
{
    return ComPtr<FakeHtmlDocument>::Share(new FakeHtmlDocument(std::move(title), isHtmlDocument));
}

HRESULT FakeHtmlDocument::QueryInterface(REFIID iid, void** out)
{
    static const IID* const kHtml[] = {&IID_IDispatch, &IID_IHTMLDocument2, nullptr};
    static const IID* const kPlain[] = {&IID_IDispatch, nullptr};
    return AnswerQuery(static_cast<IDispatch*>(this), iid, out, isHtmlDocument_ ? kHtml : kPlain);
}

HRESULT FakeHtmlDocument::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FakeHtmlDocument::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT FakeHtmlDocument::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        bool isTitle = lstrcmpiW(names[i], L"title") == 0;
        ids[i] = isTitle ? kTitleId : DISPID_UNKNOWN;
        if (!isTitle)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT FakeHtmlDocument::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*)
{
    if (id != kTitleId)
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return E_POINTER;
    VariantInit(result);
    HRESULT hr = get_title(&result->bstrVal);
    if (SUCCEEDED(hr))
        result->vt = VT_BSTR;
    return hr;
}

HRESULT FakeHtmlDocument::get_title(BSTR* title)
{
    if (!title)
        return E_POINTER;
    *title = SysAllocString(title_.c_str());
    return *title ? S_OK : E_OUTOFMEMORY;
}

// FakeWebBrowser

FakeWebBrowser::FakeWebBrowser(ComPtr<IDispatch> document, HRESULT documentResult)
    : document_(std::move(document)), documentResult_(documentResult)
{
}

ComPtr<FakeWebBrowser> FakeWebBrowser::Create(ComPtr<IDispatch> document, HRESULT documentResult)
{
    return ComPtr<FakeWebBrowser>::Share(new FakeWebBrowser(std::move(document), documentResult));
}

HRESULT FakeWebBrowser::QueryInterface(REFIID iid, void** out)
{
    static const IID* const kAnswered[] = {&IID_IDispatch, &IID_IWebBrowser, &IID_IWebBrowserApp,
                                           &IID_IWebBrowser2, nullptr};
    return AnswerQuery(static_cast<IWebBrowser2*>(this), iid, out, kAnswered);
}

HRESULT FakeWebBrowser::get_Document(IDispatch** document)
{
    if (!document)
        return E_POINTER;
    *document = ComPtr<IDispatch>(document_).Detach();
    return documentResult_;
}

// FakeControl

ComPtr<FakeControl> FakeControl::Create()
{
    return ComPtr<FakeControl>::Share(new FakeControl());
}

HRESULT FakeControl::QueryInterface(REFIID iid, void** out)
{
    static const IID* const kAnswered[] = {nullptr};
    return AnswerQuery(this, iid, out, kAnswered);
}

// FakeEnumerator

FakeEnumerator::FakeEnumerator(std::vector<ComPtr<IUnknown>> objects, EnumeratorBehaviour behaviour)
    : objects_(std::move(objects)), behaviour_(behaviour)
{
}

ComPtr<FakeEnumerator> FakeEnumerator::Create(std::vector<ComPtr<IUnknown>> objects, EnumeratorBehaviour behaviour)
{
    return ComPtr<FakeEnumerator>::Share(new FakeEnumerator(std::move(objects), behaviour));
}

HRESULT FakeEnumerator::QueryInterface(REFIID iid, void** out)
{
    static const IID* const kAnswered[] = {&IID_IEnumUnknown, nullptr};
    return AnswerQuery(this, iid, out, kAnswered);
}

HRESULT FakeEnumerator::Next(ULONG wanted, IUnknown** table, ULONG* fetched)
{
    ULONG handedOut = 0;
    while (handedOut < wanted && next_ < objects_.size())
        table[handedOut++] = ComPtr<IUnknown>(objects_[next_++]).Detach();
    if (fetched)
        *fetched = behaviour_.claimedCount ? behaviour_.claimedCount : handedOut;
    return handedOut == wanted ? S_OK : S_FALSE;
}

HRESULT FakeEnumerator::Skip(ULONG count)
{
    next_ = std::min(objects_.size(), next_ + count);
    return next_ < objects_.size() ? S_OK : S_FALSE;
}

HRESULT FakeEnumerator::Reset()
{
    next_ = 0;
    return S_OK;
}

HRESULT FakeEnumerator::Clone(IEnumUnknown** clone)
{
    if (clone)
        *clone = nullptr;
    return E_NOTIMPL;
}

// FakePage

ComPtr<FakePage> FakePage::Create()
{
    ComPtr<FakePage> page = ComPtr<FakePage>::Share(new FakePage());
    page->counted_.push_back(page.Get());
    return page;
}

ComPtr<FakeHtmlDocument> FakePage::AddFrame(const std::wstring& title)
{
    ComPtr<FakeHtmlDocument> document = FakeHtmlDocument::Create(title);
    AddFrameWithDocument(document);
    return document;
}

ComPtr<FakeWebBrowser> FakePage::AddFrameWithDocument(ComPtr<FakeHtmlDocument> document, HRESULT documentResult)
{
    if (document)
        counted_.push_back(document.Get());
    ComPtr<FakeWebBrowser> browser =
        FakeWebBrowser::Create(ComPtr<IDispatch>::Share(document.Get()), documentResult);
    embedded_.push_back(ComPtr<IUnknown>::Share(static_cast<IWebBrowser2*>(browser.Get())));
    counted_.push_back(browser.Get());
    return browser;
}

ComPtr<FakeWebBrowser> FakePage::AddFrameWithoutDocument()
{
    return AddFrameWithDocument(ComPtr<FakeHtmlDocument>());
}

ComPtr<FakeControl> FakePage::AddControl()
{
    ComPtr<FakeControl> control = FakeControl::Create();
    embedded_.push_back(ComPtr<IUnknown>::Share(control.Get()));
    counted_.push_back(control.Get());
    return control;
}

void FakePage::AddNullObject()
{
    embedded_.emplace_back();
}

std::vector<LONG> FakePage::RefCounts() const
{
    std::vector<LONG> counts;
    for (const CountedObject* object : counted_)
        counts.push_back(object->RefCount());
    return counts;
}

HRESULT FakePage::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
        *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IOleContainer) || IsEqualIID(iid, IID_IParseDisplayName))
        *out = static_cast<IOleContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT FakePage::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT FakePage::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT FakePage::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return DISP_E_UNKNOWNNAME;
}

HRESULT FakePage::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT FakePage::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT FakePage::EnumObjects(DWORD, IEnumUnknown** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    if (enumeration_ == Enumeration::NoEnumerator)
        return S_OK;
    ComPtr<FakeEnumerator> made = FakeEnumerator::Create(embedded_, behaviour_);
    enumerators_.push_back(made);
    *enumerator = ComPtr<FakeEnumerator>(made).Detach();
    return enumeration_ == Enumeration::FailsWithEnumerator ? E_FAIL : S_OK;
}

HRESULT FakePage::LockContainer(BOOL)
{
    return S_OK;
}

}  // namespace doubles
