#include "frames/CollectFrameDocuments.h"

#include <exdisp.h>
#include <mshtml.h>
#include <ole2.h>

#include <algorithm>

#include "platform/ComPtr.h"
#include "platform/Owned.h"
#include "platform/SafeArrayCalls.h"

namespace trevik {
namespace {

// The objects of the one enumeration, taken in a short first batch and, only
// when that batch comes back full, a second batch up to the table's size:
// each batch clears just its part of the table first, so a page of a few
// objects pays for a short table. Every fetched reference is released when
// the table goes out of scope.
class FetchedObjects {
public:
    FetchedObjects() = default;
    FetchedObjects(const FetchedObjects&) = delete;
    FetchedObjects& operator=(const FetchedObjects&) = delete;
    ~FetchedObjects()
    {
        for (ULONG i = 0; i < count_; ++i)
            if (objects_[i])
                objects_[i]->Release();
    }

    void FetchFrom(IEnumUnknown* enumerator)
    {
        count_ = FetchBatch(enumerator, 0, kFirstEnumerationBatch);
        if (count_ == kFirstEnumerationBatch)
            count_ += FetchBatch(enumerator, count_, kMaxEmbeddedObjects - count_);
    }

    ULONG Count() const { return count_; }
    IUnknown* At(ULONG index) const { return objects_[index]; }

private:
    // One Next call into `size` cleared slots from `first`; an enumerator
    // that claims more than it was asked for is taken at `size`, and the
    // slots it did not fill read as null.
    ULONG FetchBatch(IEnumUnknown* enumerator, ULONG first, ULONG size)
    {
        std::fill_n(objects_ + first, size, nullptr);
        ULONG fetched = 0;
        enumerator->Next(size, objects_ + first, &fetched);
        return std::min(fetched, size);
    }

    // Cleared batch by batch, never beyond what a batch may fill.
    IUnknown* objects_[kMaxEmbeddedObjects];
    ULONG count_ = 0;
};

ComPtr<IEnumUnknown> EnumerateEmbeddings(IOleContainer* container)
{
    ComPtr<IEnumUnknown> enumerator;
    // Only the enumerator counts: a failed call that hands one out anyway is
    // still walked, and a success without one ends the walk.
    container->EnumObjects(OLECONTF_EMBEDDINGS, enumerator.Receive());
    return enumerator;
}

// The HTML document loaded in an embedded object, when it is a web browser
// that has one.
ComPtr<IHTMLDocument2> FrameDocumentOf(IUnknown* embedded)
{
    ComPtr<IHTMLDocument2> htmlDocument;
    ComPtr<IWebBrowser2> browser;
    if (!embedded || FAILED(browser.QueryFrom(embedded, IID_IWebBrowser2)))
        return htmlDocument;
    ComPtr<IDispatch> document;
    browser->get_Document(document.Receive());
    if (document)
        htmlDocument.QueryFrom(document.Get(), IID_IHTMLDocument2);
    return htmlDocument;
}

HRESULT StoreDocument(SAFEARRAY* array, LONG index, IHTMLDocument2* document)
{
    // The array copies the element and keeps a reference of its own.
    VARIANT element = {};
    element.vt = VT_DISPATCH;
    element.pdispVal = document;
    return PutArrayElement(array, index, &element);
}

}  // namespace

HRESULT CollectFrameDocuments(IDispatch* pageDocument, VARIANT* result)
{
    if (!result)
        return E_POINTER;
    if (!pageDocument)
        return E_INVALIDARG;

    ComPtr<IOleContainer> container;
    if (FAILED(container.QueryFrom(pageDocument, IID_IOleContainer)))
        return E_FAIL;
    ComPtr<IEnumUnknown> enumerator = EnumerateEmbeddings(container.Get());
    container.Reset();
    if (!enumerator)
        return S_OK;

    FetchedObjects embedded;
    embedded.FetchFrom(enumerator.Get());

    // Destroyed on every path unless it is handed to the caller.
    SafeArrayHandle documents(CreateVariantArray(embedded.Count()));
    if (!documents.Get())
        return E_OUTOFMEMORY;

    LONG stored = 0;
    for (ULONG i = 0; i < embedded.Count(); ++i) {
        ComPtr<IHTMLDocument2> document = FrameDocumentOf(embedded.At(i));
        if (!document)
            continue;
        HRESULT hr = StoreDocument(documents.Get(), stored, document.Get());
        if (FAILED(hr)) {
            VariantInit(result);
            return hr;
        }
        ++stored;
    }

    result->vt = VT_ARRAY | VT_VARIANT;
    result->parray = documents.ReleaseOwnership();
    return S_OK;
}

}  // namespace trevik
