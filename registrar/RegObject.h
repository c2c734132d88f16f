// The registrar: replacement values and registry scripts run from a module's
// resources.
#pragma once
#include <windows.h>

#include "registrar/IRegistrarBase.h"
#include "registrar/ReplacementMap.h"
#include "registrar/UndoJournal.h"

namespace trevik {

// Serves one registration call on one thread. It is not reference counted:
// AddRef and Release only answer, and the object lives as long as its owner
// keeps it.
class CRegObject : public IRegistrarBase {
public:
    CRegObject() = default;
    CRegObject(const CRegObject&) = delete;
    CRegObject& operator=(const CRegObject&) = delete;
    virtual ~CRegObject() = default;

    // E_NOTIMPL for every interface; `object` is not touched.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    // 1 and 0, whatever was taken before.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE PutReplacement(LPCOLESTR name, LPCOLESTR value) override;
    HRESULT STDMETHODCALLTYPE ResetReplacements() override;

    // The map the registration code fills directly before a run.
    CReplacementMap& Replacements() { return replacements_; }

    // Register runs record their changes in `journal`, which must outlive
    // them, so that the caller can take back a whole registration; without
    // one a run keeps a journal of its own.
    void RecordChangesIn(CUndoJournal* journal) { journal_ = journal; }

    // Runs move each top-level "HKCR" block of a script under
    // HKCU\Software\Classes while this is on.
    void SetPerUserClasses(bool perUser) { perUserClasses_ = perUser; }

    // Loads resource (`resourceName`, `resourceType`) of the module file
    // `modulePath` as a data file, reads it as 8-bit text in the calling
    // thread's ANSI code page and runs it (RunScript) in register or
    // unregister mode. Module, resource and conversion failures are the last
    // Win32 error as an HRESULT (an empty resource fails its conversion);
    // E_OUTOFMEMORY when the text cannot be held; script failures as RunScript.
    HRESULT RunScriptResource(LPCWSTR modulePath, LPCWSTR resourceName, LPCWSTR resourceType, bool registering);

private:
    CReplacementMap replacements_;
    CUndoJournal* journal_ = nullptr;
    bool perUserClasses_ = false;
};

}  // namespace trevik
