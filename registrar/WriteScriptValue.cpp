#include "registrar/WriteScriptValue.h"

#include <oleauto.h>

#include <cwchar>
#include <memory>
#include <new>

#include "platform/FaultInjection.h"
#include "platform/HResult.h"

namespace trevik {
namespace {

// Value areas up to this size are kept on the stack.
constexpr size_t kValueAreaStackBytes = 256;

constexpr VARTYPE kMultiString = VT_BSTR | VT_BYREF;

// A zero-filled area for value data: on the stack up to kValueAreaStackBytes,
// from the heap beyond, released on every path.
class ValueArea {
public:
    ValueArea(const ValueArea&) = delete;
    ValueArea& operator=(const ValueArea&) = delete;

    explicit ValueArea(size_t bytes)
    {
        if (bytes <= kValueAreaStackBytes) {
            data_ = stackArea_;
        } else if (!ShouldInjectFault(Fault::ValueArea)) {
            heapArea_.reset(new (std::nothrow) BYTE[bytes]());
            data_ = heapArea_.get();
        }
    }

    BYTE* Bytes() const { return data_; }
    wchar_t* Units() const { return reinterpret_cast<wchar_t*>(data_); }

private:
    alignas(wchar_t) BYTE stackArea_[kValueAreaStackBytes] = {};
    std::unique_ptr<BYTE[]> heapArea_;
    BYTE* data_ = nullptr;
};

// The value a script entry writes, and how its old content is recorded.
struct ValueTarget {
    HKEY key;
    LPCWSTR name;
    ValueRecorder recorder;
};

LONG SetValue(const ValueTarget& target, DWORD type, const void* data, size_t bytes)
{
    if (target.recorder.journal) {
        LONG code = target.recorder.journal->ValueAboutToChange(target.key, *target.recorder.place, target.name);
        if (code != ERROR_SUCCESS)
            return code;
    }
    if (ShouldInjectFault(Fault::RegistryWrite))
        return kInjectedRegistryFailure;
    return RegSetValueExW(target.key, target.name, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(bytes));
}

HRESULT WriteString(const ValueTarget& target, LPCWSTR text)
{
    return HResultFromWin32(SetValue(target, REG_SZ, text, (std::wcslen(text) + 1) * sizeof(wchar_t)));
}

HRESULT WriteNumber(const ValueTarget& target, LPCWSTR text)
{
    // A text that does not convert leaves the number unset: it is refused,
    // never written.
    ULONG number = 0;
    if (FAILED(VarUI4FromStr(const_cast<LPOLESTR>(text), 0, 0, &number)))
        return DISP_E_EXCEPTION;
    DWORD data = number;
    return HResultFromWin32(SetValue(target, REG_DWORD, &data, sizeof(data)));
}

HRESULT WriteBinary(const ValueTarget& target, LPCWSTR digits)
{
    size_t length = std::wcslen(digits);
    if (length % 2 != 0)
        return E_FAIL;
    ValueArea area(length / 2);
    if (!area.Bytes())
        return E_FAIL;
    for (size_t i = 0; i < length; ++i)
        area.Bytes()[i / 2] |= HexDigitValue(digits[i]) << (i % 2 == 0 ? 4 : 0);
    return HResultFromWin32(SetValue(target, REG_BINARY, area.Bytes(), length / 2));
}

// Units of a list of strings up to and including its first empty string.
size_t ListUnits(const wchar_t* list)
{
    size_t units = 0;
    for (;;) {
        size_t stringUnits = std::wcslen(list + units) + 1;
        units += stringUnits;
        if (stringUnits == 1)
            return units;
    }
}

// Splits the text at each backslash-zero pair and closes the list with an
// empty string; the data written ends at the list's first empty string.
HRESULT WriteMultiString(const ValueTarget& target, LPCWSTR text)
{
    size_t length = std::wcslen(text);
    ValueArea area((length + 2) * sizeof(wchar_t));
    if (!area.Units())
        return HResultFromWin32(ERROR_OUTOFMEMORY);
    wchar_t* out = area.Units();
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == L'\\' && text[i + 1] == L'0') {
            *out++ = L'\0';
            ++i;
        } else {
            *out++ = text[i];
        }
    }
    out[0] = L'\0';
    out[1] = L'\0';
    return HResultFromWin32(SetValue(target, REG_MULTI_SZ, area.Units(), ListUnits(area.Units()) * sizeof(wchar_t)));
}

}  // namespace

VARTYPE ValueTypeFromLetter(LPCWSTR letter)
{
    static const struct {
        LPCWSTR letter;
        VARTYPE kind;
    } kLetters[] = {{L"S", VT_BSTR}, {L"M", kMultiString}, {L"D", VT_UI4}, {L"B", VT_UI1}};
    for (const auto& entry : kLetters)
        if (lstrcmpiW(letter, entry.letter) == 0)
            return entry.kind;
    return VT_EMPTY;
}

BYTE HexDigitValue(wchar_t unit)
{
    if (unit >= L'0' && unit <= L'9')
        return static_cast<BYTE>(unit - L'0');
    if (unit >= L'A' && unit <= L'F')
        return static_cast<BYTE>(unit - L'A' + 10);
    if (unit >= L'a' && unit <= L'f')
        return static_cast<BYTE>(unit - L'a' + 10);
    return 0;
}

HRESULT WriteScriptValue(CRegScriptParser& parser, HKEY key, LPCWSTR valueName, Token& token,
                         ValueRecorder recorder)
{
    Token text;
    HRESULT hr = parser.ReadToken(text);
    if (FAILED(hr))
        return hr;
    VARTYPE kind = ValueTypeFromLetter(text);
    if (kind == VT_EMPTY)
        return DISP_E_EXCEPTION;
    hr = parser.ReadToken(text);
    if (FAILED(hr))
        return hr;

    const ValueTarget target{key, valueName, recorder};
    switch (kind) {
    case VT_BSTR:
        hr = WriteString(target, text);
        break;
    case kMultiString:
        hr = WriteMultiString(target, text);
        break;
    case VT_UI4:
        hr = WriteNumber(target, text);
        break;
    default:
        hr = WriteBinary(target, text);
        break;
    }
    if (FAILED(hr))
        return hr;
    return parser.ReadToken(token);
}

}  // namespace trevik
