#include "registration/RegistrationSequences.h"

#include "Identifiers.h"
#include "platform/ScopeGuard.h"
#include "registrar/UndoJournal.h"
#include "registration/ModuleTypeLibrary.h"
#include "registration/RegistrationLock.h"
#include "registration/UpdateClassCategories.h"
#include "resources/ResourceIds.h"

namespace trevik {
namespace {

// Thread locale that the registration sequences run under.
constexpr LCID kRegistrationLocale = LOCALE_SYSTEM_DEFAULT;

// Runs a sequence under the system default locale, so that scripts convert
// with its code page; the guard gives the caller's locale back.
auto UnderRegistrationLocale()
{
    LCID saved = GetThreadLocale();
    SetThreadLocale(kRegistrationLocale);
    return ScopeGuard([saved] { SetThreadLocale(saved); });
}

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

// The run of one sequence over `library`.
RegistrationRun RunOf(const RegisteredLibrary& library, bool perUser, CUndoJournal* journal)
{
    return {library.module, library.putCommonReplacements, perUser, journal};
}

// The registration steps, each change recorded in the run's journal.
HRESULT RegisterAll(const RegisteredLibrary& library, const RegistrationRun& run)
{
    HRESULT hr = ApplyRegistryScript(TREVIK_APPID_SCRIPT_RESOURCE, true, kAppIdReplacements, run);
    if (FAILED(hr))
        return hr;
    WalkObjectMap(library.firstEntry, library.endEntry, [&](ObjectMapEntry& entry) {
        hr = entry.updateRegistry(TRUE, run);
        if (SUCCEEDED(hr))
            hr = UpdateClassCategories(*entry.classId, entry.getCategoryMap(), true);
        return SUCCEEDED(hr);
    });
    if (FAILED(hr))
        return hr;
    return RegisterModuleTypeLibrary(library.module, nullptr, run.perUser);
}

// All or nothing: a failing step takes back every change of the steps
// before it. The type library is the last step, so a failure never follows
// its registration.
HRESULT RegisterUnderLock(const RegisteredLibrary& library, bool perUser)
{
    auto locale = UnderRegistrationLocale();
    CUndoJournal journal;
    HRESULT hr = RegisterAll(library, RunOf(library, perUser, &journal));
    if (FAILED(hr))
        journal.RollBackTo(0);
    return hr;
}

// Every step runs, so that nothing of the library is stranded by an
// earlier failure; the first failure is returned.
HRESULT UnregisterUnderLock(const RegisteredLibrary& library, bool perUser)
{
    auto locale = UnderRegistrationLocale();
    const RegistrationRun run = RunOf(library, perUser, nullptr);
    FirstFailure result;
    WalkObjectMap(library.firstEntry, library.endEntry, [&](ObjectMapEntry& entry) {
        result.Keep(UpdateClassCategories(*entry.classId, entry.getCategoryMap(), false));
        result.Keep(entry.updateRegistry(FALSE, run));
        return true;
    });
    result.Keep(UnregisterModuleTypeLibrary(library.module, nullptr, perUser));
    result.Keep(ApplyRegistryScript(TREVIK_APPID_SCRIPT_RESOURCE, false, kAppIdReplacements, run));
    return result.Result();
}

// Runs `sequence` holding the session's registration lock of the class; the
// lock's failure when it cannot be taken.
template <class Sequence>
HRESULT UnderRegistrationLock(Sequence sequence)
{
    RegistrationLock lock;
    HRESULT hr = lock.Acquire();
    return FAILED(hr) ? hr : sequence();
}

}  // namespace

HRESULT RunRegistration(const RegisteredLibrary& library, bool perUser)
{
    return UnderRegistrationLock([&] { return RegisterUnderLock(library, perUser); });
}

HRESULT RunUnregistration(const RegisteredLibrary& library, bool perUser)
{
    return UnderRegistrationLock([&] { return UnregisterUnderLock(library, perUser); });
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

HRESULT InstallServer(const RegisteredLibrary& library, BOOL install, bool perUser)
{
    // A failed registration has already taken itself back, so a previous
    // registration stays as it was.
    return install ? RunRegistration(library, perUser) : RunUnregistration(library, perUser);
}

}  // namespace trevik
