// The load and unload order of the library's three records, watched from
// outside through the test build, whose object map carries a recording entry
// (see module/RecordingMapEntry.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dll/LoadedLibrary.h"
#include "support/BuildPaths.h"
#include "module/RecordingMapEntry.h"

namespace {

struct LoadRun {
    bool loaded;
    DWORD error;
    std::wstring notifications;
};

// Loads and unloads the test build with `faults` armed from its first static
// constructor on (the library reads TREVIK_FAULTS through the shared C runtime).
LoadRun LoadAndUnload(const std::string& faults)
{
    SetEnvironmentVariableW(trevik::kNotificationsVariable, nullptr);
    _putenv(("TREVIK_FAULTS=RecordingMapEntry:0:1," + faults).c_str());
    LoadRun run{};
    {
        dlltest::LoadedLibrary library(testsupport::WindowsPath(TREVIK_FAULTS_DLL_PATH));
        run.loaded = library.IsLoaded();
        run.error = GetLastError();
    }
    _putenv("TREVIK_FAULTS=");
    wchar_t recorded[1024] = L"";
    GetEnvironmentVariableW(trevik::kNotificationsVariable, recorded, ARRAYSIZE(recorded));
    run.notifications = recorded;
    return run;
}

TEST(LoadOrderTest, RecordsAreBuiltBeforeTheFirstDllMainAndTerminatedAfterTheLast)
{
    LoadRun run = LoadAndUnload("");
    EXPECT_TRUE(run.loaded);
    // At the start notification both companion records are built and DllMain
    // has not run; at the stop notification DllMain has run and both records
    // are still there; the termination callbacks follow the stop notification.
    EXPECT_EQ(L"start base=1 map=1 dllmain=0 callback=added;"
              L"stop base=1 map=1 dllmain=1;"
              L"callback;",
              run.notifications);
}

TEST(LoadOrderTest, CriticalSectionFailureInAnyRecordRefusesTheLoadYetNotifiesEveryEntry)
{
    // Critical sections are set up in record order: base, object map, module.
    LoadRun base = LoadAndUnload("CriticalSectionSetup:0:1");
    EXPECT_FALSE(base.loaded);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DLL_INIT_FAILED), base.error);
    EXPECT_EQ(L"start base=1 map=1 dllmain=0 callback=added;stop base=1 map=1 dllmain=1;callback;",
              base.notifications);

    LoadRun map = LoadAndUnload("CriticalSectionSetup:1:1");
    EXPECT_FALSE(map.loaded);
    EXPECT_EQ(L"start base=1 map=0 dllmain=0 callback=added;stop base=1 map=0 dllmain=1;callback;",
              map.notifications);

    // Without its critical section the module takes no termination callback
    // and runs none, but still sends the stop notification.
    LoadRun module = LoadAndUnload("CriticalSectionSetup:2:1");
    EXPECT_FALSE(module.loaded);
    EXPECT_EQ(L"start base=1 map=1 dllmain=0 callback=refused;stop base=1 map=1 dllmain=1;", module.notifications);
}

}  // namespace
