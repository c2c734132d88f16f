#include "module/CtrevikModule.h"

namespace trevik {

HRESULT CtrevikModule::AddCommonReplacements(IRegistrarBase* registrar)
{
    return registrar->PutReplacement(L"APPID", kAppIdText);
}

}  // namespace trevik
