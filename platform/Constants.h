// Fixed sizes and limits of trevik, each named once.
#pragma once
#include <windows.h>

namespace trevik {

// Frame walk: the embedded objects taken from one enumeration step.
constexpr ULONG kMaxEmbeddedObjects = 1024;

// Paths: the platform's classic path limit, in UTF-16 units with the NUL.
constexpr DWORD kMaxPathUnits = MAX_PATH;

// Room after a module path for a type library index such as "\\2".
constexpr DWORD kTypeLibIndexUnits = 10;

// Thread locale that the registration sequences run under.
constexpr LCID kRegistrationLocale = LOCALE_SYSTEM_DEFAULT;

// Registry script resource that registers and unregisters the class.
constexpr UINT16 kClassScriptResource = 102;

// Reference count written into an object as it is destroyed, so that a
// reference taken and dropped during teardown cannot reach zero again.
constexpr LONG kDestroyedObjectRefCount = -(0x7FFFFFFF / 2);

// Type-library version that makes the type-information holder load the
// library embedded in the module's own file instead of the registered one.
constexpr WORD kTypeLibraryFromModuleVersion = 0xFFFF;

}  // namespace trevik
