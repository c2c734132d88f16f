#include "module/ObjectMap.h"

#include "automation/CZuTrevikHelper.h"
#include "com/CComClassFactory.h"
#include "module/ModuleObject.h"
#include "registration/ApplyRegistryScript.h"
#include "resources/ResourceIds.h"

namespace trevik {
namespace {

ObjectMapEntry* FindClass(ComModuleRecord& record, REFCLSID clsid)
{
    return WalkObjectMap(record.firstEntry, record.endEntry, [&clsid](ObjectMapEntry& entry) {
        return !(entry.getClassObject && IsEqualCLSID(*entry.classId, clsid));
    });
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

// Constant-initialised, so it is complete before the first record is built.
// The class registers through its class script, run from the library's
// resources.
ObjectMapEntry zuTrevikHelperEntry = {
    CZuTrevikHelper::classId,
    &UpdateRegistryFromResource<TREVIK_CLASS_SCRIPT_RESOURCE>,
    &CreateClassFactory,
    &CreateInstanceNoAggregation,
    nullptr,
    &CZuTrevikHelper::GetCategoryMap,
    &CZuTrevikHelper::ObjectMain,
};

ComModuleRecord::ComModuleRecord(HMODULE typeLibraryModule, ObjectMapEntry** first, ObjectMapEntry** end) noexcept
    : typeLibraryModule(typeLibraryModule), firstEntry(first), endEntry(end)
{
    if (FAILED(objectMapSection.Setup()))
        SetLoadFailed();
    else
        sizeMarker = sizeof(*this);
}

ComModuleRecord::~ComModuleRecord()
{
    Terminate();
}

void ComModuleRecord::NotifyEntries(bool starting)
{
    ForEachEntry([starting](ObjectMapEntry& entry) { entry.objectMain(starting); });
}

void ComModuleRecord::Terminate() noexcept
{
    if (sizeMarker == 0)
        return;
    ForEachEntry([](ObjectMapEntry& entry) {
        if (IUnknown* classObject = entry.classObject.exchange(nullptr))
            classObject->Release();
    });
    objectMapSection.Destroy();
    sizeMarker = 0;
}

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

HRESULT CreateInstanceNoAggregation(void* outer, REFIID iid, void** out) noexcept
{
    if (!outer)
        return CreateHelperObject(nullptr, iid, out);
    if (!out)
        return E_POINTER;
    *out = nullptr;
    return CLASS_E_NOAGGREGATION;
}

}  // namespace trevik
