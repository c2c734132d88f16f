#ifdef TREVIK_FAULT_INJECTION

#include "module/RecordingMapEntry.h"

#include <string>

#include "module/ModuleRecords.h"
#include "platform/FaultInjection.h"

namespace trevik {
namespace {

// {5C1B0E4A-6F0D-4C53-9E57-2A7D3B1F0C11}: no class of the library.
const CLSID kRecordingClassId = {0x5c1b0e4a, 0x6f0d, 0x4c53, {0x9e, 0x57, 0x2a, 0x7d, 0x3b, 0x1f, 0x0c, 0x11}};

void Append(const std::wstring& line)
{
    wchar_t recorded[1024] = L"";
    GetEnvironmentVariableW(kNotificationsVariable, recorded, ARRAYSIZE(recorded));
    SetEnvironmentVariableW(kNotificationsVariable, (recorded + line + L";").c_str());
}

std::wstring RecordState()
{
    return std::wstring(L" base=") + (baseModule.sizeMarker ? L"1" : L"0") +
           L" map=" + (comModule.sizeMarker ? L"1" : L"0") +
           L" dllmain=" + (PerUserRegistration() ? L"1" : L"0");
}

void RecordTermination(void*)
{
    Append(L"callback");
}

void RecordNotification(bool starting)
{
    if (!starting) {
        Append(L"stop" + RecordState());
        return;
    }
    HRESULT added = AddTerminationCallback(globalModule, RecordTermination, nullptr);
    Append(L"start" + RecordState() + (SUCCEEDED(added) ? L" callback=added" : L" callback=refused"));
}

HRESULT UpdateNothing(BOOL, const RegistrationRun&)
{
    return S_OK;
}

const CategoryMapEntry* NoCategories()
{
    return nullptr;
}

ObjectMapEntry recordingEntry = {
    &kRecordingClassId, &UpdateNothing, nullptr, nullptr, nullptr, &NoCategories, &RecordNotification,
};

}  // namespace

ObjectMapEntry* RecordingMapEntryIfArmed()
{
    return ShouldInjectFault(Fault::RecordingMapEntry) ? &recordingEntry : nullptr;
}

}  // namespace trevik

#endif
