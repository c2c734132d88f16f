#include "WixFragmentWriter.h"

#include <cwchar>

namespace regcapture {
namespace {

const wchar_t kHead[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<Wix xmlns=\"http://wixtoolset.org/schemas/v4/wxs\">\r\n"
    L"  <Fragment>\r\n";
const wchar_t kTail[] =
    L"    </ComponentGroup>\r\n"
    L"  </Fragment>\r\n"
    L"</Wix>\r\n";
// A folder reference ends in "]" and expands with a backslash at its end.
const wchar_t kSeparatorEnds[] = L"\\]";

const struct {
    Root root;
    const wchar_t* name;
} kRoots[] = {{Root::ClassesRoot, L"HKCR"}, {Root::CurrentUser, L"HKCU"}, {Root::LocalMachine, L"HKLM"}};

std::wstring XmlEscaped(const std::wstring& text)
{
    std::wstring escaped;
    for (wchar_t unit : text) {
        switch (unit) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        default: escaped += unit;
        }
    }
    return escaped;
}

// Text the installer reads as a formatted string yet must keep as it is:
// brackets are escaped for the installer, then markup characters for XML.
std::wstring Literal(const std::wstring& text)
{
    std::wstring escaped;
    for (wchar_t unit : text) {
        if (unit == L'[' || unit == L']')
            escaped += std::wstring(L"[\\") + unit + L"]";
        else
            escaped += unit;
    }
    return XmlEscaped(escaped);
}

std::wstring Attribute(const wchar_t* name, const std::wstring& escapedValue)
{
    return L" " + std::wstring(name) + L"=\"" + escapedValue + L"\"";
}

// The Type and Value attributes of a value, or false for a type the
// fragment has no form for.
bool TypeAndValue(const CapturedValue& value, const InstallFolder& installFolder, std::wstring& attributes)
{
    std::wstring text;
    if (StringData(value, text)) {
        std::optional<std::wstring> rest = installFolder.PathAfterFolder(text, kSeparatorEnds);
        std::wstring escaped = rest ? XmlEscaped(installFolder.Folder()) + Literal(*rest) : Literal(text);
        attributes = Attribute(L"Type", value.type == REG_SZ ? L"string" : L"expandable") + Attribute(L"Value", escaped);
        return true;
    }
    if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD number = *reinterpret_cast<const DWORD*>(value.data.data());
        attributes = Attribute(L"Type", L"integer") + Attribute(L"Value", std::to_wstring(number));
        return true;
    }
    if (value.type == REG_BINARY && !value.data.empty()) {
        std::wstring digits;
        wchar_t pair[3];
        for (BYTE byte : value.data) {
            std::swprintf(pair, 3, L"%02X", byte);
            digits += pair;
        }
        attributes = Attribute(L"Type", L"binary") + Attribute(L"Value", digits);
        return true;
    }
    return false;
}

std::wstring KeyAttributes(const wchar_t* rootName, const CapturedKey& key)
{
    return Attribute(L"Root", rootName) + Attribute(L"Key", Literal(key.path));
}

// The component of one root key's entries; the first value is its key path.
bool AppendComponent(const CapturedRegistry& captured, Root root, const wchar_t* rootName,
                     const InstallFolder& installFolder, std::wstring& text, std::wstring& problem)
{
    std::wstring body;
    bool keyPathTaken = false;
    for (const CapturedKey& key : captured) {
        if (key.root != root)
            continue;
        if (key.values.empty()) {
            body += L"        <RegistryKey" + KeyAttributes(rootName, key) + L" ForceCreateOnInstall=\"yes\" />\r\n";
            continue;
        }
        body += L"        <RegistryKey" + KeyAttributes(rootName, key) + L">\r\n";
        for (const CapturedValue& value : key.values) {
            std::wstring attributes;
            if (!TypeAndValue(value, installFolder, attributes)) {
                problem = L"value \"" + value.name + L"\" of " + rootName + L"\\" + key.path + L" has type " +
                          std::to_wstring(value.type) + L", which the fragment cannot carry";
                return false;
            }
            if (!value.name.empty())
                attributes = Attribute(L"Name", Literal(value.name)) + attributes;
            if (!keyPathTaken)
                attributes += Attribute(L"KeyPath", L"yes");
            keyPathTaken = true;
            body += L"          <RegistryValue" + attributes + L" />\r\n";
        }
        body += L"        </RegistryKey>\r\n";
    }
    if (!body.empty())
        text += L"      <Component" + Attribute(L"Id", std::wstring(kComponentGroupId) + L"." + rootName) + L">\r\n" +
                body + L"      </Component>\r\n";
    return true;
}

}  // namespace

bool WixFragmentText(const CapturedRegistry& captured, const InstallFolder& installFolder, std::wstring& text,
                     std::wstring& problem)
{
    text = kHead;
    text += L"    <ComponentGroup" + Attribute(L"Id", kComponentGroupId) + Attribute(L"Directory", L"TARGETDIR") +
            L">\r\n";
    for (const auto& root : kRoots)
        if (!AppendComponent(captured, root.root, root.name, installFolder, text, problem))
            return false;
    text += kTail;
    return true;
}

}  // namespace regcapture
