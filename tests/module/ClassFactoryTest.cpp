// Class-object lookup and the cached class factory, on object maps of the
// tests' own; the module lock count is that of the test program's module.
#include "module/ObjectMap.h"

#include <gtest/gtest.h>

#include <atomic>

#include "Identifiers.h"
#include "doubles/PageDoubles.h"
#include "doubles/RaceThreads.h"
#include "com/CComClassFactory.h"
#include "module/ModuleRecords.h"
#include "platform/FaultInjection.h"
#include "platform/ThisModule.h"

using doubles::ComPtr;
using doubles::RaceThreads;
using trevik::ObjectMapEntry;

namespace {

std::atomic<int> factoriesCreated{0};

// CreateClassFactory, counted and slowed down so that racing requests overlap.
HRESULT CountedCreateClassFactory(void* instanceCreator, REFIID iid, void** out)
{
    ++factoriesCreated;
    Sleep(20);
    return trevik::CreateClassFactory(instanceCreator, iid, out);
}

LONG LockCount()
{
    return trevik::trevikModule.QueryLockCount();
}

class ClassFactoryTest : public ::testing::Test {
protected:
    void SetUp() override { factoriesCreated = 0; }
    void TearDown() override { trevik::DisarmAllFaults(); }

    HRESULT Request(REFIID iid, void** out) { return trevik::GetClassObjectFromMap(&map, CLSID_ZuTrevikHelper, iid, out); }

    // The lookup passes over the entry without a class-object creator and the
    // empty slot to reach the helper's entry.
    ObjectMapEntry noCreator = {&CLSID_ZuTrevikHelper, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    ObjectMapEntry helper = {
        &CLSID_ZuTrevikHelper, nullptr, &CountedCreateClassFactory, &trevik::CreateInstanceNoAggregation,
        nullptr,               nullptr, nullptr};
    ObjectMapEntry* slots[3] = {&noCreator, nullptr, &helper};
    trevik::ComModuleRecord map{trevik::ThisModule(), std::begin(slots), std::end(slots)};
};

TEST_F(ClassFactoryTest, BadRequestsCreateNothing)
{
    void* out = &out;
    EXPECT_EQ(E_POINTER, Request(IID_IClassFactory, nullptr));
    EXPECT_EQ(E_INVALIDARG, trevik::GetClassObjectFromMap(nullptr, CLSID_ZuTrevikHelper, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = &out;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, trevik::GetClassObjectFromMap(&map, IID_IDispatch, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0, factoriesCreated.load());
    EXPECT_EQ(nullptr, helper.classObject.load());
}

TEST_F(ClassFactoryTest, CachedFactoryHoldsAModuleLockOnlyWhileClientsHoldIt)
{
    LONG base = LockCount();
    ComPtr<IClassFactory> first, second;
    ASSERT_EQ(S_OK, Request(IID_IClassFactory, first.ReceiveVoid()));
    EXPECT_EQ(base + 1, LockCount());
    ASSERT_EQ(S_OK, Request(IID_IClassFactory, second.ReceiveVoid()));
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(base + 1, LockCount());
    EXPECT_EQ(2u, first.Detach()->Release());
    EXPECT_EQ(base + 1, LockCount());
    EXPECT_EQ(1u, second.Detach()->Release());
    EXPECT_EQ(base, LockCount());

    void* out = &out;
    EXPECT_EQ(E_NOINTERFACE, Request(IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(base, LockCount());
    EXPECT_NE(nullptr, helper.classObject.load()) << "the factory stays cached";
    EXPECT_EQ(1, factoriesCreated.load());
}

TEST_F(ClassFactoryTest, FactoryCreatesObjectsAndRefusesAggregation)
{
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, Request(IID_IClassFactory, factory.ReceiveVoid()));
    LONG base = LockCount();
    ComPtr<IDispatch> object;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, object.ReceiveVoid()));
    EXPECT_EQ(base + 1, LockCount());
    object.Reset();
    EXPECT_EQ(base, LockCount());

    ComPtr<IUnknown> made;
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IDispatch, nullptr));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory.Get(), IID_IUnknown, made.ReceiveVoid()));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory.Get(), IID_IDispatch, made.ReceiveVoid()));
    EXPECT_FALSE(made);
    EXPECT_EQ(E_POINTER, trevik::CreateInstanceNoAggregation(factory.Get(), IID_IUnknown, nullptr));
}

TEST_F(ClassFactoryTest, FailedFactoryCreationCachesNothingAndIsRetried)
{
    void* out = &out;
    trevik::ArmFault(trevik::Fault::ObjectAllocation);
    EXPECT_EQ(E_OUTOFMEMORY, Request(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    trevik::ArmFault(trevik::Fault::CriticalSectionSetup);
    EXPECT_EQ(E_OUTOFMEMORY, Request(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, helper.classObject.load());
    EXPECT_EQ(E_NOINTERFACE, trevik::CreateClassFactory(nullptr, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);

    ComPtr<IClassFactory> factory;
    EXPECT_EQ(S_OK, Request(IID_IClassFactory, factory.ReceiveVoid()));
    EXPECT_EQ(3, factoriesCreated.load());
}

TEST_F(ClassFactoryTest, TerminationReleasesCachedClassObjectsAndLaterRequestsAreUnexpected)
{
    // A class object the test can watch: the map's reference is its second.
    static ComPtr<doubles::FakeControl> watched;
    watched = doubles::FakeControl::Create();
    helper.getClassObject = [](void*, REFIID iid, void** out) { return watched->QueryInterface(iid, out); };
    ComPtr<IUnknown> held;
    ASSERT_EQ(S_OK, Request(IID_IUnknown, held.ReceiveVoid()));
    held.Reset();
    EXPECT_EQ(2, watched->RefCount());
    LONG base = LockCount();

    map.Terminate();
    EXPECT_EQ(1, watched->RefCount());
    EXPECT_EQ(nullptr, helper.classObject.load());
    void* out = &out;
    EXPECT_EQ(E_UNEXPECTED, Request(IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(base, LockCount());
    watched.Reset();
}

TEST_F(ClassFactoryTest, EightThreadsRacingTheFirstRequestCreateOneFactory)
{
    IClassFactory* got[8] = {};
    RaceThreads(8, [&](int i) { EXPECT_EQ(S_OK, Request(IID_IClassFactory, reinterpret_cast<void**>(&got[i]))); });
    EXPECT_EQ(1, factoriesCreated.load());
    for (IClassFactory* factory : got) {
        EXPECT_EQ(got[0], factory);
        factory->Release();
    }
}

TEST_F(ClassFactoryTest, EightThreadsCreatingAndReleasing10000ObjectsLeaveNoLock)
{
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, trevik::GetClassObjectFromMap(&trevik::comModule, CLSID_ZuTrevikHelper, IID_IClassFactory,
                                                  factory.ReceiveVoid()));
    std::atomic<int> failures{0};
    RaceThreads(8, [&](int) {
        for (int i = 0; i < 10000 / 8; ++i) {
            IDispatch* object = nullptr;
            if (factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)) != S_OK ||
                object->Release() != 0)
                ++failures;
        }
    });
    EXPECT_EQ(0, failures.load());
    factory.Reset();
    EXPECT_EQ(0, LockCount());
}

}  // namespace
