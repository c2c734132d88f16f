// Test build only: an object-map entry that records the module's start and
// stop notifications, so that tests can watch the load and unload order of a
// library from outside. Each notification appends one line to the process
// environment variable kNotificationsVariable:
//   "start base=B map=M dllmain=D callback=added|refused;"
//   "stop base=B map=M dllmain=D;"
// where B and M tell whether the base record and the object-map record are
// set up, and D whether DllMain has been called yet. At start the entry also
// adds a termination callback, which appends "callback;" when it runs.
#pragma once
#include "com/ObjectMapEntry.h"

namespace trevik {

constexpr wchar_t kNotificationsVariable[] = L"TREVIK_NOTIFICATIONS";

#ifdef TREVIK_FAULT_INJECTION
// The entry when Fault::RecordingMapEntry is armed, else null.
ObjectMapEntry* RecordingMapEntryIfArmed();
#endif

}  // namespace trevik
