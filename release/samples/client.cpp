// A C++ client of trevik.dll that binds early: it creates ZuTrevikHelper
// through the registered class, calls IZuTrevikHelper::getFrames through the
// interface's table and prints the title of every frame document.
//
//   x86_64-w64-mingw32-g++ -municode -I include samples/client.cpp -o client.exe -lole32 -loleaut32 -luuid
//   (or: cl /I include samples\client.cpp ole32.lib oleaut32.lib uuid.lib)
//
// PrintFrameTitles takes any page's document object; main takes the document
// of the page that URL opens in a browser window.
#include <initguid.h>  // defines the identifiers of trevik.h in this file

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cstdio>
#include <cwchar>

#include "trevik.h"

// Prints what getFrames returns for `document`; the HRESULT of the call.
HRESULT PrintFrameTitles(IZuTrevikHelper* helper, IDispatch* document)
{
    VARIANT frames;
    VariantInit(&frames);
    HRESULT hr = helper->getFrames(document, &frames);
    if (FAILED(hr))
        return hr;
    LONG last = -1;
    SafeArrayGetUBound(frames.parray, 1, &last);
    std::wprintf(L"%ld embedded objects:\n", last + 1);
    for (LONG i = 0; i <= last; ++i) {
        VARIANT element;
        VariantInit(&element);
        SafeArrayGetElement(frames.parray, &i, &element);
        IHTMLDocument2* frameDocument = nullptr;
        BSTR title = nullptr;
        if (element.vt == VT_DISPATCH && element.pdispVal &&
            SUCCEEDED(element.pdispVal->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&frameDocument)))) {
            frameDocument->get_title(&title);
            frameDocument->Release();
        }
        std::wprintf(L"  %ls\n", title ? title : L"(not a frame with an HTML document)");
        SysFreeString(title);
        VariantClear(&element);
    }
    VariantClear(&frames);
    return S_OK;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: client URL\n");
        return 2;
    }
    CoInitialize(nullptr);
    HRESULT hr;
    IZuTrevikHelper* helper = nullptr;
    IWebBrowser2* browser = nullptr;
    IDispatch* document = nullptr;
    hr = CoCreateInstance(CLSID_ZuTrevikHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IZuTrevikHelper,
                          reinterpret_cast<void**>(&helper));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER, IID_IWebBrowser2,
                              reinterpret_cast<void**>(&browser));
    if (SUCCEEDED(hr)) {
        BSTR url = SysAllocString(argv[1]);
        VARIANT none;
        VariantInit(&none);
        hr = browser->Navigate(url, &none, &none, &none, &none);
        SysFreeString(url);
        READYSTATE state = READYSTATE_UNINITIALIZED;
        VARIANT_BOOL busy = VARIANT_TRUE;
        while (SUCCEEDED(hr) && (state != READYSTATE_COMPLETE || busy)) {
            Sleep(100);
            browser->get_ReadyState(&state);
            browser->get_Busy(&busy);
        }
    }
    if (SUCCEEDED(hr))
        hr = browser->get_Document(&document);
    if (SUCCEEDED(hr))
        hr = PrintFrameTitles(helper, document);
    if (FAILED(hr))
        std::fwprintf(stderr, L"failed: 0x%08lX\n", static_cast<unsigned long>(hr));
    if (document)
        document->Release();
    if (browser) {
        browser->Quit();
        browser->Release();
    }
    if (helper)
        helper->Release();
    CoUninitialize();
    return FAILED(hr) ? 1 : 0;
}
