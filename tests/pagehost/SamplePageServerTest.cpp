// The sample page server as a script host uses it: loaded with LoadLibrary, a
// page made through its class factory and built late-bound, then its
// document, enumerators, frames and frame documents called through their own
// interface tables.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "dll/LoadedLibrary.h"
#include "platform/ComPtr.h"
#include "support/BuildPaths.h"
#include "tools/pagehost/SamplePage.h"

using trevik::ComPtr;

namespace {

constexpr int kEnumerations = 100000;
// Far below what keeping anything per enumeration would grow by.
constexpr SIZE_T kPrivateGrowthBound = 2 * 1024 * 1024;

// Takes over a string the callee allocated.
std::wstring TakeText(BSTR text)
{
    std::wstring copy(text ? text : L"", SysStringLen(text));
    SysFreeString(text);
    return copy;
}

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* result,
                   const wchar_t* argument = nullptr)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    VARIANT text;
    VariantInit(&text);
    DISPPARAMS parameters = {nullptr, nullptr, 0, 0};
    if (argument) {
        text.vt = VT_BSTR;
        text.bstrVal = SysAllocString(argument);
        parameters = {&text, nullptr, 1, 0};
    }
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr, nullptr);
    VariantClear(&text);
    return hr;
}

// What script reads as document.title.
std::wstring LateBoundTitle(IDispatch* document)
{
    VARIANT title;
    VariantInit(&title);
    EXPECT_EQ(S_OK, CallByName(document, L"title", DISPATCH_PROPERTYGET, &title));
    EXPECT_EQ(VT_BSTR, title.vt);
    return title.vt == VT_BSTR ? TakeText(title.bstrVal) : std::wstring();
}

ComPtr<IDispatch> DocumentOf(IUnknown* frame)
{
    ComPtr<IWebBrowser2> browser;
    ComPtr<IDispatch> document;
    EXPECT_EQ(S_OK, browser.QueryFrom(frame, IID_IWebBrowser2));
    if (browser) {
        EXPECT_EQ(S_OK, browser->get_Document(document.Receive()));
    }
    return document;
}

// Every object an enumerator hands out, in order.
std::vector<ComPtr<IUnknown>> Drain(IEnumUnknown* enumerator)
{
    std::vector<ComPtr<IUnknown>> objects;
    ComPtr<IUnknown> object;
    while (enumerator->Next(1, object.Receive(), nullptr) == S_OK)
        objects.push_back(object);
    return objects;
}

std::vector<ComPtr<IUnknown>> EmbeddedObjects(IOleContainer* container)
{
    ComPtr<IEnumUnknown> enumerator;
    EXPECT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, enumerator.Receive()));
    return enumerator ? Drain(enumerator.Get()) : std::vector<ComPtr<IUnknown>>();
}

// The process's committed private memory, summed over its address space
// (Wine reports no PrivateUsage in the process memory counters).
SIZE_T PrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const BYTE* address = nullptr; VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    return total;
}

class SamplePageServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.IsLoaded());
        CLSID clsid;
        ASSERT_EQ(S_OK, CLSIDFromString(pagehost::kSamplePageClsidText, &clsid));
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, library.GetClassObject(clsid, IID_IClassFactory, factory.ReceiveVoid()));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, page.ReceiveVoid()));
    }

    void Add(const wchar_t* member, const wchar_t* title = nullptr)
    {
        VARIANT ignored;
        VariantInit(&ignored);
        ASSERT_EQ(S_OK, CallByName(page.Get(), member, DISPATCH_METHOD, &ignored, title));
    }

    // The page's document as getFrames takes it.
    ComPtr<IOleContainer> Container()
    {
        VARIANT document;
        VariantInit(&document);
        EXPECT_EQ(S_OK, CallByName(page.Get(), L"document", DISPATCH_PROPERTYGET, &document));
        ComPtr<IOleContainer> container;
        if (document.vt == VT_DISPATCH) {
            EXPECT_EQ(S_OK, container.QueryFrom(document.pdispVal, IID_IOleContainer));
        }
        VariantClear(&document);
        return container;
    }

    dlltest::LoadedLibrary library{testsupport::WindowsPath(TREVIK_PAGEHOST_PATH)};
    ComPtr<IDispatch> page;
};

TEST_F(SamplePageServerTest, ObjectsOfAReleasedPageKeepTheServerLoadedAndWorking)
{
    Add(L"addFrame", L"Weather");
    ComPtr<IOleContainer> container = Container();
    ComPtr<IEnumUnknown> enumerator;
    ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, enumerator.Receive()));
    std::vector<ComPtr<IUnknown>> frames = Drain(enumerator.Get());
    ASSERT_EQ(1u, frames.size());
    ComPtr<IDispatch> frameDocument = DocumentOf(frames[0].Get());
    ASSERT_TRUE(frameDocument);
    page.Reset();

    EXPECT_EQ(L"Weather", LateBoundTitle(frameDocument.Get()));
    EXPECT_EQ(1u, EmbeddedObjects(container.Get()).size());
    EXPECT_EQ(S_OK, enumerator->Reset());
    EXPECT_EQ(1u, Drain(enumerator.Get()).size());

    std::vector<ComPtr<IUnknown>> held = {ComPtr<IUnknown>::Share(container.Get()),
                                          ComPtr<IUnknown>::Share(enumerator.Get()), frames[0],
                                          ComPtr<IUnknown>::Share(frameDocument.Get())};
    container.Reset();
    enumerator.Reset();
    frames.clear();
    frameDocument.Reset();
    for (ComPtr<IUnknown>& object : held) {
        EXPECT_EQ(S_FALSE, library.CanUnloadNow());
        object.Reset();
    }
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

TEST_F(SamplePageServerTest, EnumeratingThePageKeepsNothingPerCall)
{
    Add(L"addFrame", L"News");
    Add(L"addControl");
    Add(L"addFrame", L"Sport");
    ComPtr<IOleContainer> container = Container();
    EmbeddedObjects(container.Get());
    SIZE_T before = PrivateBytes();
    ASSERT_NE(0u, before);

    for (int i = 0; i < kEnumerations; ++i)
        EmbeddedObjects(container.Get());

    EXPECT_LT(PrivateBytes(), before + kPrivateGrowthBound);
}

TEST_F(SamplePageServerTest, EarlyBoundCallsReachTheMethodsOfEachEmbeddedObject)
{
    Add(L"addFrame", L"Weather");
    Add(L"addPlainFrame", L"Plain text");
    Add(L"addFrameWithoutDocument");
    Add(L"addControl");
    struct Expected {
        bool isFrame;
        const wchar_t* documentTitle;  // null: no document
        bool isHtml;
    };
    const Expected expected[] = {
        {true, L"Weather", true},
        {true, L"Plain text", false},
        {true, nullptr, false},
        {false, nullptr, false},
    };
    std::vector<ComPtr<IUnknown>> embedded = EmbeddedObjects(Container().Get());
    ASSERT_EQ(std::size(expected), embedded.size());

    for (size_t i = 0; i < embedded.size(); ++i) {
        SCOPED_TRACE(i);
        ComPtr<IWebBrowser2> browser;
        ASSERT_EQ(expected[i].isFrame ? S_OK : E_NOINTERFACE, browser.QueryFrom(embedded[i].Get(), IID_IWebBrowser2));
        if (!browser)
            continue;
        BSTR location = nullptr;
        EXPECT_EQ(E_NOTIMPL, browser->get_LocationURL(&location));
        ComPtr<IDispatch> document;
        ASSERT_EQ(S_OK, browser->get_Document(document.Receive()));
        ASSERT_EQ(expected[i].documentTitle != nullptr, static_cast<bool>(document));
        if (!document)
            continue;
        EXPECT_EQ(expected[i].documentTitle, LateBoundTitle(document.Get()));

        ComPtr<IHTMLDocument2> html;
        ASSERT_EQ(expected[i].isHtml ? S_OK : E_NOINTERFACE, html.QueryFrom(document.Get(), IID_IHTMLDocument2));
        if (!html)
            continue;
        BSTR title = nullptr;
        ASSERT_EQ(S_OK, html->get_title(&title));
        EXPECT_EQ(expected[i].documentTitle, TakeText(title));
        IHTMLElement* body = nullptr;
        EXPECT_EQ(E_NOTIMPL, html->get_body(&body));
    }
}

TEST_F(SamplePageServerTest, EnumeratorSkipsResetsAndClonesAtItsPosition)
{
    for (const wchar_t* title : {L"one", L"two", L"three"})
        Add(L"addFrame", title);
    ComPtr<IEnumUnknown> enumerator;
    ASSERT_EQ(S_OK, Container()->EnumObjects(OLECONTF_EMBEDDINGS, enumerator.Receive()));

    EXPECT_EQ(S_OK, enumerator->Skip(1));
    ComPtr<IEnumUnknown> clone;
    ASSERT_EQ(S_OK, enumerator->Clone(clone.Receive()));
    IUnknown* table[4] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, enumerator->Next(4, table, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(L"two", LateBoundTitle(DocumentOf(table[0]).Get()));
    for (ULONG i = 0; i < fetched; ++i)
        table[i]->Release();

    std::vector<ComPtr<IUnknown>> fromClone = Drain(clone.Get());
    ASSERT_EQ(2u, fromClone.size());
    EXPECT_EQ(L"two", LateBoundTitle(DocumentOf(fromClone[0].Get()).Get()));
    EXPECT_EQ(S_FALSE, clone->Skip(1));
    EXPECT_EQ(S_OK, clone->Reset());
    EXPECT_EQ(3u, Drain(clone.Get()).size());
}

}  // namespace
