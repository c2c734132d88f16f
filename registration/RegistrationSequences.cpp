#include "registration/RegistrationSequences.h"

#include "Identifiers.h"
#include "module/ComModuleRecord.h"
#include "platform/Constants.h"
#include "platform/PerUserRegistration.h"
#include "registration/ApplyRegistryScript.h"
#include "registration/ModuleTypeLibrary.h"
#include "registration/UpdateClassCategories.h"

namespace trevik {
namespace {

// Runs a sequence under the system default locale, so that scripts convert
// with its code page, and gives the caller's locale back on every path.
class RegistrationLocale {
public:
    RegistrationLocale() : saved_(GetThreadLocale()) { SetThreadLocale(kRegistrationLocale); }
    RegistrationLocale(const RegistrationLocale&) = delete;
    RegistrationLocale& operator=(const RegistrationLocale&) = delete;
    ~RegistrationLocale() { SetThreadLocale(saved_); }

private:
    LCID saved_;
};

const ReplacementPair kAppIdReplacements[] = {{L"APPID", kAppIdText}, {nullptr, nullptr}};

// Calls `step` for each entry until one fails; that result, or S_OK.
template <class Step>
HRESULT ForEachClass(ComModuleRecord& objectMap, Step step)
{
    HRESULT hr = S_OK;
    for (ObjectMapEntry** slot = objectMap.firstEntry; slot < objectMap.endEntry && SUCCEEDED(hr); ++slot)
        if (*slot)
            hr = step(**slot);
    return hr;
}

HRESULT RegisterClass(ObjectMapEntry& entry)
{
    HRESULT hr = entry.updateRegistry(TRUE);
    if (FAILED(hr))
        return hr;
    return UpdateClassCategories(*entry.classId, entry.getCategoryMap(), true);
}

HRESULT UnregisterClass(ObjectMapEntry& entry)
{
    HRESULT hr = UpdateClassCategories(*entry.classId, entry.getCategoryMap(), false);
    if (FAILED(hr))
        return hr;
    return entry.updateRegistry(FALSE);
}

}  // namespace

HRESULT RunRegistration(ComModuleRecord& objectMap)
{
    RegistrationLocale locale;
    HRESULT hr = ApplyRegistryScript(kAppIdScriptResource, true, kAppIdReplacements);
    if (FAILED(hr))
        return hr;
    hr = ForEachClass(objectMap, RegisterClass);
    if (FAILED(hr))
        return hr;
    return RegisterModuleTypeLibrary(objectMap.typeLibraryModule, nullptr);
}

HRESULT RunUnregistration(ComModuleRecord& objectMap)
{
    RegistrationLocale locale;
    HRESULT hr = ForEachClass(objectMap, UnregisterClass);
    if (FAILED(hr))
        return hr;
    hr = UnregisterModuleTypeLibrary(objectMap.typeLibraryModule, nullptr);
    if (FAILED(hr))
        return hr;
    return ApplyRegistryScript(kAppIdScriptResource, false, kAppIdReplacements);
}

bool IsUserCommandLine(LPCWSTR commandLine)
{
    static const wchar_t kUser[] = L"user";
    for (size_t i = 0; i < sizeof(kUser) / sizeof(kUser[0]); ++i) {
        wchar_t unit = commandLine[i];
        if (unit >= L'A' && unit <= L'Z')
            unit = static_cast<wchar_t>(unit - L'A' + L'a');
        if (unit != kUser[i])
            return false;
    }
    return true;
}

HRESULT InstallServer(ComModuleRecord& objectMap, BOOL install, LPCWSTR commandLine)
{
    if (commandLine && IsUserCommandLine(commandLine))
        EnablePerUserRegistration();
    if (!install)
        return RunUnregistration(objectMap);
    HRESULT hr = RunRegistration(objectMap);
    if (FAILED(hr))
        RunUnregistration(objectMap);
    return hr;
}

}  // namespace trevik
