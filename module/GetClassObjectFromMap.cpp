#include "module/GetClassObjectFromMap.h"

#include "module/ComModuleRecord.h"

namespace trevik {
namespace {

ObjectMapEntry* FindClass(ComModuleRecord& record, REFCLSID clsid)
{
    ObjectMapEntry** end = record.endEntry;
    for (ObjectMapEntry** slot = record.firstEntry; slot < end; ++slot) {
        ObjectMapEntry* entry = *slot;
        if (entry && entry->getClassObject && IsEqualCLSID(*entry->classId, clsid))
            return entry;
    }
    return nullptr;
}

// Creates the entry's class object unless another thread did meanwhile.
HRESULT CreateClassObjectOnce(ComModuleRecord& record, ObjectMapEntry& entry)
{
    CriticalSectionLock lock(record.objectMapSection);
    if (entry.classObject.load(std::memory_order_acquire))
        return S_OK;
    void* created = nullptr;
    HRESULT hr = entry.getClassObject(reinterpret_cast<void*>(entry.createInstance), __uuidof(IUnknown), &created);
    if (created)
        entry.classObject.store(static_cast<IUnknown*>(created), std::memory_order_release);
    return hr;
}

}  // namespace

HRESULT GetClassObjectFromMap(ComModuleRecord* record, REFCLSID clsid, REFIID iid, void** out) noexcept
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!record)
        return E_INVALIDARG;
    if (record->sizeMarker == 0)
        return E_UNEXPECTED;

    ObjectMapEntry* entry = FindClass(*record, clsid);
    if (!entry)
        return CLASS_E_CLASSNOTAVAILABLE;

    HRESULT hr = S_OK;
    if (!entry->classObject.load(std::memory_order_acquire))
        hr = CreateClassObjectOnce(*record, *entry);
    if (IUnknown* classObject = entry->classObject.load(std::memory_order_acquire))
        hr = classObject->QueryInterface(iid, out);
    if (!*out && hr == S_OK)
        hr = CLASS_E_CLASSNOTAVAILABLE;
    return hr;
}

}  // namespace trevik
