#include "registration/ApplyRegistryScript.h"

namespace trevik {

HRESULT ApplyRegistryScript(UINT16, bool, const ReplacementPair*)
{
    return E_NOTIMPL;
}

}  // namespace trevik
