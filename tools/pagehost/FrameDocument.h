// The document loaded in a frame. An HTML document serves IHTMLDocument2 (its
// title; the rest of the table answers E_NOTIMPL); a document of another kind
// serves IDispatch alone. Script reads "title" from either.
#pragma once
#include <string>

#include "HtmlDocumentBase.h"
#include "ServerObject.h"

namespace pagehost {

enum class DocumentKind { Html, Other };

class FrameDocument : public ServerObject<WithoutTypeInfo<HtmlDocumentBase>> {
public:
    // Throws std::bad_alloc.
    static ComPtr<IDispatch> Create(std::wstring title, DocumentKind kind);
    FrameDocument(std::wstring title, DocumentKind kind);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* title) override;

private:
    std::wstring title_;
    DocumentKind kind_;
};

}  // namespace pagehost
