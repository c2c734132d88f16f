#include "BrowserFrame.h"

namespace pagehost {
namespace {

bool IsBrowserInterface(REFIID iid)
{
    return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
           IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2);
}

}  // namespace

BrowserFrame::BrowserFrame(ComPtr<IDispatch> document) : document_(std::move(document)) {}

HRESULT BrowserFrame::QueryInterface(REFIID iid, void** out)
{
    return Answer(IsBrowserInterface(iid) ? static_cast<IWebBrowser2*>(this) : nullptr, out);
}

HRESULT BrowserFrame::get_Document(IDispatch** document)
{
    if (!document)
        return E_POINTER;
    *document = ComPtr<IDispatch>(document_).Detach();
    return S_OK;
}

}  // namespace pagehost
