// A client that carries trevik.dll and its assembly manifest in its own
// folder and names the assembly in its application manifest. Run in a prefix
// where nothing of trevik is registered, it finds the class, its ProgIDs and
// its type library through the manifests alone.
#include <initguid.h>

#include <cguid.h>

#include <gtest/gtest.h>

#include "Identifiers.h"
#include "doubles/Frames.h"
#include "doubles/PageDoubles.h"

using doubles::ComPtr;
using doubles::FakeHtmlDocument;
using doubles::FakePage;
using doubles::Frames;

namespace {

const wchar_t* const kProgIds[] = {L"trevik.ZuTrevikHelper.1", L"trevik.ZuTrevikHelper"};

class RegistrationFreeClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        news = page->AddFrame(L"News");
        page->AddControl();
        weather = page->AddFrame(L"Weather");
        page->AddFrameWithoutDocument();
    }
    void TearDown() override { CoUninitialize(); }

    // A page of a control, two frames with documents and one without: the
    // two documents come first, then an empty element for each of the others.
    void ExpectFramesOfThePage(const Frames& frames)
    {
        ASSERT_EQ(VT_ARRAY | VT_VARIANT, frames.value.vt);
        ASSERT_EQ(4, frames.Count());
        EXPECT_EQ(static_cast<IDispatch*>(news.Get()), frames.DocumentAt(0));
        EXPECT_EQ(static_cast<IDispatch*>(weather.Get()), frames.DocumentAt(1));
        EXPECT_EQ(nullptr, frames.DocumentAt(2));
        EXPECT_EQ(nullptr, frames.DocumentAt(3));
    }

    ComPtr<FakePage> page = FakePage::Create();
    ComPtr<FakeHtmlDocument> news, weather;
};

// In an activation context a ProgID may name the class by an alias the
// context made for it, so the class is known by the interface it answers.
TEST_F(RegistrationFreeClient, CreatesTheHelperByClassIdAndByBothProgIds)
{
    ComPtr<IZuTrevikHelper> object;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ZuTrevikHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IZuTrevikHelper,
                                     object.ReceiveVoid()));
    for (const wchar_t* progId : kProgIds) {
        CLSID clsid = {};
        EXPECT_EQ(S_OK, CLSIDFromProgID(progId, &clsid)) << progId;
        ComPtr<IZuTrevikHelper> byProgId;
        EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZuTrevikHelper,
                                         byProgId.ReceiveVoid()))
            << progId;
    }
}

TEST_F(RegistrationFreeClient, FindsGetFramesByNameAndCallsItLateBound)
{
    ComPtr<IDispatch> object;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ZuTrevikHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     object.ReceiveVoid()));
    LPOLESTR name = const_cast<LPOLESTR>(L"getFrames");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));

    VARIANT argument;
    argument.vt = VT_DISPATCH;
    argument.pdispVal = static_cast<IDispatch*>(page.Get());
    DISPPARAMS parameters = {&argument, nullptr, 1, 0};
    Frames frames;
    ASSERT_EQ(S_OK, object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &frames.value,
                                   nullptr, nullptr));
    ExpectFramesOfThePage(frames);
}

TEST_F(RegistrationFreeClient, CallsGetFramesEarlyBound)
{
    ComPtr<IZuTrevikHelper> object;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ZuTrevikHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IZuTrevikHelper,
                                     object.ReceiveVoid()));
    Frames frames;
    ASSERT_EQ(S_OK, object->getFrames(static_cast<IDispatch*>(page.Get()), &frames.value));
    ExpectFramesOfThePage(frames);
}

}  // namespace
