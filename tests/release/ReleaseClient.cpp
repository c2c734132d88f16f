// A client built from the release alone: its header, its type library, its
// C++ sample and its registered library. It loads trevik.tlb, then hands a
// page of the sample page server to the sample's PrintFrameTitles, which
// calls getFrames and reads the frame titles early-bound.
//   release-client TLB
#define wmain SampleMain  // the sample's own main, which opens a browser, is not used
#include "client.cpp"
#undef wmain

namespace {

const IID kNoInterface = {};

// A late-bound call of the sample page's method or property `name`.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* argument, VARIANT* result)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(kNoInterface, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        return hr;
    DISPPARAMS parameters = {argument, nullptr, argument ? 1u : 0u, 0};
    return object->Invoke(id, kNoInterface, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr, nullptr);
}

HRESULT AddFrame(IDispatch* page, const wchar_t* title)
{
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(title);
    HRESULT hr = CallByName(page, L"addFrame", DISPATCH_METHOD, &argument, nullptr);
    VariantClear(&argument);
    return hr;
}

int Fail(const wchar_t* step, HRESULT hr)
{
    std::wprintf(L"%ls failed: 0x%08lX\n", step, static_cast<unsigned long>(hr));
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    CoInitialize(nullptr);
    ITypeLib* library = nullptr;
    ITypeInfo* info = nullptr;
    HRESULT hr = LoadTypeLib(argv[1], &library);
    if (FAILED(hr))
        return Fail(L"LoadTypeLib", hr);
    hr = library->GetTypeInfoOfGuid(IID_IZuTrevikHelper, &info);
    if (FAILED(hr))
        return Fail(L"GetTypeInfoOfGuid", hr);
    info->Release();
    library->Release();
    std::wprintf(L"type library loads and describes IZuTrevikHelper\n");

    CLSID pageClass;
    IDispatch* page = nullptr;
    IZuTrevikHelper* helper = nullptr;
    if (FAILED(hr = CLSIDFromProgID(L"trevik.SamplePage", &pageClass)) ||
        FAILED(hr = CoCreateInstance(pageClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(&page))) ||
        FAILED(hr = AddFrame(page, L"News")) || FAILED(hr = AddFrame(page, L"Weather")))
        return Fail(L"building the page", hr);
    VARIANT document;
    VariantInit(&document);
    if (FAILED(hr = CallByName(page, L"document", DISPATCH_PROPERTYGET, nullptr, &document)))
        return Fail(L"reading the page's document", hr);
    if (FAILED(hr = CoCreateInstance(CLSID_ZuTrevikHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IZuTrevikHelper,
                                     reinterpret_cast<void**>(&helper))))
        return Fail(L"creating the helper", hr);

    if (FAILED(hr = PrintFrameTitles(helper, document.pdispVal)))
        return Fail(L"getFrames", hr);
    VariantClear(&document);
    helper->Release();
    page->Release();
    CoUninitialize();
    return 0;
}
