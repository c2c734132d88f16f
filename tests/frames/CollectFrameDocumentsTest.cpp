#include "frames/CollectFrameDocuments.h"

#include <gtest/gtest.h>

#include "doubles/PageDoubles.h"
#include "platform/FaultInjection.h"

using doubles::ComPtr;
using doubles::Enumeration;
using doubles::FakeHtmlDocument;
using doubles::FakePage;

namespace {

// A VARIANT that the test owns and clears at the end.
struct Result {
    VARIANT value;
    Result() { VariantInit(&value); }
    ~Result() { VariantClear(&value); }
    LONG Length() const
    {
        LONG lower = -1, upper = -2;
        SafeArrayGetLBound(value.parray, 1, &lower);
        SafeArrayGetUBound(value.parray, 1, &upper);
        EXPECT_EQ(0, lower);
        return upper - lower + 1;
    }
    VARIANT Element(LONG index) const
    {
        VARIANT element;
        VariantInit(&element);
        EXPECT_EQ(S_OK, SafeArrayGetElement(value.parray, &index, &element));
        return element;
    }
    // The element's document, or null for an empty element.
    IDispatch* DocumentAt(LONG index) const
    {
        VARIANT element = Element(index);
        IDispatch* document = element.vt == VT_DISPATCH ? element.pdispVal : nullptr;
        EXPECT_TRUE(element.vt == VT_DISPATCH || element.vt == VT_EMPTY) << "element type " << element.vt;
        VariantClear(&element);
        return document;
    }
};

IDispatch* AsDispatch(const ComPtr<FakePage>& page)
{
    return static_cast<IDispatch*>(page.Get());
}

IDispatch* AsDispatch(const ComPtr<FakeHtmlDocument>& document)
{
    return static_cast<IDispatch*>(document.Get());
}

class CollectFrameDocumentsTest : public ::testing::Test {
protected:
    void TearDown() override { trevik::DisarmAllFaults(); }
    ComPtr<FakePage> page = FakePage::Create();
};

TEST_F(CollectFrameDocumentsTest, PageWithoutEmbeddedObjectsGivesAnEmptyArray)
{
    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    EXPECT_EQ(VT_ARRAY | VT_VARIANT, result.value.vt);
    ASSERT_NE(nullptr, result.value.parray);
    EXPECT_EQ(1u, SafeArrayGetDim(result.value.parray));
    EXPECT_EQ(0, result.Length());
}

TEST_F(CollectFrameDocumentsTest, DocumentsArePackedInEnumerationOrderAndTheTailStaysEmpty)
{
    page->AddControl();
    ComPtr<FakeHtmlDocument> first = page->AddFrame(L"first");
    page->AddFrameWithoutDocument();
    page->AddFrameWithDocument(FakeHtmlDocument::Create(L"plain", false));
    ComPtr<FakeHtmlDocument> second = page->AddFrame(L"second");

    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    ASSERT_EQ(5, result.Length());
    EXPECT_EQ(AsDispatch(first), result.DocumentAt(0));
    EXPECT_EQ(AsDispatch(second), result.DocumentAt(1));
    for (LONG i = 2; i < 5; ++i)
        EXPECT_EQ(nullptr, result.DocumentAt(i)) << "element " << i;
}

TEST_F(CollectFrameDocumentsTest, OnlyTheFirst1024EmbeddedObjectsAreLookedAt)
{
    std::vector<ComPtr<FakeHtmlDocument>> documents;
    for (int i = 0; i < 1500; ++i)
        documents.push_back(page->AddFrame(L"frame " + std::to_wstring(i)));
    LONG pastTheTable = documents[1024]->RefCount();

    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    ASSERT_EQ(1024, result.Length());
    EXPECT_EQ(AsDispatch(documents[0]), result.DocumentAt(0));
    EXPECT_EQ(AsDispatch(documents[1023]), result.DocumentAt(1023));
    EXPECT_EQ(pastTheTable, documents[1024]->RefCount()) << "frames past the table are never touched";
}

TEST_F(CollectFrameDocumentsTest, PagesAroundTheFirstBatchGiveEveryFrameAndKeepNoReference)
{
    for (int frames : {31, 32, 33, 64}) {
        auto sized = FakePage::Create();
        std::vector<ComPtr<FakeHtmlDocument>> documents;
        for (int i = 0; i < frames; ++i)
            documents.push_back(sized->AddFrame(L"frame"));
        std::vector<LONG> before = sized->RefCounts();
        {
            Result result;
            ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(sized), &result.value)) << frames;
            ASSERT_EQ(frames, result.Length());
            EXPECT_EQ(AsDispatch(documents.back()), result.DocumentAt(frames - 1)) << frames;
        }
        sized->ForgetEnumerators();
        EXPECT_EQ(before, sized->RefCounts()) << frames;
    }
}

TEST_F(CollectFrameDocumentsTest, EnumeratorClaimingMoreThanAskedIsTakenAtTheTableSize)
{
    for (int i = 0; i < 3; ++i)
        page->AddFrame(L"frame");
    page->SetEnumeratorBehaviour({5000});
    std::vector<LONG> before = page->RefCounts();

    {
        Result result;
        ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
        EXPECT_EQ(1024, result.Length());
        EXPECT_NE(nullptr, result.DocumentAt(2));
        EXPECT_EQ(nullptr, result.DocumentAt(3));
    }
    EXPECT_EQ(1, page->Enumerators()[0]->RefCount());
    page->ForgetEnumerators();
    EXPECT_EQ(before, page->RefCounts());
}

TEST_F(CollectFrameDocumentsTest, NullEntriesAreSkipped)
{
    page->AddNullObject();
    ComPtr<FakeHtmlDocument> document = page->AddFrame(L"after a null entry");
    page->AddNullObject();

    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    ASSERT_EQ(3, result.Length());
    EXPECT_EQ(AsDispatch(document), result.DocumentAt(0));
    EXPECT_EQ(nullptr, result.DocumentAt(1));
}

TEST_F(CollectFrameDocumentsTest, BrowserDocumentIsTakenWhateverGetDocumentReturns)
{
    ComPtr<FakeHtmlDocument> document = FakeHtmlDocument::Create(L"reported with a failure");
    page->AddFrameWithDocument(document, E_FAIL);

    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    EXPECT_EQ(AsDispatch(document), result.DocumentAt(0));
}

TEST_F(CollectFrameDocumentsTest, EveryReferenceComesBackOnceTheCallerClearsTheResult)
{
    page->AddControl();
    page->AddFrame(L"a");
    page->AddFrameWithoutDocument();
    page->AddFrameWithDocument(FakeHtmlDocument::Create(L"plain", false));
    page->AddFrame(L"b");
    std::vector<LONG> before = page->RefCounts();

    {
        Result result;
        ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
        EXPECT_NE(before, page->RefCounts()) << "the array holds the frame documents";
    }
    ASSERT_EQ(1u, page->Enumerators().size());
    EXPECT_EQ(1, page->Enumerators()[0]->RefCount()) << "only the page's own reference is left";
    page->ForgetEnumerators();
    EXPECT_EQ(before, page->RefCounts());
}

TEST_F(CollectFrameDocumentsTest, ArgumentFailuresLeaveTheResultUntouched)
{
    VARIANT untouched;
    untouched.vt = VT_I4;
    untouched.lVal = 42;

    VARIANT result = untouched;
    EXPECT_EQ(E_INVALIDARG, trevik::CollectFrameDocuments(nullptr, &result));
    EXPECT_EQ(VT_I4, result.vt);

    ComPtr<FakeHtmlDocument> notAContainer = FakeHtmlDocument::Create(L"no container");
    EXPECT_EQ(E_FAIL, trevik::CollectFrameDocuments(AsDispatch(notAContainer), &result));
    EXPECT_EQ(VT_I4, result.vt);
    EXPECT_EQ(1, notAContainer->RefCount());

    EXPECT_EQ(E_POINTER, trevik::CollectFrameDocuments(AsDispatch(page), nullptr));
    EXPECT_TRUE(page->Enumerators().empty()) << "a null result is refused before anything else";
}

TEST_F(CollectFrameDocumentsTest, ContainerWithoutEnumeratorSucceedsWithoutWriting)
{
    page->AddFrame(L"unreachable");
    page->SetEnumeration(Enumeration::NoEnumerator);
    VARIANT result;
    result.vt = VT_I4;
    EXPECT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result));
    EXPECT_EQ(VT_I4, result.vt);
}

TEST_F(CollectFrameDocumentsTest, EnumeratorHandedOutWithAFailureIsStillWalked)
{
    ComPtr<FakeHtmlDocument> document = page->AddFrame(L"walked anyway");
    page->SetEnumeration(Enumeration::FailsWithEnumerator);
    Result result;
    ASSERT_EQ(S_OK, trevik::CollectFrameDocuments(AsDispatch(page), &result.value));
    EXPECT_EQ(AsDispatch(document), result.DocumentAt(0));
}

TEST_F(CollectFrameDocumentsTest, FailedArrayCreationIsOutOfMemoryAndReleasesEverything)
{
    page->AddFrame(L"a");
    page->AddControl();
    std::vector<LONG> before = page->RefCounts();
    trevik::ArmFault(trevik::Fault::ArrayCreation);

    VARIANT result;
    result.vt = VT_I4;
    EXPECT_EQ(E_OUTOFMEMORY, trevik::CollectFrameDocuments(AsDispatch(page), &result));
    EXPECT_EQ(VT_I4, result.vt);
    EXPECT_EQ(1, page->Enumerators()[0]->RefCount());
    page->ForgetEnumerators();
    EXPECT_EQ(before, page->RefCounts());
}

TEST_F(CollectFrameDocumentsTest, FailedStoreDestroysTheArrayAndEmptiesTheResult)
{
    page->AddFrame(L"stored");
    page->AddFrame(L"fails");
    page->AddFrame(L"never reached");
    std::vector<LONG> before = page->RefCounts();
    trevik::ArmFault(trevik::Fault::ArrayStore, 1);

    VARIANT result;
    result.vt = VT_I4;
    EXPECT_EQ(E_OUTOFMEMORY, trevik::CollectFrameDocuments(AsDispatch(page), &result));
    EXPECT_EQ(VT_EMPTY, result.vt);
    EXPECT_EQ(1, page->Enumerators()[0]->RefCount());
    page->ForgetEnumerators();
    EXPECT_EQ(before, page->RefCounts()) << "the destroyed array gave its documents back";
}

}  // namespace
