// A frame of the page: an embedded web browser holding its document, or none
// when it has not loaded one. It serves get_Document; the rest of the table
// answers E_NOTIMPL.
#pragma once
#include "ServerObject.h"
#include "WebBrowserBase.h"

namespace pagehost {

class BrowserFrame : public ServerObject<WebBrowserBase> {
public:
    explicit BrowserFrame(ComPtr<IDispatch> document);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;

private:
    ComPtr<IDispatch> document_;
};

}  // namespace pagehost
