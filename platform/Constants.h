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

}  // namespace trevik
