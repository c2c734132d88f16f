#include "module/ComModuleRecord.h"

#include "module/LoadFailure.h"

namespace trevik {

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

}  // namespace trevik
