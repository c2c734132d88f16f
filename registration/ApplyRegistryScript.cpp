#include "registration/ApplyRegistryScript.h"

#include "platform/ModuleFileName.h"
#include "registrar/RegObject.h"

namespace trevik {
namespace {

// A module path with every quote doubled, as a quoted script string needs it.
constexpr size_t kEscapedPathUnits = 2 * kMaxPathUnits;

// Writes `path` with every single quote doubled, as a quoted script string
// needs it; at most kEscapedPathUnits - 1 units and a NUL.
void EscapeQuotes(const wchar_t* path, wchar_t* escaped)
{
    size_t written = 0;
    for (const wchar_t* unit = path; *unit && written < kEscapedPathUnits - 1; ++unit) {
        escaped[written++] = *unit;
        if (*unit == L'\'' && written < kEscapedPathUnits - 1)
            escaped[written++] = L'\'';
    }
    escaped[written] = L'\0';
}

void AddExtraPairs(CReplacementMap& replacements, const ReplacementPair* pairs)
{
    for (const ReplacementPair* pair = pairs; pair && pair->name; ++pair)
        if (pair->value)
            replacements.AddPair(pair->name, pair->value);
}

}  // namespace

HRESULT ApplyRegistryScript(UINT16 resourceId, bool registering, const ReplacementPair* extraPairs,
                            const RegistrationRun& run)
{
    CRegObject registrar;
    registrar.RecordChangesIn(run.journal);
    registrar.SetPerUserClasses(run.perUser);
    AddExtraPairs(registrar.Replacements(), extraPairs);
    HRESULT hr = run.putCommonReplacements ? run.putCommonReplacements(&registrar) : S_OK;
    if (FAILED(hr))
        return hr;

    wchar_t path[kMaxPathUnits];
    hr = ReadModuleFileName(run.module, path);
    if (FAILED(hr))
        return hr;

    wchar_t escaped[kEscapedPathUnits];
    EscapeQuotes(path, escaped);
    if (!registrar.Replacements().AddPair(L"Module", escaped) ||
        !registrar.Replacements().AddPair(L"Module_Raw", escaped))
        return E_OUTOFMEMORY;

    return registrar.RunScriptResource(path, MAKEINTRESOURCEW(resourceId), L"REGISTRY", registering);
}

}  // namespace trevik
