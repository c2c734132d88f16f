#include <gtest/gtest.h>

#include "registrar/ScriptTest.h"

namespace registrar_test {
namespace {

using RegisterWalkTest = ScriptTest;
const HKEY kUser = HKEY_CURRENT_USER;

TEST_F(RegisterWalkTest, EveryValueKindIsWrittenWithItsExactBytes)
{
    ASSERT_EQ(S_OK, Register(LR"(HKCU
{
    Kinds
    {
        val Text = s 'it''s here'
        val EmptyText = s ''
        val Multi = m 'one\0two'
        val EmptyMulti = m ''
        val CutMulti = m 'a\0\0b'
        val TrailingMulti = m 'a\0'
        val Largest = d 4294967295
        val Hex = d '&H1F'
        val Bytes = b '0aFfX1'
        val NoBytes = b ''
    }
})"));
    EXPECT_EQ(StringValue(L"it's here"), ReadValue(kUser, L"Kinds", L"Text"));
    EXPECT_EQ(StringValue(L""), ReadValue(kUser, L"Kinds", L"EmptyText"));
    EXPECT_EQ(MultiStringValue(std::wstring(L"one\0two\0\0", 9)), ReadValue(kUser, L"Kinds", L"Multi"));
    EXPECT_EQ(MultiStringValue(std::wstring(L"\0", 1)), ReadValue(kUser, L"Kinds", L"EmptyMulti"));
    EXPECT_EQ(MultiStringValue(std::wstring(L"a\0\0", 3)), ReadValue(kUser, L"Kinds", L"CutMulti"));
    EXPECT_EQ(MultiStringValue(std::wstring(L"a\0\0", 3)), ReadValue(kUser, L"Kinds", L"TrailingMulti"));
    EXPECT_EQ(DwordValue(0xFFFFFFFF), ReadValue(kUser, L"Kinds", L"Largest"));
    EXPECT_EQ(DwordValue(31), ReadValue(kUser, L"Kinds", L"Hex"));
    EXPECT_EQ(BinaryValue({0x0A, 0xFF, 0x01}), ReadValue(kUser, L"Kinds", L"Bytes"));
    EXPECT_EQ(BinaryValue({}), ReadValue(kUser, L"Kinds", L"NoBytes"));
}

TEST_F(RegisterWalkTest, LongValuesUseAreasBeyondTheStack)
{
    std::wstring digits;
    for (int i = 0; i < 600; ++i)
        digits += L"c3";
    std::wstring parts = std::wstring(200, L'p') + L"\\0" + std::wstring(300, L'q');
    ASSERT_EQ(S_OK, Register(L"HKCU { Long { val Bytes = b '" + digits + L"' val Parts = m '" + parts + L"' } }"));
    EXPECT_EQ(BinaryValue(std::vector<BYTE>(600, 0xC3)), ReadValue(kUser, L"Long", L"Bytes"));
    std::wstring list = std::wstring(200, L'p') + L'\0' + std::wstring(300, L'q') + L'\0' + L'\0';
    EXPECT_EQ(MultiStringValue(list), ReadValue(kUser, L"Long", L"Parts"));
}

TEST_F(RegisterWalkTest, AreasThatCannotBeObtainedFailAndRollTheBlockBack)
{
    std::wstring digits(600, L'1');
    trevik::ArmFault(trevik::Fault::ValueArea);
    EXPECT_EQ(E_FAIL, Register(L"HKCU { Long { val Bytes = b '" + digits + L"' } }"));
    trevik::ArmFault(trevik::Fault::ValueArea);
    EXPECT_EQ(E_OUTOFMEMORY, Register(L"HKCU { Long { val Parts = m '" + digits + L"' } }"));
    EXPECT_FALSE(KeyExists(kUser, L"Long"));
}

TEST_F(RegisterWalkTest, KeywordsRootNamesAndTypeLettersIgnoreCase)
{
    ASSERT_EQ(S_OK, Register(L"hkey_current_user { noremove Kept { VAL v = S 'x' } forceremove 'Forced' = D 7 }"));
    EXPECT_EQ(L"x", ReadString(kUser, L"Kept", L"v"));
    EXPECT_EQ(DwordValue(7), ReadValue(kUser, L"Forced"));
}

TEST_F(RegisterWalkTest, KeysGetTheirDefaultValuesAndBlocksAndValuesGoToTheEnclosingKey)
{
    ASSERT_EQ(S_OK, Register(L"HKCU { val Top = s 'root' Outer = s 'default' { Inner { val v = d 1 } } Empty }"));
    EXPECT_EQ(L"root", ReadString(kUser, L"", L"Top"));
    EXPECT_EQ(L"default", ReadString(kUser, L"Outer"));
    EXPECT_EQ(DwordValue(1), ReadValue(kUser, L"Outer\\Inner", L"v"));
    EXPECT_TRUE(KeyExists(kUser, L"Empty"));
    EXPECT_EQ(std::vector<std::wstring>(), ValueNames(kUser, L"Empty"));
}

TEST_F(RegisterWalkTest, RegisteringOverExistingKeysKeepsWhatTheScriptDoesNotName)
{
    WriteString(kUser, L"Existing\\Foreign", L"old", L"kept");
    ASSERT_EQ(S_OK, Register(L"HKCU { Existing = s 'new' { val v = s 'added' } }"));
    EXPECT_EQ(L"new", ReadString(kUser, L"Existing"));
    EXPECT_EQ(L"kept", ReadString(kUser, L"Existing\\Foreign", L"old"));
}

TEST_F(RegisterWalkTest, ForceRemoveRecreatesTheKeyWithOnlyWhatTheScriptGives)
{
    WriteString(kUser, L"Forced\\Stale\\Deeper", L"old", L"stale");
    WriteString(kUser, L"Forced", L"stale", L"stale");
    ASSERT_EQ(S_OK, Register(L"HKCU { ForceRemove Forced = s 'fresh' { val v = s 'x' } }"));
    EXPECT_EQ(std::vector<std::wstring>(), SubkeyNames(kUser, L"Forced"));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"v"}), ValueNames(kUser, L"Forced"));
    EXPECT_EQ(L"fresh", ReadString(kUser, L"Forced"));
}

TEST_F(RegisterWalkTest, ForceRemoveAndDeleteNeverRemoveProtectedNames)
{
    for (const wchar_t* name : {L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
                                L"Mime", L"SAM", L"SECURITY", L"SYSTEM", L"Software", L"TypeLib"})
        WriteString(kUser, std::wstring(name) + L"\\Foreign", nullptr, L"kept");
    ASSERT_EQ(S_OK, Register(LR"(HKCU {
        ForceRemove appid { New } ForceRemove CLSID ForceRemove 'component categories' ForceRemove FileType
        ForceRemove Interface ForceRemove HARDWARE Delete Mime Delete sam Delete Security Delete System
        Delete Software Delete TypeLib })"));
    for (const wchar_t* name : {L"AppID", L"CLSID", L"Component Categories", L"FileType", L"Interface", L"Hardware",
                                L"Mime", L"SAM", L"SECURITY", L"SYSTEM", L"Software", L"TypeLib"})
        EXPECT_EQ(L"kept", ReadString(kUser, std::wstring(name) + L"\\Foreign")) << name;
    EXPECT_TRUE(KeyExists(kUser, L"AppID\\New"));
}

TEST_F(RegisterWalkTest, DeleteRemovesTheTreeCreatesNothingAndSkipsAnAssignment)
{
    WriteString(kUser, L"Doomed\\Deep\\Deeper", L"v", L"x");
    ASSERT_EQ(S_OK, Register(L"HKCU { Delete Doomed = s 'ignored' Delete NeverThere After }"));
    EXPECT_FALSE(KeyExists(kUser, L"Doomed"));
    EXPECT_FALSE(KeyExists(kUser, L"NeverThere"));
    EXPECT_TRUE(KeyExists(kUser, L"After"));
}

TEST_F(RegisterWalkTest, ABlockAfterAValueEntryBelongsToTheLevelsLastKey)
{
    ASSERT_EQ(S_OK, Register(L"HKCU { Owner val v = s 'x' { Sub } }"));
    EXPECT_TRUE(KeyExists(kUser, L"Owner\\Sub"));
    EXPECT_EQ(L"x", ReadString(kUser, L"", L"v"));

    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE), Register(L"HKCU { Outer { val v = s 'x' { Sub } } }"))
        << "a level without a key entry has no key for the block";
    EXPECT_FALSE(KeyExists(kUser, L"Outer"));
}

TEST_F(RegisterWalkTest, AKeyThatOnlyReadsIsUsedReadOnly)
{
    WriteString(kUser, L"ReadOnly\\Writable", nullptr, L"old");
    RestrictKey(kUser, L"ReadOnly", L"D:P(A;;KR;;;WD)");

    EXPECT_EQ(S_OK, Register(L"HKCU { ReadOnly { Writable = s 'new' } }"));
    EXPECT_EQ(L"new", ReadString(kUser, L"ReadOnly\\Writable"));
    EXPECT_EQ(E_ACCESSDENIED, Register(L"HKCU { ReadOnly = s 'refused' }"));
    EXPECT_EQ(E_ACCESSDENIED, Register(L"HKCU { ReadOnly { val v = s 'refused' } }"));
    EXPECT_EQ(L"<absent>", ReadString(kUser, L"ReadOnly"));

    RestrictKey(kUser, L"ReadOnly", L"D:P(A;;KA;;;WD)");
}

TEST_F(RegisterWalkTest, SyntaxErrorsAreExceptions)
{
    for (const wchar_t* script : {
             L"HKXX { Key }",                   // unknown root key
             L"HKCU Key",                       // no "{" after the root
             L"HKCU { Key { val v s 'x' } }",   // "Val" without "="
             L"HKCU { Key = q 'x' }",           // unknown type letter
             L"HKCU { Key { Sub }",             // block never closed
             L"HKCU { Key { Sub\\Deeper } }",  // backslash in a key name
             L"HKCU { Key ForceRemove 'a\\b' }",
             L"HKCU { Key Delete a\\b }",
             L"HKCU { Key = s 'never closed }",
             L"  \r\n",
         }) {
        EXPECT_EQ(DISP_E_EXCEPTION, Register(script)) << script;
        sandbox_->Clear();
    }
    EXPECT_EQ(S_OK, Register(L""));
}

TEST_F(RegisterWalkTest, TheRollBackTakesBackEveryKeyTheBlockMade)
{
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"HKCU { Before { Inner } Around { Done val v s 'x' } After }"));
    EXPECT_EQ(std::vector<std::wstring>(), SubkeyNames(kUser, L""));
}

TEST_F(RegisterWalkTest, AnEmptyKeyNameIsRefusedBeforeItCanNameTheParent)
{
    WriteString(kUser, L"Parent\\Child", nullptr, L"kept");
    for (const wchar_t* script : {L"HKCU { Parent { ForceRemove '' } }", L"HKCU { Parent { Delete '' } }",
                                  L"HKCU { NoRemove Parent { '' = s 'parent default' } }"}) {
        EXPECT_EQ(DISP_E_EXCEPTION, Register(script)) << script;
        EXPECT_EQ(L"kept", ReadString(kUser, L"Parent\\Child")) << script;
        EXPECT_EQ(L"<absent>", ReadString(kUser, L"Parent")) << script;
    }
}

TEST_F(RegisterWalkTest, OddBinaryDigitsFailWithoutWriting)
{
    EXPECT_EQ(E_FAIL, Register(L"HKCU { Key { val Bytes = b 'abc' } }"));
    EXPECT_FALSE(KeyExists(kUser, L"Key"));
}

TEST_F(RegisterWalkTest, ANumberThatDoesNotConvertIsRefusedAndRolledBack)
{
    for (const wchar_t* text : {L"'abc'", L"4294967296", L"-1", L"''"}) {
        EXPECT_EQ(DISP_E_EXCEPTION, Register(std::wstring(L"HKCU { Key { val Number = d ") + text + L" } }")) << text;
        EXPECT_FALSE(KeyExists(kUser, L"Key")) << text;
    }
}

TEST_F(RegisterWalkTest, AFailingRootBlockIsRolledBackAndEarlierBlocksStay)
{
    WriteString(kUser, L"Shared", L"foreign", L"value");
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"HKCU { First = s '1' } HKCU { Shared Second = s '2' { val v = s 'x' } Bad\\Name }"));
    EXPECT_EQ(L"1", ReadString(kUser, L"First"));
    EXPECT_FALSE(KeyExists(kUser, L"Second"));
    EXPECT_EQ(L"value", ReadString(kUser, L"Shared", L"foreign")) << "a key that was there before stays whole";
}

TEST_F(RegisterWalkTest, TheRollBackRestoresOverwrittenValuesAndDeletedTreesWithTheirLinks)
{
    WriteString(kUser, L"Kept", nullptr, L"old default");
    WriteString(kUser, L"Kept", L"v", L"old value");
    WriteString(kUser, L"Forced\\Sub\\Deeper", L"w", L"deep");
    WriteString(kUser, L"Target", L"t", L"target");
    CreateLink(L"Forced\\Shortcut", L"Target");
    const RegistryDump before = DumpTree(kUser);

    EXPECT_EQ(DISP_E_EXCEPTION,
              Register(L"HKCU { Kept = s 'new' { val v = d 5 val added = s 'a' } ForceRemove Forced { New } Bad\\Name }"));
    EXPECT_EQ(std::vector<std::wstring>(), Differences(before, DumpTree(kUser)));
    EXPECT_TRUE(IsLink(L"Forced\\Shortcut")) << "a deleted link comes back as a link";
}

TEST_F(RegisterWalkTest, ExpansionFailuresTouchNothing)
{
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"HKCU { Key = s '%missing%' }"));
    EXPECT_EQ(E_FAIL, Register(L"HKCU { Key = s '%" + std::wstring(32, L'n') + L"%' }"));
    EXPECT_EQ(std::vector<std::wstring>(), SubkeyNames(kUser, L""));
}

TEST_F(RegisterWalkTest, PerUserModeWritesClassesUnderTheUsersSoftwareKey)
{
    const wchar_t* script = L"HKCR { trevik.Test = s 'class' { CLSID = s '{1}' } }";
    perUser = true;
    ASSERT_EQ(S_OK, Register(script));
    EXPECT_EQ(L"class", ReadString(kUser, L"Software\\Classes\\trevik.Test"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"trevik.Test"));
    ASSERT_EQ(S_OK, Unregister(script));
    EXPECT_FALSE(KeyExists(kUser, L"Software\\Classes\\trevik.Test"));

    perUser = false;
    ASSERT_EQ(S_OK, Register(script));
    EXPECT_EQ(L"class", ReadString(HKEY_CLASSES_ROOT, L"trevik.Test"));
}

TEST_F(RegisterWalkTest, BlocksNestDeeplyUpToTheLimitAndNoFurther)
{
    auto nested = [](int levels) {
        std::wstring script = L"HKCU {";
        for (int i = 1; i < levels; ++i)
            script += L" k {";
        script += L" val leaf = s 'x' ";
        for (int i = 0; i < levels; ++i)
            script += L" }";
        return script;
    };
    std::wstring deepest;
    for (int i = 1; i < trevik::kMaxBlockDepth; ++i)
        deepest += i == 1 ? L"k" : L"\\k";

    ASSERT_EQ(S_OK, Register(nested(trevik::kMaxBlockDepth)));
    EXPECT_EQ(L"x", ReadString(kUser, deepest, L"leaf"));
    ASSERT_EQ(S_OK, Unregister(nested(trevik::kMaxBlockDepth)));
    EXPECT_FALSE(KeyExists(kUser, L"k"));

    EXPECT_EQ(DISP_E_EXCEPTION, Register(nested(trevik::kMaxBlockDepth + 1)));
    EXPECT_EQ(L"<absent>", ReadString(kUser, deepest + L"\\k", L"leaf")) << "the block past the limit is not walked";
    EXPECT_EQ(DISP_E_EXCEPTION, Register(nested(100000))) << "far beyond the limit the host's stack is safe";
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(nested(100000)));
}

}  // namespace
}  // namespace registrar_test
