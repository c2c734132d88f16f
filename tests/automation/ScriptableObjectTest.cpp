// The scriptable object: its interface table, reference count, module lock
// and creator.
#include "automation/CZuTrevikHelper.h"

#include <gtest/gtest.h>

#include "Identifiers.h"
#include "module/ModuleRecords.h"
#include "platform/ComPtr.h"
#include "platform/FaultInjection.h"

using trevik::ComPtr;

namespace {

LONG LockCount()
{
    return trevik::trevikModule.QueryLockCount();
}

class ScriptableObjectTest : public ::testing::Test {
protected:
    void TearDown() override { trevik::DisarmAllFaults(); }
};

TEST_F(ScriptableObjectTest, ItsThreeInterfacesAreOnePointerAndEachQueryAddsAReference)
{
    IUnknown* object = nullptr;
    ASSERT_EQ(S_OK, trevik::CreateHelperObject(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)));
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &IID_IZuTrevikHelper}) {
        void* answered = nullptr;
        ASSERT_EQ(S_OK, object->QueryInterface(*iid, &answered));
        EXPECT_EQ(object, answered);
        EXPECT_EQ(1u, object->Release()) << "the query added one reference";
    }
    void* refused = &refused;
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IClassFactory, &refused));
    EXPECT_EQ(nullptr, refused);
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IDispatch, nullptr));
    EXPECT_EQ(2u, object->AddRef()) << "failed queries leave the count alone";
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(0u, object->Release());
}

TEST_F(ScriptableObjectTest, EachLiveObjectHoldsOneModuleLock)
{
    LONG base = LockCount();
    ComPtr<IDispatch> first, second;
    ASSERT_EQ(S_OK, trevik::CreateHelperObject(nullptr, IID_IDispatch, first.ReceiveVoid()));
    ASSERT_EQ(S_OK, trevik::CreateHelperObject(nullptr, IID_IZuTrevikHelper, second.ReceiveVoid()));
    EXPECT_EQ(base + 2, LockCount());
    first.Reset();
    EXPECT_EQ(base + 1, LockCount());
    second.Reset();
    EXPECT_EQ(base, LockCount());
}

TEST_F(ScriptableObjectTest, FailedCreationLeavesNoObjectAndNoLock)
{
    LONG base = LockCount();
    void* out = &out;
    EXPECT_EQ(E_POINTER, trevik::CreateHelperObject(nullptr, IID_IDispatch, nullptr));
    EXPECT_EQ(E_NOINTERFACE, trevik::CreateHelperObject(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    trevik::ArmFault(trevik::Fault::ObjectAllocation);
    out = &out;
    EXPECT_EQ(E_OUTOFMEMORY, trevik::CreateHelperObject(nullptr, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(base, LockCount());
}

}  // namespace
