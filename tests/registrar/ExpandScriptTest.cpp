#include "registrar/ExpandScript.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "platform/FaultInjection.h"
#include "registrar/RegObject.h"
#include "registrar/RegScriptParser.h"
#include "registrar/ReplacementMap.h"

using trevik::CReplacementMap;
using trevik::Fault;

namespace {

class ExpandScriptTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        trevik::DisarmAllFaults();
    }

    // The expanded text, or the failure's code in brackets.
    std::wstring Expand(const std::wstring& text)
    {
        trevik::CRegScriptParser parser(replacements, perUser);
        LPWSTR expanded = reinterpret_cast<LPWSTR>(1);
        HRESULT hr = trevik::ExpandScript(parser, text.c_str(), &expanded);
        if (FAILED(hr)) {
            EXPECT_EQ(nullptr, expanded);
            return L"[" + std::to_wstring(static_cast<unsigned long>(hr)) + L"]";
        }
        std::wstring result = expanded;
        allocatedBytes = AllocatedBytes(expanded);
        CoTaskMemFree(expanded);
        return result;
    }

    static size_t AllocatedBytes(void* block)
    {
        IMalloc* allocator = nullptr;
        EXPECT_EQ(S_OK, CoGetMalloc(1, &allocator));
        size_t bytes = allocator->GetSize(block);
        allocator->Release();
        return bytes;
    }

    static std::wstring Failure(HRESULT hr) { return L"[" + std::to_wstring(static_cast<unsigned long>(hr)) + L"]"; }

    CReplacementMap replacements;
    bool perUser = false;
    size_t allocatedBytes = 0;
};

TEST_F(ExpandScriptTest, TheFirstPairAddedUnderANameWinsWhateverItsCase)
{
    EXPECT_FALSE(replacements.AddPair(nullptr, L"value"));
    EXPECT_FALSE(replacements.AddPair(L"name", nullptr));
    ASSERT_TRUE(replacements.AddPair(L"Module", L"first"));
    ASSERT_TRUE(replacements.AddPair(L"MODULE", L"second"));
    EXPECT_EQ(2, replacements.Count());
    EXPECT_STREQ(L"first", replacements.Lookup(L"module"));
    EXPECT_EQ(nullptr, replacements.Lookup(L"Modul"));

    replacements.ClearAll();
    EXPECT_EQ(0, replacements.Count());
    EXPECT_EQ(nullptr, replacements.Lookup(L"Module"));
}

TEST_F(ExpandScriptTest, AFailedStoreLeavesTheMapAsItWas)
{
    ASSERT_TRUE(replacements.AddPair(L"kept", L"value"));
    trevik::ArmFault(Fault::ReplacementStore);
    EXPECT_FALSE(replacements.AddPair(L"lost", L"value"));
    EXPECT_EQ(1, replacements.Count());
    EXPECT_EQ(nullptr, replacements.Lookup(L"lost"));
}

TEST_F(ExpandScriptTest, ReferencesAreReplacedInsideAndOutsideQuotesAndNotScannedAgain)
{
    replacements.AddPair(L"Module", L"C:\\it''s\\trevik.dll");
    replacements.AddPair(L"APPID", L"%Module%");
    EXPECT_EQ(L"InprocServer32 = s 'C:\\it''s\\trevik.dll' val AppID = s '%Module%'",
              Expand(L"InprocServer32 = s '%MODULE%' val AppID = s '%appid%'"));
    EXPECT_EQ(L"C:\\it''s\\trevik.dllC:\\it''s\\trevik.dll", Expand(L"%Module%%Module%"));
}

TEST_F(ExpandScriptTest, ADoubledPercentSignIsOnePercentSign)
{
    EXPECT_EQ(L"100% sure, %", Expand(L"100%% sure, %%"));
    EXPECT_EQ(L"%%", Expand(L"%%%%"));
}

TEST_F(ExpandScriptTest, UnknownUnclosedAndOverlongNamesFail)
{
    replacements.AddPair(std::wstring(31, L'n').c_str(), L"found");
    EXPECT_EQ(L"found", Expand(L"%" + std::wstring(31, L'n') + L"%"));
    EXPECT_EQ(Failure(E_FAIL), Expand(L"%" + std::wstring(32, L'n') + L"%"));
    EXPECT_EQ(Failure(DISP_E_EXCEPTION), Expand(L"%" + std::wstring(30, L'n') + L"%"));
    EXPECT_EQ(Failure(DISP_E_EXCEPTION), Expand(L"text %unclosed"));
    EXPECT_EQ(Failure(DISP_E_EXCEPTION), Expand(L"text %"));
}

TEST_F(ExpandScriptTest, EmptyAndNullTexts)
{
    EXPECT_EQ(L"", Expand(L""));
    trevik::CRegScriptParser parser(replacements);
    LPWSTR expanded = nullptr;
    EXPECT_EQ(E_POINTER, trevik::ExpandScript(parser, nullptr, &expanded));
    EXPECT_EQ(E_POINTER, trevik::ExpandScript(parser, L"text", nullptr));
}

TEST_F(ExpandScriptTest, TheOutputStartsAtTwiceTheTextOrAtLeast1000UnitsAndGrows)
{
    Expand(std::wstring(10, L'x'));
    EXPECT_EQ(2000u, allocatedBytes);
    Expand(std::wstring(600, L'x'));
    EXPECT_EQ(2400u, allocatedBytes);

    std::wstring large(100000, L'v');
    replacements.AddPair(L"large", large.c_str());
    EXPECT_EQ(large + large + L"x", Expand(L"%large%%large%x"));
    EXPECT_EQ(1000u * 2 * 256, allocatedBytes) << "doubled until the text fits";
}

TEST_F(ExpandScriptTest, MemoryThatCannotBeObtainedFailsThePass)
{
    trevik::ArmFault(Fault::ScriptTextMemory);
    EXPECT_EQ(Failure(E_OUTOFMEMORY), Expand(L"HKCR { }"));

    replacements.AddPair(L"large", std::wstring(5000, L'v').c_str());
    trevik::ArmFault(Fault::ScriptTextMemory, 1);
    EXPECT_EQ(Failure(E_OUTOFMEMORY), Expand(L"%large%"));
}

TEST_F(ExpandScriptTest, CombiningMarksAreCopiedWithTheirBaseCharacter)
{
    EXPECT_EQ(L"caf\x0065\x0301 \xD83D\xDE00", Expand(L"caf\x0065\x0301 \xD83D\xDE00"));
}

TEST_F(ExpandScriptTest, PerUserModeMovesTopLevelClassesBlocksUnderTheUsersClasses)
{
    perUser = true;
    EXPECT_EQ(L"HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses\r\n{\r\n\ta\r\n\r\n\t}\r\n}\r\n}\r\n",
              Expand(L"HKCR\r\n{\r\n\ta\r\n}\r\n"));
    EXPECT_EQ(L"HKLM { HKCR { } } HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses { x { } \r\n\t}\r\n}\r\n}",
              Expand(L"HKLM { HKCR { } } HKCR { x { } }"));
}

TEST_F(ExpandScriptTest, BracesBetweenQuotesDoNotCountInPerUserMode)
{
    perUser = true;
    EXPECT_EQ(L"HKCU\r\n{\tSoftware\r\n\t{\r\n\t\tClasses { '}' '{''}' \r\n\t}\r\n}\r\n} HKCU { }",
              Expand(L"HKCR { '}' '{''}' } HKCU { }"));
}

TEST_F(ExpandScriptTest, OnlyUpperCaseHKCRIsRewritten)
{
    perUser = true;
    EXPECT_EQ(L"hkcr { } HKEY_CLASSES_ROOT { }", Expand(L"hkcr { } HKEY_CLASSES_ROOT { }"));
}

TEST_F(ExpandScriptTest, WithPerUserModeOffOnlyPercentSignsChangeTheText)
{
    replacements.AddPair(L"name", L"value");
    EXPECT_EQ(L"HKCR { '}' a = s 'value%' }", Expand(L"HKCR { '}' a = s '%name%%%' }"));
}

}  // namespace
