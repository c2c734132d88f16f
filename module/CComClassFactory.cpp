#include "module/CComClassFactory.h"

#include "module/CAtlModule.h"

namespace trevik {

HRESULT CComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer && !IsEqualIID(iid, __uuidof(IUnknown)))
        return CLASS_E_NOAGGREGATION;
    return instanceCreator(outer, iid, out);
}

HRESULT CComClassFactory::LockServer(BOOL lock)
{
    if (lock)
        globalModule->LockModule();
    else
        globalModule->UnlockModule();
    return S_OK;
}

const InterfaceEntry* CComClassFactory::GetEntries()
{
    static const InterfaceEntry entries[] = {
        {&__uuidof(IClassFactory), InterfaceOffset<IClassFactory, CComClassFactory>(), kInterfaceAtOffset},
        {nullptr, 0, kEndOfTable},
    };
    return entries;
}

}  // namespace trevik
