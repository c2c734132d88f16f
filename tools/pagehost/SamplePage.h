// "trevik.SamplePage": a page that script builds frame by frame and hands to
// getFrames. It stands in for a browser's document object in the demo and in
// the script-host tests.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "doubles/PageDoubles.h"

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
class SamplePage : public doubles::CountedObject, public IDispatch {
public:
    static HRESULT Create(REFIID iid, void** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    DOUBLES_IUNKNOWN_METHODS()
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argumentError) override;

private:
    SamplePage();
    // Invoke's work; running out of memory throws std::bad_alloc.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, UINT* argumentError);
    ~SamplePage() override;
    doubles::ComPtr<doubles::FakePage> page_;
};

// Instances alive in this process; DllCanUnloadNow answers from it.
LONG LiveObjects();

}  // namespace pagehost
