#include "platform/ModuleFileName.h"

#include "platform/HResult.h"

namespace trevik {

HRESULT ReadModuleFileName(HMODULE module, wchar_t* path)
{
    DWORD length = GetModuleFileNameW(module, path, kMaxPathUnits);
    if (length == 0)
        return HResultFromLastError();
    if (length == kMaxPathUnits)
        return HResultFromWin32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

}  // namespace trevik
