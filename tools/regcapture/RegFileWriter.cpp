#include "RegFileWriter.h"

#include <cwchar>

namespace regcapture {
namespace {

const wchar_t kHeader[] = L"Windows Registry Editor Version 5.00\r\n";
const wchar_t kLineEnd[] = L"\r\n";
// Folder names after which a path goes on without another separator.
const wchar_t kBackslash[] = L"\\";

const wchar_t* RootName(Root root)
{
    switch (root) {
    case Root::ClassesRoot:
        return L"HKEY_CLASSES_ROOT";
    case Root::CurrentUser:
        return L"HKEY_CURRENT_USER";
    case Root::LocalMachine:
        return L"HKEY_LOCAL_MACHINE";
    }
    return L"";
}

std::wstring Quoted(const std::wstring& text)
{
    std::wstring quoted = L"\"";
    for (wchar_t unit : text) {
        if (unit == L'\\' || unit == L'"')
            quoted += L'\\';
        quoted += unit;
    }
    return quoted + L"\"";
}

// Line breaks cannot stand inside a quoted string; such text goes as bytes.
bool Quotable(const std::wstring& text)
{
    return text.find_first_of(L"\r\n") == std::wstring::npos;
}

std::wstring HexBytes(const std::vector<BYTE>& data)
{
    std::wstring text;
    wchar_t digits[4];
    for (size_t index = 0; index < data.size(); ++index) {
        std::swprintf(digits, 4, index ? L",%02x" : L"%02x", data[index]);
        text += digits;
    }
    return text;
}

std::wstring TypedHex(DWORD type, const std::vector<BYTE>& data)
{
    wchar_t prefix[16];
    std::swprintf(prefix, 16, L"hex(%lx):", type);
    return prefix + HexBytes(data);
}

std::vector<BYTE> TerminatedBytes(const std::wstring& text)
{
    auto bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

std::wstring Data(const CapturedValue& value, const InstallFolder& installFolder)
{
    std::wstring text;
    if (StringData(value, text)) {
        if (std::optional<std::wstring> rest = installFolder.PathAfterFolder(text, kBackslash))
            text = installFolder.Folder() + *rest;
        if (value.type == REG_SZ && Quotable(text))
            return Quoted(text);
        return TypedHex(value.type, TerminatedBytes(text));
    }
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        wchar_t number[16];
        std::swprintf(number, 16, L"dword:%08lx", *reinterpret_cast<const DWORD*>(value.data.data()));
        return number;
    }
    if (value.type == REG_BINARY)
        return L"hex:" + HexBytes(value.data);
    return TypedHex(value.type, value.data);
}

}  // namespace

std::wstring RegFileText(const CapturedRegistry& captured, const InstallFolder& installFolder)
{
    std::wstring text = kHeader;
    for (const CapturedKey& key : captured) {
        text += kLineEnd;
        text += L"[" + std::wstring(RootName(key.root)) + (key.path.empty() ? L"" : L"\\" + key.path) + L"]" + kLineEnd;
        for (const CapturedValue& value : key.values)
            text += (value.name.empty() ? L"@" : Quoted(value.name)) + L"=" + Data(value, installFolder) + kLineEnd;
    }
    return text + kLineEnd;
}

}  // namespace regcapture
