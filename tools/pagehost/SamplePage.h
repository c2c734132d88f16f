// "trevik.SamplePage": a page that script builds frame by frame and hands to
// getFrames. It stands in for a browser's document object in the demo and in
// the script-host tests.
#pragma once
#include <string>

#include "PageDocument.h"
#include "ServerObject.h"

namespace pagehost {

// {4279B7B9-2302-4D2C-B5A6-16EB1F4B8C06}
extern const CLSID CLSID_SamplePage;
constexpr wchar_t kSamplePageProgId[] = L"trevik.SamplePage";
constexpr wchar_t kSamplePageClsidText[] = L"{4279B7B9-2302-4D2C-B5A6-16EB1F4B8C06}";

// Late-bound only. Members, by name (any letter case):
//   addFrame(title)           a browser frame holding an HTML document
//   addPlainFrame(title)      a browser frame whose document is no HTML document
//   addFrameWithoutDocument() a browser frame with no document
//   addControl()              an embedded object that is no browser
//   document                  (property) the page's document object
class SamplePage : public ServerObject<WithoutTypeInfo<IDispatch>> {
public:
    static HRESULT Create(REFIID iid, void** out);
    SamplePage();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argumentError) override;

private:
    // Invoke's work; running out of memory throws std::bad_alloc.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argumentError);
    void Add(DISPID member, const std::wstring& title);
    ComPtr<PageDocument> document_;
};

}  // namespace pagehost
