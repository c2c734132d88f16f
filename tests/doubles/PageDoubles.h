// Doubles of a page host's objects: a page document that is a container of
// embedded objects, its enumerator, web-browser frames, HTML documents and
// embedded objects that are no frames. Every double counts its references, so
// a test can check that a call gives back every reference it took.
#pragma once
#include <exdisp.h>
#include <mshtml.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "doubles/CountedObject.h"
#include "platform/ComPtr.h"
#include "tools/pagehost/HtmlDocumentBase.h"
#include "tools/pagehost/WebBrowserBase.h"

namespace doubles {

using trevik::ComPtr;

// A frame's document. Script reads its "title" through IDispatch. As an HTML
// document it also serves IHTMLDocument2, whose get_title gives the same
// title; the rest of that table answers E_NOTIMPL.
class FakeHtmlDocument : public CountedObject, public pagehost::HtmlDocumentBase {
public:
    static ComPtr<FakeHtmlDocument> Create(std::wstring title, bool isHtmlDocument = true);

    const std::wstring& Title() const { return title_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* title) override;

private:
    FakeHtmlDocument(std::wstring title, bool isHtmlDocument);
    std::wstring title_;
    bool isHtmlDocument_;
};

// An embedded web browser (a frame). get_Document hands out the configured
// document, which may be none, and returns the configured code.
class FakeWebBrowser : public CountedObject, public pagehost::WebBrowserBase {
public:
    static ComPtr<FakeWebBrowser> Create(ComPtr<IDispatch> document, HRESULT documentResult = S_OK);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;

private:
    FakeWebBrowser(ComPtr<IDispatch> document, HRESULT documentResult);
    ComPtr<IDispatch> document_;
    HRESULT documentResult_;
};

// An embedded object that is no web browser (a control, a plug-in).
class FakeControl : public CountedObject, public IUnknown {
public:
    static ComPtr<FakeControl> Create();
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()

private:
    FakeControl() = default;
};

// How an enumerator reports one Next call.
struct EnumeratorBehaviour {
    // Fetched count reported instead of the true one (0: report the truth).
    // A count above what was asked for models a faulty enumerator.
    ULONG claimedCount = 0;
};

class FakeEnumerator : public CountedObject, public IEnumUnknown {
public:
    static ComPtr<FakeEnumerator> Create(std::vector<ComPtr<IUnknown>> objects, EnumeratorBehaviour behaviour);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, IUnknown** table, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** clone) override;

private:
    FakeEnumerator(std::vector<ComPtr<IUnknown>> objects, EnumeratorBehaviour behaviour);
    std::vector<ComPtr<IUnknown>> objects_;
    EnumeratorBehaviour behaviour_;
    size_t next_ = 0;
};

// What the page's EnumObjects does.
enum class Enumeration {
    Normal,              // S_OK and an enumerator
    NoEnumerator,        // S_OK and no enumerator
    FailsWithEnumerator  // E_FAIL, yet an enumerator is handed out
};

// A page's document object: IDispatch and IOleContainer over its embedded
// objects, in the order they were added.
class FakePage : public CountedObject, public IDispatch, public IOleContainer {
public:
    static ComPtr<FakePage> Create();

    // Each Add returns the new embedded object; frames return their browser.
    ComPtr<FakeHtmlDocument> AddFrame(const std::wstring& title);
    ComPtr<FakeWebBrowser> AddFrameWithDocument(ComPtr<FakeHtmlDocument> document, HRESULT documentResult = S_OK);
    ComPtr<FakeWebBrowser> AddFrameWithoutDocument();
    ComPtr<FakeControl> AddControl();
    void AddNullObject();

    void SetEnumeration(Enumeration mode) { enumeration_ = mode; }
    void SetEnumeratorBehaviour(EnumeratorBehaviour behaviour) { behaviour_ = behaviour; }

    // The reference counts of the page, every embedded object and every frame
    // document, in a fixed order; equal lists mean nothing was kept.
    std::vector<LONG> RefCounts() const;
    // Enumerators handed out so far (the page keeps one reference to each).
    const std::vector<ComPtr<FakeEnumerator>>& Enumerators() const { return enumerators_; }
    // Drops the page's references to its enumerators, and so theirs to the
    // embedded objects.
    void ForgetEnumerators() { enumerators_.clear(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override;
    HRESULT STDMETHODCALLTYPE EnumObjects(DWORD flags, IEnumUnknown** enumerator) override;
    HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override;

private:
    FakePage() = default;
    std::vector<ComPtr<IUnknown>> embedded_;
    std::vector<const CountedObject*> counted_;
    Enumeration enumeration_ = Enumeration::Normal;
    EnumeratorBehaviour behaviour_;
    std::vector<ComPtr<FakeEnumerator>> enumerators_;
};

}  // namespace doubles
