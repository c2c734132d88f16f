// The module object of trevik.
#pragma once
#include "Identifiers.h"
#include "module/CAtlDllModuleT.h"

namespace trevik {

class CtrevikModule : public CAtlDllModuleT<CtrevikModule> {
public:
    static constexpr const GUID* libraryId = &LIBID_trevikLib;

    using CAtlDllModuleT::CAtlDllModuleT;

    // "APPID": the module's application identifier in braces.
    HRESULT AddCommonReplacements(IRegistrarBase* registrar) override;
};

}  // namespace trevik
