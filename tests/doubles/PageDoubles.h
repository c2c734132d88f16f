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

namespace doubles {

using trevik::ComPtr;

// A frame's document. Script reads its "title" through IDispatch. As an HTML
// document it answers IHTMLDocument2 with its IDispatch pointer: callers of
// this double may only use the IDispatch part of that interface.
class FakeHtmlDocument : public CountedObject, public IDispatch {
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

private:
    FakeHtmlDocument(std::wstring title, bool isHtmlDocument);
    std::wstring title_;
    bool isHtmlDocument_;
};

// An embedded web browser (a frame). get_Document hands out the configured
// document, which may be none, and returns the configured code.
class FakeWebBrowser : public CountedObject, public IWebBrowser2 {
public:
    static ComPtr<FakeWebBrowser> Create(ComPtr<IDispatch> document, HRESULT documentResult = S_OK);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;

#define DOUBLES_UNUSED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
    DOUBLES_UNUSED(GetTypeInfoCount, UINT*)
    DOUBLES_UNUSED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    DOUBLES_UNUSED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    DOUBLES_UNUSED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    DOUBLES_UNUSED(GoBack)
    DOUBLES_UNUSED(GoForward)
    DOUBLES_UNUSED(GoHome)
    DOUBLES_UNUSED(GoSearch)
    DOUBLES_UNUSED(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    DOUBLES_UNUSED(Refresh)
    DOUBLES_UNUSED(Refresh2, VARIANT*)
    DOUBLES_UNUSED(Stop)
    DOUBLES_UNUSED(get_Application, IDispatch**)
    DOUBLES_UNUSED(get_Parent, IDispatch**)
    DOUBLES_UNUSED(get_Container, IDispatch**)
    DOUBLES_UNUSED(get_TopLevelContainer, VARIANT_BOOL*)
    DOUBLES_UNUSED(get_Type, BSTR*)
    DOUBLES_UNUSED(get_Left, LONG*)
    DOUBLES_UNUSED(put_Left, LONG)
    DOUBLES_UNUSED(get_Top, LONG*)
    DOUBLES_UNUSED(put_Top, LONG)
    DOUBLES_UNUSED(get_Width, LONG*)
    DOUBLES_UNUSED(put_Width, LONG)
    DOUBLES_UNUSED(get_Height, LONG*)
    DOUBLES_UNUSED(put_Height, LONG)
    DOUBLES_UNUSED(get_LocationName, BSTR*)
    DOUBLES_UNUSED(get_LocationURL, BSTR*)
    DOUBLES_UNUSED(get_Busy, VARIANT_BOOL*)
    DOUBLES_UNUSED(Quit)
    DOUBLES_UNUSED(ClientToWindow, int*, int*)
    DOUBLES_UNUSED(PutProperty, BSTR, VARIANT)
    DOUBLES_UNUSED(GetProperty, BSTR, VARIANT*)
    DOUBLES_UNUSED(get_Name, BSTR*)
    DOUBLES_UNUSED(get_HWND, SHANDLE_PTR*)
    DOUBLES_UNUSED(get_FullName, BSTR*)
    DOUBLES_UNUSED(get_Path, BSTR*)
    DOUBLES_UNUSED(get_Visible, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_Visible, VARIANT_BOOL)
    DOUBLES_UNUSED(get_StatusBar, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_StatusBar, VARIANT_BOOL)
    DOUBLES_UNUSED(get_StatusText, BSTR*)
    DOUBLES_UNUSED(put_StatusText, BSTR)
    DOUBLES_UNUSED(get_ToolBar, int*)
    DOUBLES_UNUSED(put_ToolBar, int)
    DOUBLES_UNUSED(get_MenuBar, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_MenuBar, VARIANT_BOOL)
    DOUBLES_UNUSED(get_FullScreen, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_FullScreen, VARIANT_BOOL)
    DOUBLES_UNUSED(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    DOUBLES_UNUSED(QueryStatusWB, OLECMDID, OLECMDF*)
    DOUBLES_UNUSED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    DOUBLES_UNUSED(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*)
    DOUBLES_UNUSED(get_ReadyState, READYSTATE*)
    DOUBLES_UNUSED(get_Offline, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_Offline, VARIANT_BOOL)
    DOUBLES_UNUSED(get_Silent, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_Silent, VARIANT_BOOL)
    DOUBLES_UNUSED(get_RegisterAsBrowser, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_RegisterAsBrowser, VARIANT_BOOL)
    DOUBLES_UNUSED(get_RegisterAsDropTarget, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_RegisterAsDropTarget, VARIANT_BOOL)
    DOUBLES_UNUSED(get_TheaterMode, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_TheaterMode, VARIANT_BOOL)
    DOUBLES_UNUSED(get_AddressBar, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_AddressBar, VARIANT_BOOL)
    DOUBLES_UNUSED(get_Resizable, VARIANT_BOOL*)
    DOUBLES_UNUSED(put_Resizable, VARIANT_BOOL)
#undef DOUBLES_UNUSED

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
