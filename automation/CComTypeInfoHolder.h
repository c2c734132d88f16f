// The type information of one dual interface, loaded once from its registered
// type library and shared by every object on every thread, with a cache of its
// member names for single-name lookups.
#pragma once
#include <oaidl.h>

#include <atomic>

#include "com/ServingModule.h"
#include "platform/BString.h"

namespace trevik {

// Type-library version that makes the holder load the library embedded in
// the serving module's own file instead of the registered one.
constexpr WORD kTypeLibraryFromModuleVersion = 0xFFFF;

struct NameCacheEntry {
    BString name;  // null until filled
    int length = 0;
    DISPID id = DISPID_UNKNOWN;
};

class CComTypeInfoHolder {
public:
    constexpr CComTypeInfoHolder(const IID* iid, const GUID* libraryId, WORD majorVersion, WORD minorVersion) noexcept
        : iid(iid), libraryId(libraryId), majorVersion(majorVersion), minorVersion(minorVersion)
    {
    }
    CComTypeInfoHolder(const CComTypeInfoHolder&) = delete;
    CComTypeInfoHolder& operator=(const CComTypeInfoHolder&) = delete;

    // The four IDispatch operations of the objects that share this holder.
    // A type library that cannot be loaded makes the last three return the
    // load's failure; a later call tries again.
    static HRESULT GetTypeInfoCount(UINT* count) noexcept;
    HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) noexcept;
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept;
    HRESULT Invoke(IDispatch* instance, DISPID id, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                   EXCEPINFO* exception, UINT* argumentError) noexcept;

    // Loads the type information for the first caller's locale and builds the
    // name cache, under `module`'s static-data critical section, and has the
    // module give both back at unload; returns at once when both are there.
    // E_OUTOFMEMORY when only the cache is missing. Without `module`, the
    // module that serves the library's objects.
    HRESULT LoadTypeInfo(LCID locale, IServingModule& module) noexcept;
    HRESULT LoadTypeInfo(LCID locale) noexcept;
    // One entry per function of the type; the cache is published only once
    // every entry is filled. S_OK also when the attributes cannot be read.
    HRESULT BuildNameCache(ITypeInfo* typeInfo) noexcept;
    // The module's termination callback: gives back the type information and
    // the name cache.
    static void ReleaseTypeInfo(void* holder) noexcept;

    const IID* const iid;
    const GUID* const libraryId;
    const WORD majorVersion;
    const WORD minorVersion;
    // Written under the static-data critical section, read without it: each
    // is stored only once what it points to is complete.
    std::atomic<ITypeInfo*> typeInfo{nullptr};
    std::atomic<NameCacheEntry*> nameCache{nullptr};
    int entryCount = 0;

private:
    bool IsReady() const noexcept;
    // The type information, loaded first unless type information and name
    // cache are both there; null (with the load's result) when there is none.
    ITypeInfo* ReadyTypeInfo(LCID locale, HRESULT& loadResult) noexcept;
    HRESULT LoadTypeLibrary(LCID locale, IServingModule& module, ITypeLib** library) noexcept;
    HRESULT KeepTypeInfo(ITypeLib* library, IServingModule& module) noexcept;
    bool FindInNameCache(LPCOLESTR name, DISPID* id) const noexcept;
};

}  // namespace trevik
