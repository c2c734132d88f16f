// One row of the object map: a class the library serves, how to register it,
// how to create its class object and instances, and its cached class object.
#pragma once
#include <unknwn.h>

#include <atomic>

namespace trevik {

// Creators of class objects and of instances share one signature. An
// instance creator's first argument is the outer object (null unless
// aggregating); a class-object creator's is the instance creator to use.
using CreatorFunction = HRESULT (*)(void* argument, REFIID iid, void** out);

// Component categories a class declares; defined with their registration.
struct CategoryMapEntry;
// How a registration step runs; defined with the registration sequences.
struct RegistrationRun;

struct ObjectMapEntry {
    const CLSID* classId;
    // Registers or unregisters the class.
    HRESULT (*updateRegistry)(BOOL registering, const RegistrationRun& run);
    CreatorFunction getClassObject;  // the lookup skips the entry when null
    CreatorFunction createInstance;  // handed to getClassObject
    // Written once, under the object-map critical section, when the class
    // object is complete; read without it. Holds one reference.
    std::atomic<IUnknown*> classObject;
    const CategoryMapEntry* (*getCategoryMap)();
    void (*objectMain)(bool starting);  // module start and stop notifications
};

}  // namespace trevik
