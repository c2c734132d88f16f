// Measures, side by side in one run, what late binding costs a script:
//   getFrames late-bound (GetIDsOfNames from the cache, then Invoke) against
//   the early-bound call through the interface's table, on pages of 3 and
//   1024 frames; the early-bound call against the same platform calls made
//   directly in a plain loop, on a page of 3 frames (the walk's own overhead);
//   and GetIDsOfNames served by the name cache against the type information's
//   own lookup.
// Prints each ratio with its target. The late-bound call also pays the
// platform's copy of the array that getFrames returns (the type information
// copies a method's return value out for the caller and clears the original);
// each binding ratio is also shown with that copy added to the early side.
// Run it under Wine:
//   WINEPREFIX=<prefix> wine dispatch_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchTiming.h"
#include "Identifiers.h"
#include "automation/CZuTrevikHelper.h"
#include "doubles/PageDoubles.h"
#include "frames/CollectFrameDocuments.h"

using doubles::ComPtr;
using doubles::FakePage;

namespace {

using bench::Now;

// How long the works of one comparison are timed: `rounds` rounds of one
// batch each, a batch lasting about `batchSeconds`.
struct Timing {
    int rounds;
    double batchSeconds;
};

constexpr Timing kTiming = {15, 0.02};
// The walk and its own platform calls differ by a few hundredths of a
// microsecond: short batches, many of them, so that on a busy machine some
// round of each side runs without being preempted.
constexpr Timing kCloseTiming = {200, 0.002};

// Calls per batch so that one batch of `work` takes about `batchSeconds`.
int CallsPerBatch(const std::function<void()>& work, double batchSeconds)
{
    int calls = 1;
    for (;;) {
        double start = Now();
        for (int i = 0; i < calls; ++i)
            work();
        if (Now() - start >= batchSeconds || calls >= (1 << 24))
            return calls;
        calls *= 2;
    }
}

// Seconds per call of each of `works`, the best of the rounds in which the
// works take turns, one batch each.
std::vector<double> SideBySide(const std::vector<std::function<void()>>& works, Timing timing = kTiming)
{
    std::vector<int> calls;
    for (const auto& work : works)
        calls.push_back(CallsPerBatch(work, timing.batchSeconds));
    std::vector<double> best(works.size(), 1e9);
    for (int round = 0; round < timing.rounds; ++round)
        for (size_t w = 0; w < works.size(); ++w) {
            double start = Now();
            for (int i = 0; i < calls[w]; ++i)
                works[w]();
            best[w] = std::min(best[w], (Now() - start) / calls[w]);
        }
    return best;
}

bool RegisterOwnTypeLibrary()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ComPtr<ITypeLib> library;
    return SUCCEEDED(LoadTypeLib(path, library.Receive())) &&
           SUCCEEDED(RegisterTypeLib(library.Get(), path, nullptr));
}

bool Report(const char* what, double ratio, const char* relation, double target)
{
    bool met = relation[0] == '<' ? ratio <= target : ratio >= target;
    std::printf("%-58s %7.2fx  (target %s %.1fx) %s\n", what, ratio, relation, target, met ? "met" : "MISSED");
    return met;
}

bool CompareBindings(IZuTrevikHelper* helper, int frames, double target)
{
    ComPtr<FakePage> page = FakePage::Create();
    for (int i = 0; i < frames; ++i)
        page->AddFrame(L"frame");
    IDispatch* document = static_cast<IDispatch*>(page.Get());
    // Each call ends by dropping the enumerator that the page double keeps.
    auto early = [&] {
        VARIANT result;
        VariantInit(&result);
        helper->getFrames(document, &result);
        VariantClear(&result);
        page->ForgetEnumerators();
    };
    auto late = [&] {
        LPOLESTR name = const_cast<LPOLESTR>(L"getFrames");
        DISPID id = 0;
        helper->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        VARIANT argument;
        argument.vt = VT_DISPATCH;
        argument.pdispVal = document;
        DISPPARAMS parameters = {&argument, nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);
        helper->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result, nullptr, nullptr);
        VariantClear(&result);
        page->ForgetEnumerators();
    };
    // The early-bound call followed by what the platform's type information
    // does with a method's return value: copy it out for the caller, then
    // clear the method's own (a deep copy of the array).
    auto earlyWithCopy = [&] {
        VARIANT result;
        VariantInit(&result);
        helper->getFrames(document, &result);
        VARIANT reference;
        reference.vt = VT_BYREF | VT_VARIANT;
        reference.pvarVal = &result;
        VARIANT copy;
        VariantInit(&copy);
        VariantCopyInd(&copy, &reference);
        VariantClear(&result);
        VariantClear(&copy);
        page->ForgetEnumerators();
    };
    std::vector<double> seconds = SideBySide({late, early, earlyWithCopy});
    std::printf("getFrames on %4d frames: late-bound %8.2f us, early-bound %8.2f us, early-bound + copy %8.2f us\n",
                frames, seconds[0] * 1e6, seconds[1] * 1e6, seconds[2] * 1e6);
    char what[80];
    std::snprintf(what, sizeof(what), "late-bound / early-bound, %d frames", frames);
    bool met = Report(what, seconds[0] / seconds[1], "<=", target);
    std::printf("  late-bound / (early-bound + the platform's copy of the returned array): %.2fx\n", seconds[0] / seconds[2]);
    return met;
}

// getFrames' platform calls written out directly in a plain loop: the same
// array and the same references as the library's walk, without its guards
// (the table's marks and cap, null entries, ownership on every path).
void DirectFrameDocuments(IDispatch* pageDocument, VARIANT* result)
{
    IOleContainer* container = nullptr;
    if (FAILED(pageDocument->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(&container))))
        return;
    IEnumUnknown* enumerator = nullptr;
    container->EnumObjects(OLECONTF_EMBEDDINGS, &enumerator);
    container->Release();
    if (!enumerator)
        return;
    IUnknown* objects[trevik::kMaxEmbeddedObjects];
    ULONG fetched = 0;
    enumerator->Next(trevik::kMaxEmbeddedObjects, objects, &fetched);
    SAFEARRAYBOUND bound = {fetched, 0};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    LONG stored = 0;
    for (ULONG i = 0; i < fetched; ++i) {
        IWebBrowser2* browser = nullptr;
        if (SUCCEEDED(objects[i]->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))) {
            IDispatch* document = nullptr;
            browser->get_Document(&document);
            browser->Release();
            IHTMLDocument2* html = nullptr;
            if (document && SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)))) {
                VARIANT element = {};
                element.vt = VT_DISPATCH;
                element.pdispVal = html;
                SafeArrayPutElement(array, &stored, &element);
                ++stored;
                html->Release();
            }
            if (document)
                document->Release();
        }
        objects[i]->Release();
    }
    enumerator->Release();
    result->vt = VT_ARRAY | VT_VARIANT;
    result->parray = array;
}

using FramesCall = std::function<void(VARIANT*)>;

// What one call on `page` leaves: the documents of the array it returns (null
// for an empty element), and the page's reference counts once the array is
// cleared and the enumerator dropped.
struct Outcome {
    std::vector<IDispatch*> elements;
    std::vector<LONG> refCounts;
};

Outcome OutcomeOf(FakePage* page, const FramesCall& call)
{
    VARIANT result;
    VariantInit(&result);
    call(&result);
    Outcome outcome;
    LONG upper = -1;
    if (result.vt == (VT_ARRAY | VT_VARIANT))
        SafeArrayGetUBound(result.parray, 1, &upper);
    for (LONG i = 0; i <= upper; ++i) {
        VARIANT element;
        VariantInit(&element);
        SafeArrayGetElement(result.parray, &i, &element);
        outcome.elements.push_back(element.vt == VT_DISPATCH ? element.pdispVal : nullptr);
        VariantClear(&element);
    }
    VariantClear(&result);
    page->ForgetEnumerators();
    outcome.refCounts = page->RefCounts();
    return outcome;
}

// Early-bound getFrames against its platform calls made directly, once both
// are seen to return the same array and give back every reference.
bool CompareWithDirectCalls(IZuTrevikHelper* helper, int frames, double target)
{
    ComPtr<FakePage> page = FakePage::Create();
    for (int i = 0; i < frames; ++i)
        page->AddFrame(L"frame");
    IDispatch* document = static_cast<IDispatch*>(page.Get());
    FramesCall early = [&](VARIANT* result) { helper->getFrames(document, result); };
    FramesCall direct = [&](VARIANT* result) { DirectFrameDocuments(document, result); };

    std::vector<LONG> before = page->RefCounts();
    Outcome earlyOutcome = OutcomeOf(page.Get(), early);
    Outcome directOutcome = OutcomeOf(page.Get(), direct);
    if (earlyOutcome.elements != directOutcome.elements || earlyOutcome.refCounts != before ||
        directOutcome.refCounts != before) {
        std::printf("getFrames and its direct platform calls do not do the same work\n");
        return false;
    }

    auto timed = [&](const FramesCall& call) {
        return [&page, call] {
            VARIANT result;
            VariantInit(&result);
            call(&result);
            VariantClear(&result);
            page->ForgetEnumerators();
        };
    };
    std::vector<double> seconds = SideBySide({timed(early), timed(direct)}, kCloseTiming);
    std::printf("getFrames on %4d frames: early-bound %8.2f us, its platform calls made directly %8.2f us\n", frames,
                seconds[0] * 1e6, seconds[1] * 1e6);
    char what[80];
    std::snprintf(what, sizeof(what), "early-bound / direct platform calls, %d frames", frames);
    return Report(what, seconds[0] / seconds[1], "<=", target);
}

bool CompareNameLookups(IZuTrevikHelper* helper)
{
    ComPtr<ITypeInfo> typeInfo;
    helper->GetTypeInfo(0, LOCALE_USER_DEFAULT, typeInfo.Receive());
    LPOLESTR name = const_cast<LPOLESTR>(L"getFrames");
    DISPID id = 0;
    auto cached = [&] { helper->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id); };
    auto typeInfoOwn = [&] { typeInfo->GetIDsOfNames(&name, 1, &id); };
    std::vector<double> seconds = SideBySide({typeInfoOwn, cached});
    double typeInfoSeconds = seconds[0], cacheSeconds = seconds[1];
    std::printf("GetIDsOfNames(\"getFrames\"): type information %7.3f us, name cache %7.3f us\n",
                typeInfoSeconds * 1e6, cacheSeconds * 1e6);
    return Report("type information's lookup / name cache", typeInfoSeconds / cacheSeconds, ">=", 5.0);
}

}  // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!RegisterOwnTypeLibrary()) {
        std::printf("the type library could not be registered\n");
        return 2;
    }
    bool met = false;
    {
        ComPtr<IZuTrevikHelper> helper;
        if (FAILED(trevik::CreateHelperObject(nullptr, IID_IZuTrevikHelper, helper.ReceiveVoid()))) {
            std::printf("the object could not be created\n");
            return 2;
        }
        met = CompareBindings(helper.Get(), 3, 2.0);
        met = CompareBindings(helper.Get(), 1024, 1.1) && met;
        met = CompareWithDirectCalls(helper.Get(), 3, 1.1) && met;
        met = CompareNameLookups(helper.Get()) && met;
    }
    UnRegisterTypeLib(LIBID_trevikLib, 1, 0, 0, SYS_WIN64);
    CoUninitialize();
    return met ? 0 : 1;
}
