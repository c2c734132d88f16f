// trevik.dll as a COM client uses it: loaded with LoadLibrary, its class
// object taken from DllGetClassObject, the object created and called
// late-bound and early-bound with a page double.
#include <gtest/gtest.h>

#include "Identifiers.h"
#include "dll/LoadedLibrary.h"
#include "support/BuildPaths.h"
#include "doubles/Frames.h"
#include "doubles/PageDoubles.h"

using doubles::ComPtr;
using doubles::FakeHtmlDocument;
using doubles::FakePage;
using doubles::Frames;

namespace {

HRESULT InvokeGetFrames(IDispatch* object, DISPID id, IDispatch* page, VARIANT* result)
{
    VARIANT argument;
    argument.vt = VT_DISPATCH;
    argument.pdispVal = page;
    DISPPARAMS parameters = {&argument, nullptr, 1, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, result, nullptr, nullptr);
}

class ComServerTest : public ::testing::Test {
protected:
    // Until the library registers itself, the type library is registered
    // here, in the test prefix, and removed again afterwards.
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        std::wstring path = testsupport::BuiltDllPath();
        ComPtr<ITypeLib> library;
        ASSERT_EQ(S_OK, LoadTypeLib(path.c_str(), library.Receive()));
        ASSERT_EQ(S_OK, RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(path.c_str()), nullptr));
    }
    static void TearDownTestSuite()
    {
        UnRegisterTypeLib(LIBID_trevikLib, 1, 0, 0, SYS_WIN64);
        CoUninitialize();
    }

    ComPtr<IClassFactory> ClassFactory()
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, library.GetClassObject(CLSID_ZuTrevikHelper, IID_IClassFactory, factory.ReceiveVoid()));
        return factory;
    }

    // The module lock count, read through the exports alone: LockServer(FALSE)
    // gives locks back one by one until DllCanUnloadNow finds none left, then
    // LockServer(TRUE) takes as many again.
    LONG LockCount(IClassFactory* factory)
    {
        LONG count = 0;
        for (; library.CanUnloadNow() != S_OK && count < 100; ++count)
            factory->LockServer(FALSE);
        for (LONG i = 0; i < count; ++i)
            factory->LockServer(TRUE);
        return count;
    }

    dlltest::LoadedLibrary library{testsupport::BuiltDllPath()};
    ComPtr<FakePage> page = FakePage::Create();
};

TEST_F(ComServerTest, ClientCreatesCallsAndReleasesTheObjectWithTheLockCountsOfEachStep)
{
    ASSERT_TRUE(library.IsLoaded());
    ComPtr<FakeHtmlDocument> first = page->AddFrame(L"first");
    page->AddControl();
    ComPtr<FakeHtmlDocument> second = page->AddFrame(L"second");
    std::vector<LONG> before = page->RefCounts();
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    ComPtr<IClassFactory> factory = ClassFactory();
    EXPECT_EQ(1, LockCount(factory.Get()));
    ComPtr<IDispatch> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, object.ReceiveVoid()));
    EXPECT_EQ(2, LockCount(factory.Get()));
    factory.Reset();
    EXPECT_EQ(2, LockCount(ClassFactory().Get())) << "the object's lock and the probing factory's";

    LPOLESTR name = const_cast<LPOLESTR>(L"getFrames");
    DISPID id = 0;
    ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(1, id);
    {
        Frames frames;
        ASSERT_EQ(S_OK, InvokeGetFrames(object.Get(), id, static_cast<IDispatch*>(page.Get()), &frames.value));
        ASSERT_EQ(VT_ARRAY | VT_VARIANT, frames.value.vt);
        EXPECT_EQ(static_cast<IDispatch*>(first.Get()), frames.DocumentAt(0));
        EXPECT_EQ(static_cast<IDispatch*>(second.Get()), frames.DocumentAt(1));
        EXPECT_EQ(nullptr, frames.DocumentAt(2));
    }

    EXPECT_EQ(0u, object.Detach()->Release());
    EXPECT_EQ(S_OK, library.CanUnloadNow());
    page->ForgetEnumerators();
    EXPECT_EQ(before, page->RefCounts());
}

TEST_F(ComServerTest, EarlyBoundCallGivesTheLateBoundResult)
{
    for (int i = 0; i < 3; ++i)
        page->AddFrame(L"frame " + std::to_wstring(i));
    ComPtr<IZuTrevikHelper> object;
    ASSERT_EQ(S_OK, ClassFactory()->CreateInstance(nullptr, IID_IZuTrevikHelper, object.ReceiveVoid()));

    Frames early, late;
    ASSERT_EQ(S_OK, object->getFrames(static_cast<IDispatch*>(page.Get()), &early.value));
    ASSERT_EQ(S_OK, InvokeGetFrames(object.Get(), 1, static_cast<IDispatch*>(page.Get()), &late.value));
    ASSERT_EQ(early.value.vt, late.value.vt);
    for (LONG i = 0; i < 3; ++i)
        EXPECT_EQ(early.DocumentAt(i), late.DocumentAt(i));
}

TEST_F(ComServerTest, ClassObjectRequestsAnswerAsAClientExpects)
{
    void* out = &out;
    EXPECT_EQ(E_POINTER, library.GetClassObject(CLSID_ZuTrevikHelper, IID_IClassFactory, nullptr));
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library.GetClassObject(IID_IZuTrevikHelper, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = &out;
    EXPECT_EQ(E_NOINTERFACE, library.GetClassObject(CLSID_ZuTrevikHelper, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    ComPtr<IClassFactory> factory = ClassFactory();
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_FALSE, library.CanUnloadNow()) << "the server lock keeps the library";
    EXPECT_EQ(S_OK, ClassFactory()->LockServer(FALSE));
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

}  // namespace
