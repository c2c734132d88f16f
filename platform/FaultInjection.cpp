#ifdef TREVIK_FAULT_INJECTION

#include "platform/FaultInjection.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace trevik {
namespace {

struct Shots {
    std::atomic<int> skip{0};
    std::atomic<int> count{0};
};

const char* const kFaultNames[] = {"CriticalSectionSetup", "ObjectAllocation", "ArrayCreation",
                                   "ArrayStore",           "RecordingMapEntry", "ReplacementStore",
                                   "ScriptTextMemory",     "ValueArea",         "RegistryWrite"};
static_assert(sizeof(kFaultNames) / sizeof(kFaultNames[0]) == static_cast<int>(Fault::Count));

// Faults can be armed before any code runs, for the records built while the
// library loads: TREVIK_FAULTS="Name:skip:count[,Name:skip:count...]".
void ArmFromEnvironment(Shots* shots)
{
    const char* setting = std::getenv("TREVIK_FAULTS");
    while (setting && *setting) {
        for (int f = 0; f < static_cast<int>(Fault::Count); ++f) {
            size_t n = std::strlen(kFaultNames[f]);
            if (std::strncmp(setting, kFaultNames[f], n) == 0 && setting[n] == ':') {
                char* next = nullptr;
                shots[f].skip = static_cast<int>(std::strtol(setting + n + 1, &next, 10));
                shots[f].count = (*next == ':') ? static_cast<int>(std::strtol(next + 1, &next, 10)) : 1;
            }
        }
        setting = std::strchr(setting, ',');
        if (setting)
            ++setting;
    }
}

Shots* AllShots()
{
    static Shots shots[static_cast<int>(Fault::Count)];
    static bool armed = (ArmFromEnvironment(shots), true);
    (void)armed;
    return shots;
}

}  // namespace

bool ShouldInjectFault(Fault fault)
{
    Shots& shots = AllShots()[static_cast<int>(fault)];
    if (shots.count.load() <= 0)
        return false;
    if (shots.skip.fetch_sub(1) > 0)
        return false;
    return shots.count.fetch_sub(1) > 0;
}

void ArmFault(Fault fault, int skip, int count)
{
    Shots& shots = AllShots()[static_cast<int>(fault)];
    shots.skip = skip;
    shots.count = count;
}

void DisarmAllFaults()
{
    for (int f = 0; f < static_cast<int>(Fault::Count); ++f)
        ArmFault(static_cast<Fault>(f), 0, 0);
}

}  // namespace trevik

#endif
