#include <gtest/gtest.h>

#include "platform/RegistryKey.h"
#include "registrar/ScriptTest.h"

namespace registrar_test {
namespace {

using UnregisterWalkTest = ScriptTest;
const HKEY kUser = HKEY_CURRENT_USER;

// Shaped like the library's own class script.
const wchar_t kClassScript[] = LR"(HKCR
{
	trevik.Test.1 = s 'Test Class'
	{
		CLSID = s '{00000000-0000-0000-0000-000000000001}'
	}
	NoRemove CLSID
	{
		ForceRemove {00000000-0000-0000-0000-000000000001} = s 'Test Class'
		{
			ProgID = s 'trevik.Test.1'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
		}
	}
}
)";

TEST_F(UnregisterWalkTest, UnregisteringRemovesWhatRegisteringWroteAndCanBeRepeated)
{
    replacements.AddPair(L"Module", L"C:\\trevik.dll");
    RegistryDump before = DumpTree(HKEY_CLASSES_ROOT);
    ASSERT_EQ(S_OK, Register(kClassScript));
    EXPECT_EQ(L"C:\\trevik.dll",
              ReadString(HKEY_CLASSES_ROOT, L"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32"));

    ASSERT_EQ(S_OK, Unregister(kClassScript));
    RegistryDump after = DumpTree(HKEY_CLASSES_ROOT);
    EXPECT_EQ(std::vector<std::wstring>{L"CLSID: <none> -> []"}, Differences(before, after))
        << "only the NoRemove key stays";
    EXPECT_EQ(S_OK, Unregister(kClassScript));
    EXPECT_EQ(after, DumpTree(HKEY_CLASSES_ROOT));
}

TEST_F(UnregisterWalkTest, NoRemoveKeysAndValuesStayWhileTheirBlocksAreStillWalked)
{
    WriteString(kUser, L"Kept\\Sub", L"v", L"x");
    WriteString(kUser, L"Kept", L"named", L"x");
    WriteString(kUser, L"Kept", L"marked", L"x");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { NoRemove Kept { Sub val named = s 'x' NoRemove val marked = s 'x' } }"));
    EXPECT_EQ(std::vector<std::wstring>{L"marked"}, ValueNames(kUser, L"Kept"));
    EXPECT_FALSE(KeyExists(kUser, L"Kept\\Sub"));
}

TEST_F(UnregisterWalkTest, KeysWithForeignSubkeysStayWithoutTheirNamedValues)
{
    WriteString(kUser, L"Shared\\Foreign", nullptr, L"theirs");
    WriteString(kUser, L"Shared", L"ours", L"x");
    WriteString(kUser, L"Shared", L"theirs", L"y");
    WriteString(kUser, L"Shared", nullptr, L"default");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { Shared = s 'default' { val ours = s 'x' } }"));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"theirs"}), ValueNames(kUser, L"Shared"));
    EXPECT_EQ(L"theirs", ReadString(kUser, L"Shared\\Foreign"));
}

TEST_F(UnregisterWalkTest, AKeyWhoseBlockRemovedEverySubkeyGoesWithItsLeftoverValues)
{
    WriteString(kUser, L"Parent\\Child", nullptr, L"x");
    WriteString(kUser, L"Parent", L"unnamed by the script", L"x");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { Parent { Child } }"));
    EXPECT_FALSE(KeyExists(kUser, L"Parent"));
}

TEST_F(UnregisterWalkTest, AbsentKeysAndValuesAreNoError)
{
    WriteString(kUser, L"Present", L"other", L"x");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { Absent { Deeper { val v = s 'x' } } Present { val missing = d 1 } val gone = b '' }"));
    EXPECT_FALSE(KeyExists(kUser, L"Present"));
}

TEST_F(UnregisterWalkTest, ForceRemoveAndDeleteActLikeBareKeyEntries)
{
    WriteString(kUser, L"Forced\\Foreign", nullptr, L"x");
    WriteString(kUser, L"Deleted\\Foreign", nullptr, L"x");
    WriteString(kUser, L"Plain", nullptr, L"x");
    WriteString(kUser, L"Software\\Keep", nullptr, L"x");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { ForceRemove Forced = s 'x' Delete Deleted ForceRemove Plain Delete Software }"));
    EXPECT_TRUE(KeyExists(kUser, L"Forced\\Foreign"));
    EXPECT_TRUE(KeyExists(kUser, L"Deleted\\Foreign"));
    EXPECT_FALSE(KeyExists(kUser, L"Plain"));
    EXPECT_TRUE(KeyExists(kUser, L"Software\\Keep"));
}

TEST_F(UnregisterWalkTest, ValuesAtTheTopOfARootBlockAreDeletedFromTheRootKey)
{
    WriteString(kUser, L"", L"Top", L"x");
    WriteString(kUser, L"", L"Other", L"x");
    ASSERT_EQ(S_OK, Unregister(L"HKCU { val Top = s 'x' }"));
    EXPECT_EQ(std::vector<std::wstring>{L"Other"}, ValueNames(kUser, L""));
}

TEST_F(UnregisterWalkTest, AKeyThatCannotBeReadFailsTheRunAfterItsBlock)
{
    WriteString(kUser, L"Locked\\Inner", nullptr, L"x");
    WriteString(kUser, L"After", nullptr, L"x");
    RestrictKey(kUser, L"Locked", L"D:P");
    EXPECT_EQ(E_ACCESSDENIED, Unregister(L"HKCU { Locked { Inner { val v = s 'x' } } After }"));
    EXPECT_TRUE(KeyExists(kUser, L"After")) << "the walk stops at the locked key";
    RestrictKey(kUser, L"Locked", L"D:P(A;;KA;;;WD)");
    EXPECT_TRUE(KeyExists(kUser, L"Locked\\Inner"));
}

TEST_F(UnregisterWalkTest, ABrokenBlockOfAnAbsentKeyStopsTheWalk)
{
    // Reading on after the error would take the rest of the broken block for
    // entries of the level above it and remove Victim from the wrong key.
    WriteString(kUser, L"Outer\\Victim", nullptr, L"outer");
    WriteString(kUser, L"Victim", nullptr, L"top level");
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(L"HKCU { Outer { Absent { val v s 'x' } Victim } }"));
    EXPECT_EQ(L"top level", ReadString(kUser, L"Victim"));
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(L"HKCU { Outer { Absent { Sub\\Name } Victim } }"));
    EXPECT_EQ(L"top level", ReadString(kUser, L"Victim"));
}

TEST_F(UnregisterWalkTest, ABlockAfterAValueEntryIsReadPastWithoutLeavingItsLevel)
{
    // Registering takes such a block for the block of the level's last key.
    const wchar_t* script = L"HKCU { Outer { Owner val v = s 'x' { Sub } Victim } }";
    ASSERT_EQ(S_OK, Register(script));
    ASSERT_TRUE(KeyExists(kUser, L"Outer\\Owner\\Sub"));
    WriteString(kUser, L"Victim", nullptr, L"top level");

    EXPECT_EQ(S_OK, Unregister(script));
    EXPECT_EQ(L"top level", ReadString(kUser, L"Victim")) << "Victim belongs to Outer, not to the root";
    EXPECT_FALSE(KeyExists(kUser, L"Outer\\Victim"));
    EXPECT_EQ(std::vector<std::wstring>(), ValueNames(kUser, L"Outer"));
    EXPECT_TRUE(KeyExists(kUser, L"Outer\\Owner\\Sub")) << "the walk holds no key for the block";
}

TEST_F(UnregisterWalkTest, BlocksAfterValueEntriesNestToTheLimitWithoutExhaustingTheStack)
{
    auto nested = [](int levels) {
        std::wstring script = L"HKCU {";
        for (int i = 1; i < levels; ++i)
            script += L" val v = s 'x' {";
        for (int i = 0; i < levels; ++i)
            script += L" }";
        return script;
    };
    WriteString(kUser, L"", L"v", L"x");
    EXPECT_EQ(S_OK, Unregister(nested(trevik::kMaxBlockDepth)));
    EXPECT_EQ(std::vector<std::wstring>(), ValueNames(kUser, L""));
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(nested(trevik::kMaxBlockDepth + 1)));
}

TEST_F(UnregisterWalkTest, AnEmptyKeyNameNeverRemovesTheParent)
{
    CreateKey(kUser, L"Kept");
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(L"HKCU { NoRemove Kept { '' } }"));
    EXPECT_TRUE(KeyExists(kUser, L"Kept"));
}

TEST_F(UnregisterWalkTest, SyntaxErrorsAreExceptions)
{
    for (const wchar_t* script : {L"HKCU { Key\\Sub }", L"HKCU { val v s 'x' }", L"HKCU { Key {", L"HKXX { }"})
        EXPECT_EQ(DISP_E_EXCEPTION, Unregister(script)) << script;
}

using KeyDeletionTest = ScriptTest;

TEST_F(KeyDeletionTest, DeleteKeyTreeRemovesEveryLevel)
{
    WriteString(kUser, L"Tree\\A\\A1", L"v", L"x");
    WriteString(kUser, L"Tree\\A\\A2", L"v", L"x");
    WriteString(kUser, L"Tree\\B", L"v", L"x");
    EXPECT_EQ(ERROR_SUCCESS, trevik::DeleteKeyTree(kUser, L"Tree"));
    EXPECT_FALSE(KeyExists(kUser, L"Tree"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, trevik::DeleteKeyTree(kUser, L"Tree"));
}

TEST_F(KeyDeletionTest, DeleteKeyTreeGoesDeepestFirstAndStopsAtAKeyItCannotDelete)
{
    CreateKey(kUser, L"Tree\\A\\A1");
    CreateKey(kUser, L"Tree\\B\\B1\\Below");
    CreateKey(kUser, L"Tree\\C");
    RestrictKey(kUser, L"Tree\\B\\B1", L"D:P");
    EXPECT_EQ(ERROR_ACCESS_DENIED, trevik::DeleteKeyTree(kUser, L"Tree"));
    EXPECT_FALSE(KeyExists(kUser, L"Tree\\A"));
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"C"}), SubkeyNames(kUser, L"Tree"));
    EXPECT_EQ(std::vector<std::wstring>{L"B1"}, SubkeyNames(kUser, L"Tree\\B"));
    RestrictKey(kUser, L"Tree\\B\\B1", L"D:P(A;;KA;;;WD)");
}

TEST_F(KeyDeletionTest, ALinkGoesAsALinkAndWhatItPointsAtStays)
{
    WriteString(kUser, L"Precious\\Below", L"v", L"kept");
    CreateKey(kUser, L"Precious\\Below\\Empty");
    const struct {
        const wchar_t* link;
        const wchar_t* target;
        const wchar_t* script;
        bool registering;
    } cases[] = {
        {L"Tree", L"Precious", L"HKCU { ForceRemove Tree }", true},
        {L"Tree\\Shortcut", L"Precious", L"HKCU { Delete Tree }", true},
        {L"Tree\\Loop", L"Tree", L"HKCU { ForceRemove Tree }", true},
        {L"Tree", L"Precious\\Below\\Empty", L"HKCU { Tree }", false},
    };
    for (const auto& c : cases) {
        CreateLink(c.link, c.target);
        EXPECT_EQ(S_OK, Run(c.script, c.registering)) << c.script;
        EXPECT_FALSE(IsLink(c.link)) << c.script;
        EXPECT_EQ(L"kept", ReadString(kUser, L"Precious\\Below", L"v")) << c.script;
        EXPECT_TRUE(KeyExists(kUser, L"Precious\\Below\\Empty")) << c.script;
        trevik::DeleteKeyTree(kUser, L"Tree");
    }
}

TEST_F(KeyDeletionTest, AnyDepthIsDeletedWithoutRecursion)
{
    HKEY level = nullptr;
    RegCreateKeyExW(kUser, L"Chain", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &level, nullptr);
    for (int depth = 0; depth < 3000; ++depth) {
        HKEY next = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(level, L"a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next, nullptr));
        RegCloseKey(level);
        level = next;
    }
    RegCloseKey(level);
    EXPECT_EQ(ERROR_SUCCESS, trevik::DeleteKeyTree(kUser, L"Chain"));
    EXPECT_FALSE(KeyExists(kUser, L"Chain"));
}

}  // namespace
}  // namespace registrar_test
