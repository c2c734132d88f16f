#include "registration/RegistrationSequences.h"

#include "Identifiers.h"
#include "module/ComModuleRecord.h"
#include "platform/Constants.h"
#include "registrar/UndoJournal.h"
#include "registration/ApplyRegistryScript.h"
#include "registration/ModuleTypeLibrary.h"
#include "registration/RegistrationLock.h"
#include "registration/UpdateClassCategories.h"
#include "resources/ResourceIds.h"

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

// Keeps the first failure of steps that all run.
class FirstFailure {
public:
    void Keep(HRESULT hr)
    {
        if (SUCCEEDED(result_))
            result_ = FAILED(hr) ? hr : S_OK;
    }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_ = S_OK;
};

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

// The registration steps, each change recorded in the run's journal.
HRESULT RegisterAll(ComModuleRecord& objectMap, const RegistrationRun& run)
{
    HRESULT hr = ApplyRegistryScript(TREVIK_APPID_SCRIPT_RESOURCE, true, kAppIdReplacements, run);
    if (FAILED(hr))
        return hr;
    hr = ForEachClass(objectMap, [&run](ObjectMapEntry& entry) {
        HRESULT hr = entry.updateRegistry(TRUE, run);
        if (FAILED(hr))
            return hr;
        return UpdateClassCategories(*entry.classId, entry.getCategoryMap(), true);
    });
    if (FAILED(hr))
        return hr;
    return RegisterModuleTypeLibrary(objectMap.typeLibraryModule, nullptr, run.perUser);
}

// All or nothing: a failing step takes back every change of the steps
// before it. The type library is the last step, so a failure never follows
// its registration.
HRESULT RegisterUnderLock(ComModuleRecord& objectMap, bool perUser)
{
    RegistrationLocale locale;
    CUndoJournal journal;
    HRESULT hr = RegisterAll(objectMap, {perUser, &journal});
    if (FAILED(hr))
        journal.RollBackTo(0);
    return hr;
}

// Every step runs, so that nothing of the library is stranded by an
// earlier failure; the first failure is returned.
HRESULT UnregisterUnderLock(ComModuleRecord& objectMap, bool perUser)
{
    RegistrationLocale locale;
    const RegistrationRun run{perUser, nullptr};
    FirstFailure result;
    objectMap.ForEachEntry([&](ObjectMapEntry& entry) {
        result.Keep(UpdateClassCategories(*entry.classId, entry.getCategoryMap(), false));
        result.Keep(entry.updateRegistry(FALSE, run));
    });
    result.Keep(UnregisterModuleTypeLibrary(objectMap.typeLibraryModule, nullptr, perUser));
    result.Keep(ApplyRegistryScript(TREVIK_APPID_SCRIPT_RESOURCE, false, kAppIdReplacements, run));
    return result.Result();
}

}  // namespace

HRESULT RunRegistration(ComModuleRecord& objectMap, bool perUser)
{
    RegistrationLock lock;
    HRESULT hr = lock.Acquire();
    if (FAILED(hr))
        return hr;
    return RegisterUnderLock(objectMap, perUser);
}

HRESULT RunUnregistration(ComModuleRecord& objectMap, bool perUser)
{
    RegistrationLock lock;
    HRESULT hr = lock.Acquire();
    if (FAILED(hr))
        return hr;
    return UnregisterUnderLock(objectMap, perUser);
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

HRESULT InstallServer(ComModuleRecord& objectMap, BOOL install, bool perUser)
{
    RegistrationLock lock;
    HRESULT hr = lock.Acquire();
    if (FAILED(hr))
        return hr;
    // A failed registration has already taken itself back, so a previous
    // registration stays as it was.
    return install ? RegisterUnderLock(objectMap, perUser) : UnregisterUnderLock(objectMap, perUser);
}

}  // namespace trevik
