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
// How a registration step runs; defined with the registry-script application.
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

// The one walk over an object map, the entry pointers [first, end): calls
// `visit(entry)` for each entry in order, skipping null slots, until a visit
// returns false, and returns the entry it stopped at (null when it went
// through). `end` is read again at every step, so a visit may grow a map
// whose own end it is.
template <class Visit>
ObjectMapEntry* WalkObjectMap(ObjectMapEntry** first, ObjectMapEntry** const& end, Visit visit)
{
    for (ObjectMapEntry** slot = first; slot < end; ++slot)
        if (*slot && !visit(**slot))
            return *slot;
    return nullptr;
}

}  // namespace trevik
