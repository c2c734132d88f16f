// The IDispatch operations of the scriptable object and the shared holder of
// its type information. The test program carries the type library and
// registers it from its own file.
#include "automation/CZuTrevikHelper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "doubles/PageDoubles.h"
#include "doubles/RaceThreads.h"
#include "module/ModuleRecords.h"
#include "platform/FaultInjection.h"

using doubles::ComPtr;
using trevik::CComTypeInfoHolder;

namespace {

CComTypeInfoHolder& SharedHolder()
{
    return trevik::CZuTrevikHelper::typeInfoHolder;
}

HRESULT RegisterOwnTypeLibrary()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLib(path, library.Receive());
    return SUCCEEDED(hr) ? RegisterTypeLib(library.Get(), path, nullptr) : hr;
}

void UnregisterTypeLibrary()
{
    UnRegisterTypeLib(LIBID_trevikLib, 1, 0, 0, SYS_WIN64);
}

// Each load of a holder's type information leaves one termination callback
// that releases it.
int LoadsOf(CComTypeInfoHolder& holder)
{
    int loads = 0;
    for (trevik::TerminationNode* node = trevik::trevikModule.terminationList; node; node = node->next)
        loads += node->callback == &CComTypeInfoHolder::ReleaseTypeInfo && node->argument == &holder;
    return loads;
}

HRESULT IdOf(IDispatch* object, const wchar_t* name, DISPID* id)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

class TypeInfoDispatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_EQ(S_OK, RegisterOwnTypeLibrary());
    }
    static void TearDownTestSuite()
    {
        UnregisterTypeLibrary();
        CoUninitialize();
    }
    // Every test starts with the holder empty, as after load.
    void SetUp() override
    {
        CComTypeInfoHolder::ReleaseTypeInfo(&SharedHolder());
        ASSERT_EQ(S_OK, trevik::CreateHelperObject(nullptr, IID_IDispatch, object.ReceiveVoid()));
    }
    void TearDown() override { trevik::DisarmAllFaults(); }

    ComPtr<IDispatch> object;
};

TEST_F(TypeInfoDispatchTest, TypeInfoOperationsCheckTheIndexBeforeThePointer)
{
    UINT count = 0;
    EXPECT_EQ(S_OK, object->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(E_POINTER, object->GetTypeInfoCount(nullptr));
    EXPECT_EQ(DISP_E_BADINDEX, object->GetTypeInfo(1, 0, nullptr));
    EXPECT_EQ(E_POINTER, object->GetTypeInfo(0, 0, nullptr));

    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, object->GetTypeInfo(0, 0, info.Receive()));
    EXPECT_EQ(SharedHolder().typeInfo.load(), info.Get());
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualIID(IID_IZuTrevikHelper, attributes->guid));
    info->ReleaseTypeAttr(attributes);
}

TEST_F(TypeInfoDispatchTest, FirstLookupLoadsOnceAndLaterLookupsTakeNoLock)
{
    int loads = LoadsOf(SharedHolder());
    DISPID id = 0;
    ASSERT_EQ(S_OK, IdOf(object.Get(), L"getFrames", &id));
    EXPECT_EQ(1, id);
    EXPECT_NE(nullptr, SharedHolder().nameCache.load());
    EXPECT_EQ(loads + 1, LoadsOf(SharedHolder()));

    // While this thread holds the static-data critical section, lookups on
    // another thread still finish: from the cache, and in other letter case
    // from the type information.
    DISPID later[2] = {};
    std::atomic<bool> done{false};
    std::thread lookups;
    {
        trevik::CriticalSectionLock lock(trevik::trevikModule.staticDataSection);
        lookups = std::thread([&] {
            IdOf(object.Get(), L"getFrames", &later[0]);
            IdOf(object.Get(), L"GETFRAMES", &later[1]);
            done = true;
        });
        for (int i = 0; i < 500 && !done; ++i)
            Sleep(10);
        EXPECT_TRUE(done.load()) << "a lookup waited for the static-data critical section";
    }
    lookups.join();
    EXPECT_EQ(1, later[0]);
    EXPECT_EQ(1, later[1]);
    EXPECT_EQ(loads + 1, LoadsOf(SharedHolder()));
}

TEST_F(TypeInfoDispatchTest, LookupsTheCacheCannotAnswerGoToTheTypeInformation)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"getFrames"), const_cast<LPOLESTR>(L"pHtmlDoc")};
    DISPID ids[2] = {};
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(1, ids[0]);
    EXPECT_EQ(0, ids[1]);
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, IdOf(object.Get(), L"getFrame", &id));
    EXPECT_EQ(DISP_E_UNKNOWNNAME, IdOf(object.Get(), nullptr, &id)) << "a null name is not read";
    EXPECT_EQ(E_INVALIDARG, object->GetIDsOfNames(IID_NULL, nullptr, 1, LOCALE_USER_DEFAULT, &id));

    // An entry whose function could not be read matches no name, not even "".
    static CComTypeInfoHolder holder(&IID_IZuTrevikHelper, &LIBID_trevikLib, 1, 0);
    ASSERT_EQ(S_OK, holder.LoadTypeInfo(LOCALE_USER_DEFAULT));
    delete[] holder.nameCache.exchange(new trevik::NameCacheEntry[1]());
    holder.entryCount = 1;
    LPOLESTR empty[] = {const_cast<LPOLESTR>(L"")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, holder.GetIDsOfNames(empty, 1, LOCALE_USER_DEFAULT, &id));
    CComTypeInfoHolder::ReleaseTypeInfo(&holder);
}

TEST_F(TypeInfoDispatchTest, UnregisteredTypeLibraryFailsEveryCallUntilItIsRegistered)
{
    UnregisterTypeLibrary();
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&info);
    HRESULT failure = object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info);
    EXPECT_TRUE(FAILED(failure));
    EXPECT_EQ(nullptr, info);
    DISPID id = 0;
    EXPECT_EQ(failure, IdOf(object.Get(), L"getFrames", &id));
    ComPtr<doubles::FakePage> page = doubles::FakePage::Create();
    page->AddFrame(L"frame");
    VARIANT argument;
    argument.vt = VT_DISPATCH;
    argument.pdispVal = static_cast<IDispatch*>(page.Get());
    DISPPARAMS parameters = {&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(failure, object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result,
                                      nullptr, nullptr));

    ASSERT_EQ(S_OK, RegisterOwnTypeLibrary());
    EXPECT_EQ(S_OK, object->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result, nullptr,
                                   nullptr));
    EXPECT_EQ(VT_ARRAY | VT_VARIANT, result.vt);
    VariantClear(&result);
}

TEST_F(TypeInfoDispatchTest, ModuleFileVersionLoadsTheLibraryInTheModuleUnregistered)
{
    static CComTypeInfoHolder fromFile(&IID_IZuTrevikHelper, &LIBID_trevikLib, 0xFFFF, 0xFFFF);
    UnregisterTypeLibrary();
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"getFrames")};
    DISPID id = 0;
    EXPECT_EQ(S_OK, fromFile.GetIDsOfNames(names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(1, id);
    CComTypeInfoHolder::ReleaseTypeInfo(&fromFile);
    ASSERT_EQ(S_OK, RegisterOwnTypeLibrary());
}

// A serving module of the test's own, whose file is this program.
class TestModule : public trevik::IServingModule {
public:
    LONG LockModule() noexcept override { return 1; }
    LONG UnlockModule() noexcept override { return 0; }
    HMODULE ModuleFile() noexcept override { return GetModuleHandleW(nullptr); }
    const GUID& TypeLibraryId() noexcept override { return LIBID_trevikLib; }
    trevik::CriticalSection& StaticDataSection() noexcept override { return section; }
    HRESULT AtTermination(trevik::TerminationCallback callback, void* argument) noexcept override
    {
        atTermination.emplace_back(callback, argument);
        return S_OK;
    }

    trevik::CriticalSection section;
    std::vector<std::pair<trevik::TerminationCallback, void*>> atTermination;
};

TEST_F(TypeInfoDispatchTest, AHolderLoadsFromTheModuleItIsGivenAndLeavesItsReleaseThere)
{
    TestModule module;
    ASSERT_EQ(S_OK, module.section.Setup());
    UnregisterTypeLibrary();
    static CComTypeInfoHolder fromFile(&IID_IZuTrevikHelper, &LIBID_trevikLib, 0xFFFF, 0xFFFF);
    int loads = LoadsOf(fromFile);
    EXPECT_EQ(S_OK, fromFile.LoadTypeInfo(LOCALE_USER_DEFAULT, module));
    EXPECT_NE(nullptr, fromFile.typeInfo.load());
    EXPECT_EQ(loads, LoadsOf(fromFile)) << "nothing was left with the library's own module";
    ASSERT_EQ(1u, module.atTermination.size());
    module.atTermination[0].first(module.atTermination[0].second);
    EXPECT_EQ(nullptr, fromFile.typeInfo.load());
    EXPECT_EQ(nullptr, fromFile.nameCache.load());
    ASSERT_EQ(S_OK, RegisterOwnTypeLibrary());
}

TEST_F(TypeInfoDispatchTest, NameCacheWithoutMemoryIsRetriedWhileTheTypeInformationServes)
{
    trevik::ArmFault(trevik::Fault::ObjectAllocation, 1);  // the termination node passes, the cache fails
    EXPECT_EQ(E_OUTOFMEMORY, SharedHolder().LoadTypeInfo(LOCALE_USER_DEFAULT));
    EXPECT_NE(nullptr, SharedHolder().typeInfo.load());
    EXPECT_EQ(nullptr, SharedHolder().nameCache.load());

    DISPID id = 0;
    EXPECT_EQ(S_OK, IdOf(object.Get(), L"getFrames", &id));
    EXPECT_EQ(1, id);
    EXPECT_NE(nullptr, SharedHolder().nameCache.load()) << "the next call built the cache";
}

TEST_F(TypeInfoDispatchTest, EightThreadsRacingTheFirstLookupLoadTheTypeInformationOnce)
{
    int loads = LoadsOf(SharedHolder());
    ComPtr<IDispatch> objects[8];
    for (ComPtr<IDispatch>& each : objects)
        ASSERT_EQ(S_OK, trevik::CreateHelperObject(nullptr, IID_IDispatch, each.ReceiveVoid()));
    DISPID ids[8] = {};
    std::thread race;
    {
        // The threads gather at the static-data critical section before any can load.
        trevik::CriticalSectionLock lock(trevik::trevikModule.staticDataSection);
        race = std::thread([&] {
            doubles::RaceThreads(8, [&](int i) { IdOf(objects[i].Get(), L"getFrames", &ids[i]); });
        });
        Sleep(200);
    }
    race.join();
    EXPECT_EQ(loads + 1, LoadsOf(SharedHolder()));
    for (DISPID id : ids)
        EXPECT_EQ(1, id);
}

}  // namespace
