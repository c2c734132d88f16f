#include "ErrorText.h"

#include <cwchar>

namespace regcapture {

std::wstring ErrorText(DWORD code)
{
    wchar_t number[16];
    std::swprintf(number, 16, L"0x%08lX", code);
    wchar_t* buffer = nullptr;
    DWORD units = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", buffer ? units : 0);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text.empty() ? number : number + (L" " + text);
}

}  // namespace regcapture
