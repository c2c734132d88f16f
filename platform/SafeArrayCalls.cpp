#include "platform/SafeArrayCalls.h"

#include <oleauto.h>

#include "platform/FaultInjection.h"

namespace trevik {

SAFEARRAY* CreateVariantArray(ULONG count)
{
    if (ShouldInjectFault(Fault::ArrayCreation))
        return nullptr;
    SAFEARRAYBOUND bound = {count, 0};
    return SafeArrayCreate(VT_VARIANT, 1, &bound);
}

HRESULT PutArrayElement(SAFEARRAY* array, LONG index, VARIANT* element)
{
    if (ShouldInjectFault(Fault::ArrayStore))
        return E_OUTOFMEMORY;
    return SafeArrayPutElement(array, &index, element);
}

}  // namespace trevik
