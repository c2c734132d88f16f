// The resources of the built trevik.dll, read from its file as data: which
// resources it carries in which languages, the two registry scripts byte for
// byte, the type library, the string table, the version block and the
// manifest.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Identifiers.h"
#include "dll/LoadedLibrary.h"
#include "platform/ComPtr.h"
#include "support/BuildPaths.h"

namespace {

constexpr WORD kEnglishUs = 1033;
constexpr WORD kRussian = 1049;
constexpr WORD kProjectNameString = 100;
// Strings are stored in blocks of 16; string n is entry n % 16 of block n / 16 + 1.
constexpr WORD kStringsPerBlock = 16;

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; *text; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

std::string RegistryText(REFGUID guid)
{
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return Narrow(text);
}

struct ScriptLine {
    int tabs;
    std::string text;
};

// 8-bit text, every line indented by TABs and ended by CR LF.
std::string ScriptBytes(const std::vector<ScriptLine>& lines)
{
    std::string bytes;
    for (const ScriptLine& line : lines)
        bytes += std::string(line.tabs, '\t') + line.text + "\r\n";
    return bytes;
}

WORD WordAt(const std::string& bytes, size_t offset)
{
    return static_cast<WORD>(static_cast<BYTE>(bytes[offset]) | static_cast<BYTE>(bytes[offset + 1]) << 8);
}

std::wstring TextOf(const std::string& utf16)
{
    std::wstring text;
    for (size_t at = 0; at + 1 < utf16.size() && WordAt(utf16, at) != 0; at += 2)
        text += static_cast<wchar_t>(WordAt(utf16, at));
    return text;
}

size_t Align4(size_t offset)
{
    return (offset + 3) & ~static_cast<size_t>(3);
}

// One node of a version block: length, value length and type words, a
// NUL-terminated key, the value and the children, each part 32-bit aligned.
struct VersionNode {
    std::wstring key;
    WORD type = 0;
    std::string value;
    std::vector<VersionNode> children;

    const VersionNode* Child(const std::wstring& childKey) const
    {
        for (const VersionNode& child : children)
            if (child.key == childKey)
                return &child;
        return nullptr;
    }
};

// False when a length leads outside the enclosing node.
bool ReadVersionNode(const std::string& block, size_t offset, size_t end, VersionNode& node)
{
    if (offset + 6 > end)
        return false;
    size_t nodeEnd = offset + WordAt(block, offset);
    WORD valueLength = WordAt(block, offset + 2);
    node.type = WordAt(block, offset + 4);
    if (nodeEnd > end || nodeEnd < offset + 6)
        return false;
    size_t at = offset + 6;
    for (; at + 2 <= nodeEnd && WordAt(block, at) != 0; at += 2)
        node.key += static_cast<wchar_t>(WordAt(block, at));
    at = Align4(at + 2);
    // A text value counts its length in UTF-16 units, a binary one in bytes.
    size_t valueBytes = node.type == 1 ? 2u * valueLength : valueLength;
    if (at + valueBytes > nodeEnd)
        return false;
    node.value = block.substr(at, valueBytes);
    for (at = Align4(at + valueBytes); at < nodeEnd; at = Align4(at + WordAt(block, at))) {
        node.children.emplace_back();
        if (!ReadVersionNode(block, at, nodeEnd, node.children.back()))
            return false;
    }
    return true;
}

std::wstring ResourceIdText(LPCWSTR id)
{
    return IS_INTRESOURCE(id) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(id)) : std::wstring(id);
}

// "type name language" of every resource of a module.
class ResourceList {
public:
    explicit ResourceList(HMODULE module) { EnumResourceTypesW(module, OnType, reinterpret_cast<LONG_PTR>(this)); }
    const std::set<std::wstring>& Entries() const { return entries_; }

private:
    static BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR context)
    {
        reinterpret_cast<ResourceList*>(context)->type_ = ResourceIdText(type);
        return EnumResourceNamesW(module, type, OnName, context);
    }
    static BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context)
    {
        reinterpret_cast<ResourceList*>(context)->name_ = ResourceIdText(name);
        return EnumResourceLanguagesW(module, type, name, OnLanguage, context);
    }
    static BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
    {
        ResourceList& list = *reinterpret_cast<ResourceList*>(context);
        list.entries_.insert(list.type_ + L" " + list.name_ + L" " + std::to_wstring(language));
        return TRUE;
    }

    std::set<std::wstring> entries_;
    std::wstring type_, name_;
};

// The built library mapped as a data file once for all tests.
class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExW(testsupport::BuiltDllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, module); }

    // The resource's bytes in exactly that language; empty when it is absent.
    static std::string Bytes(LPCWSTR type, LPCWSTR name, WORD language)
    {
        HRSRC resource = FindResourceExW(module, type, name, language);
        if (!resource)
            return {};
        HGLOBAL loaded = LoadResource(module, resource);
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return data ? std::string(data, SizeofResource(module, resource)) : std::string();
    }

    static HMODULE module;
};

HMODULE ResourcesTest::module = nullptr;

TEST_F(ResourcesTest, LibraryCarriesExactlyItsSixResourcesInTheirLanguages)
{
    std::set<std::wstring> expected = {
        L"REGISTRY #101 1033", L"REGISTRY #102 1049", L"TYPELIB #1 1033",
        L"#6 #7 1033",  // the string table block that holds string 100
        L"#16 #1 1033", L"#24 #2 1033",
    };
    EXPECT_EQ(expected, ResourceList(module).Entries());
}

TEST_F(ResourcesTest, AppIdScriptIsByteForByteTheRegisteredText)
{
    std::string expected = ScriptBytes({
        {0, "HKCR"},
        {0, "{"},
        {1, "NoRemove AppID"},
        {1, "{"},
        {2, "'%APPID%' = s 'trevik'"},
        {2, "'trevik.DLL'"},
        {2, "{"},
        {3, "val AppID = s '%APPID%'"},
        {2, "}"},
        {1, "}"},
        {0, "}"},
    });
    EXPECT_EQ(expected, Bytes(L"REGISTRY", MAKEINTRESOURCEW(101), kEnglishUs));
}

TEST_F(ResourcesTest, ClassScriptIsByteForByteTheRegisteredTextWithTheGeneratedIdentifiers)
{
    const std::string clsid = Narrow(trevik::kClsidText);
    const std::string libid = Narrow(trevik::kLibidText);
    // The platform's own text of a GUID is the 38-character upper-case form.
    EXPECT_EQ(RegistryText(CLSID_ZuTrevikHelper), clsid);
    EXPECT_EQ(RegistryText(LIBID_trevikLib), libid);
    std::string expected = ScriptBytes({
        {0, "HKCR"},
        {0, "{"},
        {1, "trevik.ZuTrevikHelper.1 = s 'ZuTrevikHelper Class'"},
        {1, "{"},
        {2, "CLSID = s '" + clsid + "'"},
        {1, "}"},
        {1, "trevik.ZuTrevikHelper = s 'ZuTrevikHelper Class'"},
        {1, "{"},
        {2, "CLSID = s '" + clsid + "'"},
        {2, "CurVer = s 'trevik.ZuTrevikHelper.1'"},
        {1, "}"},
        {1, "NoRemove CLSID"},
        {1, "{"},
        {2, "ForceRemove " + clsid + " = s 'ZuTrevikHelper Class'"},
        {2, "{"},
        {3, "ProgID = s 'trevik.ZuTrevikHelper.1'"},
        {3, "VersionIndependentProgID = s 'trevik.ZuTrevikHelper'"},
        {3, "ForceRemove 'Programmable'"},
        {3, "InprocServer32 = s '%MODULE%'"},
        {3, "{"},
        {4, "val ThreadingModel = s 'Apartment'"},
        {3, "}"},
        {3, "'TypeLib' = s '" + libid + "'"},
        {2, "}"},
        {1, "}"},
        {0, "}"},
    });
    EXPECT_EQ(expected, Bytes(L"REGISTRY", MAKEINTRESOURCEW(102), kRussian));
}

TEST_F(ResourcesTest, TypeLibraryIsTheCompiledOneAndNamesTheLibraryIdentifier)
{
    std::ifstream compiled(testsupport::WindowsPath(TREVIK_TYPELIB_PATH).c_str(), std::ios::binary);
    ASSERT_TRUE(compiled) << "the compiled type library " << TREVIK_TYPELIB_PATH;
    std::string compiledBytes{std::istreambuf_iterator<char>(compiled), std::istreambuf_iterator<char>()};
    EXPECT_EQ(compiledBytes, Bytes(L"TYPELIB", MAKEINTRESOURCEW(1), kEnglishUs));

    trevik::ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(testsupport::BuiltDllPath().c_str(), REGKIND_NONE, library.Receive()));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_trevikLib, attributes->guid));
    library->ReleaseTLibAttr(attributes);
}

TEST_F(ResourcesTest, StringTableHoldsOnlyTheProjectName)
{
    std::string block = Bytes(RT_STRING, MAKEINTRESOURCEW(kProjectNameString / kStringsPerBlock + 1), kEnglishUs);
    std::vector<std::wstring> strings;
    size_t at = 0;
    while (strings.size() < kStringsPerBlock && at + 2 <= block.size()) {
        size_t units = WordAt(block, at);
        std::wstring text;
        for (size_t i = 0; i < units && at + 4 + 2 * i <= block.size(); ++i)
            text += static_cast<wchar_t>(WordAt(block, at + 2 + 2 * i));
        strings.push_back(text);
        at += 2 + 2 * units;
    }
    std::vector<std::wstring> expected(kStringsPerBlock);
    expected[kProjectNameString % kStringsPerBlock] = L"trevik";
    EXPECT_EQ(expected, strings);
    EXPECT_EQ(block.size(), at) << "nothing follows the block's 16 strings";
}

TEST_F(ResourcesTest, VersionBlockGivesVersionOneZeroZeroOneOfAnEnglishDll)
{
    std::string block = Bytes(RT_VERSION, MAKEINTRESOURCEW(1), kEnglishUs);
    VersionNode root;
    ASSERT_TRUE(ReadVersionNode(block, 0, block.size(), root));
    EXPECT_EQ(L"VS_VERSION_INFO", root.key);

    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), root.value.size());
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof(fixed));
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x00010000u, fixed.dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed.dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed.dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed.dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed.dwFileFlagsMask);
    EXPECT_EQ(0u, fixed.dwFileFlags);
    EXPECT_EQ(4u, fixed.dwFileOS);
    EXPECT_EQ(2u, fixed.dwFileType);
    EXPECT_EQ(0u, fixed.dwFileSubtype);

    ASSERT_EQ(2u, root.children.size());
    const VersionNode* stringInfo = root.Child(L"StringFileInfo");
    ASSERT_NE(nullptr, stringInfo);
    ASSERT_EQ(1u, stringInfo->children.size()) << "one string table";
    const VersionNode& table = stringInfo->children[0];
    EXPECT_EQ(L"040904e4", table.key);
    std::map<std::wstring, std::wstring> strings;
    for (const VersionNode& entry : table.children) {
        EXPECT_EQ(1, entry.type) << "text value " << Narrow(entry.key.c_str());
        strings[entry.key] = TextOf(entry.value);
    }
    for (const wchar_t* freeText : {L"CompanyName", L"FileDescription", L"ProductName", L"LegalCopyright"}) {
        EXPECT_NE(L"", strings[freeText]) << Narrow(freeText);
        strings.erase(freeText);
    }
    std::map<std::wstring, std::wstring> fixedTexts = {
        {L"FileVersion", L"1.0.0.1"},
        {L"ProductVersion", L"1.0.0.1"},
        {L"InternalName", L"trevik.dll"},
        {L"OriginalFilename", L"trevik.dll"},
    };
    EXPECT_EQ(fixedTexts, strings);

    const VersionNode* variableInfo = root.Child(L"VarFileInfo");
    ASSERT_NE(nullptr, variableInfo);
    ASSERT_EQ(1u, variableInfo->children.size());
    EXPECT_EQ(L"Translation", variableInfo->children[0].key);
    EXPECT_EQ(std::string("\x09\x04\xE4\x04", 4), variableInfo->children[0].value) << "0x0409, 0x04E4";
}

// The names of the elements opened in an XML text, in order, with the text
// of each start tag.
std::vector<std::pair<std::string, std::string>> StartTags(const std::string& xml)
{
    std::vector<std::pair<std::string, std::string>> tags;
    for (size_t open = xml.find('<'); open != std::string::npos; open = xml.find('<', open + 1)) {
        size_t close = xml.find('>', open);
        if (close == std::string::npos)
            break;
        char first = xml[open + 1];
        if (first == '/' || first == '?' || first == '!')
            continue;
        std::string tag = xml.substr(open, close + 1 - open);
        tags.emplace_back(tag.substr(1, tag.find_first_of(" \t\r\n/>") - 1), tag);
    }
    return tags;
}

TEST_F(ResourcesTest, ManifestHoldsOnlyATrustBlockThatRunsAsInvoker)
{
    std::string manifest = Bytes(RT_MANIFEST, MAKEINTRESOURCEW(2), kEnglishUs);
    std::vector<std::pair<std::string, std::string>> tags = StartTags(manifest);
    std::vector<std::string> names;
    for (const auto& tag : tags)
        names.push_back(tag.first);
    std::vector<std::string> expected = {"assembly", "trustInfo", "security", "requestedPrivileges",
                                         "requestedExecutionLevel"};
    ASSERT_EQ(expected, names);
    EXPECT_NE(std::string::npos, tags[0].second.find("xmlns=\"urn:schemas-microsoft-com:asm.v1\""));
    EXPECT_NE(std::string::npos, tags[0].second.find("manifestVersion=\"1.0\""));
    EXPECT_NE(std::string::npos, tags[4].second.find("level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, tags[4].second.find("uiAccess=\"false\""));

    // The platform reads it as a manifest of the library.
    std::wstring path = testsupport::BuiltDllPath();
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(2);
    HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(INVALID_HANDLE_VALUE, activation) << "error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activation);
}

}  // namespace
