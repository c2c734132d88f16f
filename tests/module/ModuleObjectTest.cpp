// The module object: lock count, termination callbacks, notifications of the
// object map and the global interface table, on module objects of the tests'
// own over maps of recording entries.
#include "module/ModuleObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FaultInjection.h"
#include "platform/ThisModule.h"

using trevik::ObjectMapEntry;

namespace {

std::vector<std::string> events;

void Record(void* name)
{
    events.push_back(static_cast<const char*>(name));
}

void RecordNotification(bool starting)
{
    events.push_back(starting ? "start" : "stop");
}

ObjectMapEntry RecordingEntry()
{
    return {&GUID_NULL, nullptr, nullptr, nullptr, nullptr, nullptr, &RecordNotification};
}

// Gives the global module pointer back to the test program's own module.
struct GlobalModuleRestorer {
    ~GlobalModuleRestorer() { trevik::globalModule = saved; }
    trevik::CAtlModule* saved = trevik::globalModule;
};

// A module object over an object map of its own.
class LocalModule {
public:
    LocalModule(ObjectMapEntry** first, ObjectMapEntry** end) : map(trevik::ThisModule(), first, end), module(&map) {}

    GlobalModuleRestorer restorer;
    trevik::ComModuleRecord map;
    trevik::CtrevikModule module;
};

class ModuleObjectTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    void TearDown() override { trevik::DisarmAllFaults(); }

    ObjectMapEntry recording = RecordingEntry();
    ObjectMapEntry* slots[3] = {nullptr, &recording, nullptr};
};

TEST_F(ModuleObjectTest, LockCountMovesByOneEitherWayWithoutBound)
{
    LocalModule local(std::begin(slots), std::end(slots));
    trevik::CtrevikModule& module = local.module;
    EXPECT_EQ(S_OK, module.DllCanUnloadNow());
    EXPECT_EQ(1, module.LockModule());
    EXPECT_EQ(2, module.LockModule());
    EXPECT_EQ(1, module.UnlockModule());
    EXPECT_EQ(0, module.UnlockModule());
    EXPECT_EQ(-1, module.UnlockModule());
    EXPECT_EQ(S_FALSE, module.DllCanUnloadNow()) << "a negative count keeps the library too";
}

TEST_F(ModuleObjectTest, TerminationNotifiesThenRunsCallbacksNewestFirstOnce)
{
    LocalModule local(std::begin(slots), std::end(slots));
    trevik::CtrevikModule& module = local.module;
    EXPECT_EQ(trevik::globalModule, &module);
    for (const char* name : {"A", "B", "C"})
        ASSERT_EQ(S_OK, trevik::AddTerminationCallback(&module, Record, const_cast<char*>(name)));

    module.Terminate();
    EXPECT_EQ((std::vector<std::string>{"start", "stop", "C", "B", "A"}), events);
    EXPECT_EQ(0u, module.sizeMarker);
    module.Terminate();
    EXPECT_EQ((std::vector<std::string>{"start", "stop", "C", "B", "A", "stop"}), events)
        << "a second termination repeats only the stop notification";
}

TEST_F(ModuleObjectTest, NotificationsReadTheEndOfTheMapAfterEveryEntry)
{
    // The first entry's start notification lengthens the map by one slot.
    static trevik::ComModuleRecord* growingMap = nullptr;
    ObjectMapEntry growing = RecordingEntry();
    growing.objectMain = [](bool starting) {
        events.push_back("first");
        if (starting)
            ++growingMap->endEntry;
    };
    ObjectMapEntry* grownSlots[] = {&growing, &recording};
    trevik::ComModuleRecord map(trevik::ThisModule(), grownSlots, grownSlots + 1);
    growingMap = &map;
    {
        GlobalModuleRestorer restorer;
        trevik::CtrevikModule module(&map);
    }
    EXPECT_EQ((std::vector<std::string>{"first", "start", "first", "stop"}), events);
}

TEST_F(ModuleObjectTest, RefusedCallbacksAddNothing)
{
    LocalModule local(std::begin(slots), std::end(slots));
    EXPECT_EQ(E_INVALIDARG, trevik::AddTerminationCallback(nullptr, Record, nullptr));
    trevik::ArmFault(trevik::Fault::ObjectAllocation);
    EXPECT_EQ(E_OUTOFMEMORY, trevik::AddTerminationCallback(&local.module, Record, const_cast<char*>("lost")));
    EXPECT_EQ(nullptr, local.module.terminationList);
}

TEST_F(ModuleObjectTest, StaticDataSectionFailureFailsTheLoadAndTerminationOnlyNotifies)
{
    trevik::ArmFault(trevik::Fault::CriticalSectionSetup, 1);  // the map's section is set up first
    LocalModule local(std::begin(slots), std::end(slots));
    EXPECT_TRUE(trevik::LoadFailed());
    EXPECT_EQ(0u, local.module.sizeMarker);
    EXPECT_FALSE(local.module.DllMain(DLL_PROCESS_ATTACH));
    EXPECT_TRUE(local.module.DllMain(DLL_PROCESS_DETACH));
    EXPECT_TRUE(local.module.DllMain(DLL_THREAD_ATTACH));
    // A section that was never set up cannot be entered: nothing is added.
    EXPECT_EQ(E_UNEXPECTED, trevik::AddTerminationCallback(&local.module, Record, const_cast<char*>("never")));

    local.module.Terminate();
    EXPECT_EQ((std::vector<std::string>{"start", "stop"}), events);
}

TEST_F(ModuleObjectTest, GlobalInterfaceTableIsCreatedOnceAndSharedByReference)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        LocalModule local(std::begin(slots), std::end(slots));
        EXPECT_EQ(E_POINTER, local.module.GetGlobalInterfaceTable(nullptr));
        IGlobalInterfaceTable* first = nullptr;
        IGlobalInterfaceTable* second = nullptr;
        ASSERT_EQ(S_OK, local.module.GetGlobalInterfaceTable(&first));
        ASSERT_EQ(S_OK, local.module.GetGlobalInterfaceTable(&second));
        EXPECT_EQ(first, second);
        first->Release();
        second->Release();
    }
    CoUninitialize();
}

}  // namespace
