#include "platform/HResult.h"

namespace trevik {

HRESULT HResultFromWin32(LONG code)
{
    if (code <= 0)
        return static_cast<HRESULT>(code);
    return static_cast<HRESULT>((static_cast<ULONG>(code) & 0xFFFF) | 0x80070000u);
}

HRESULT HResultFromLastError()
{
    return HResultFromWin32(static_cast<LONG>(GetLastError()));
}

}  // namespace trevik
