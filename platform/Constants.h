// Fixed sizes and limits of trevik, each named once.
#pragma once
#include <windows.h>

namespace trevik {

// Frame walk: the embedded objects taken from one enumeration, and how many
// of them the first of its two batches asks for.
constexpr ULONG kMaxEmbeddedObjects = 1024;
constexpr ULONG kFirstEnumerationBatch = 32;

// Paths: the platform's classic path limit, in UTF-16 units with the NUL.
constexpr DWORD kMaxPathUnits = MAX_PATH;

// Room after a module path for a type library index such as "\\2", and the
// path buffer with that room.
constexpr DWORD kTypeLibIndexUnits = 10;
constexpr size_t kTypeLibPathUnits = kMaxPathUnits + kTypeLibIndexUnits;

// A module path with every quote doubled, as a quoted script string needs it.
constexpr size_t kEscapedPathUnits = 2 * kMaxPathUnits;

// A GUID as registry text: 38 characters in braces, with room to spare.
constexpr int kGuidTextUnits = 64;

// "CLSID\{class}\Implemented Categories" and the like (67 characters at most).
constexpr size_t kCategoryKeyPathUnits = 128;

// Thread locale that the registration sequences run under.
constexpr LCID kRegistrationLocale = LOCALE_SYSTEM_DEFAULT;

// Reference count written into an object as it is destroyed, so that a
// reference taken and dropped during teardown cannot reach zero again.
constexpr LONG kDestroyedObjectRefCount = -(0x7FFFFFFF / 2);

// Type-library version that makes the type-information holder load the
// library embedded in the module's own file instead of the registered one.
constexpr WORD kTypeLibraryFromModuleVersion = 0xFFFF;

// Registry access masks.
constexpr REGSAM kKeyRead = KEY_READ;
constexpr REGSAM kKeyWrite = KEY_WRITE;
constexpr REGSAM kKeyReadWrite = KEY_READ | KEY_WRITE;

// The value that holds a registry link's target.
constexpr wchar_t kLinkValueName[] = L"SymbolicLinkValue";

// Subkey names as RegEnumKeyExW returns them, in UTF-16 units with the NUL.
constexpr DWORD kKeyNameUnits = 256;

// Registry scripts: token arrays (a token holds at most 4094 units), the
// longest replacement name, the deepest block nesting a walk accepts, the
// value areas kept on the stack, the script sizes converted on the stack and
// the smallest output buffer of the expansion pass.
constexpr int kTokenUnits = 4096;
constexpr int kMaxReplacementNameUnits = 31;
constexpr int kMaxBlockDepth = 256;
constexpr size_t kValueAreaStackBytes = 256;
constexpr DWORD kScriptStackUnits = 512;
constexpr int kMinExpansionUnits = 1000;

// The expansion output: the largest capacity in units that may still double,
// and the largest block in bytes asked of the task allocator.
constexpr int kMaxDoublableExpansionUnits = 0x3FFFFFFF;
constexpr size_t kMaxExpansionBlockBytes = 0xFFFFFFFF;

}  // namespace trevik
