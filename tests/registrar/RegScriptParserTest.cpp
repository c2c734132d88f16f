#include "registrar/RegScriptParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registrar/ReplacementMap.h"

using trevik::CRegScriptParser;
using trevik::Token;

namespace {

// Reads tokens until the first failure and returns them with that failure.
struct Tokens {
    std::vector<std::wstring> tokens;
    HRESULT end = S_OK;
};

class RegScriptParserTest : public ::testing::Test {
protected:
    Tokens Read(const std::wstring& text)
    {
        CRegScriptParser parser(replacements_);
        parser.SetPosition(text.c_str());
        Tokens result;
        Token token;
        while (SUCCEEDED(result.end = parser.ReadToken(token)))
            result.tokens.emplace_back(token);
        return result;
    }

    std::vector<std::wstring> TokensOf(const std::wstring& text)
    {
        Tokens result = Read(text);
        EXPECT_EQ(DISP_E_EXCEPTION, result.end) << "the end of the text ends the tokens";
        return result.tokens;
    }

    trevik::CReplacementMap replacements_;
};

using Texts = std::vector<std::wstring>;

TEST_F(RegScriptParserTest, BlanksSeparateTokensAndOnlyTabLineFeedReturnAndSpaceAreBlanks)
{
    EXPECT_EQ((Texts{L"HKCR", L"{", L"a", L"}"}), TokensOf(L"\t HKCR\r\n{ a\n}\r\n"));
    EXPECT_EQ((Texts{L"a\vb", L"\fc"}), TokensOf(L"a\vb \fc"));
    EXPECT_EQ(Texts(), TokensOf(L""));
    EXPECT_EQ(Texts(), TokensOf(L" \t\r\n "));
}

TEST_F(RegScriptParserTest, BracesEqualsAndQuotesInsideAnUnquotedTokenAreOrdinary)
{
    EXPECT_EQ((Texts{L"name=", L"s", L"value{", L"}x", L"it's", L"100%"}), TokensOf(L"name= s value{ }x it's 100%"));
    EXPECT_EQ((Texts{L"name", L"=", L"s", L"value"}), TokensOf(L"name = s 'value'"));
}

TEST_F(RegScriptParserTest, QuotedTokensKeepBlanksAndReadDoubledQuotesAsOne)
{
    EXPECT_EQ((Texts{L"a b\t{=}", L"it's", L"", L"'", L"end"}), TokensOf(L"'a b\t{=}' 'it''s' '' '''' end"));
    EXPECT_EQ((Texts{L"{", L"Val"}), TokensOf(L"'{' 'Val'"));
}

TEST_F(RegScriptParserTest, TheCharacterAfterAClosingQuoteBeginsTheNextToken)
{
    EXPECT_EQ((Texts{L"a", L"b'c", L"d'"}), TokensOf(L"'a'b'c d'"));
}

TEST_F(RegScriptParserTest, AQuoteThatIsNeverClosedIsASyntaxError)
{
    Tokens result = Read(L"first 'never closed");
    EXPECT_EQ(Texts{L"first"}, result.tokens);
    EXPECT_EQ(DISP_E_EXCEPTION, result.end);
    EXPECT_EQ(Texts(), Read(L"'ends in a doubled quote''").tokens);
}

TEST_F(RegScriptParserTest, TokensHoldAtMost4094Units)
{
    std::wstring longest(trevik::kTokenUnits - 2, L'x');
    EXPECT_EQ(Texts{longest}, TokensOf(longest));
    EXPECT_EQ(Texts{longest}, TokensOf(L"'" + longest + L"'"));
    EXPECT_EQ(Texts{longest.substr(1) + L"'"}, TokensOf(L"'" + longest.substr(1) + L"'''"));

    EXPECT_EQ(Texts(), TokensOf(longest + L"x"));
    EXPECT_EQ(Texts(), TokensOf(L"'" + longest + L"x'"));
}

TEST_F(RegScriptParserTest, SkipAssignedValueReadsPastTypeAndValueOnlyAfterAnEqualsSign)
{
    std::wstring text = L"s 'the value' next";
    CRegScriptParser parser(replacements_);
    parser.SetPosition(text.c_str());
    Token token = L"=";
    ASSERT_EQ(S_OK, parser.SkipAssignedValue(token));
    EXPECT_STREQ(L"next", token);

    parser.SetPosition(text.c_str());
    wcscpy(token, L"{");
    ASSERT_EQ(S_OK, parser.SkipAssignedValue(token));
    EXPECT_STREQ(L"{", token);
    EXPECT_EQ(text.c_str(), parser.Position());

    std::wstring truncated = L"s 'value'";
    parser.SetPosition(truncated.c_str());
    wcscpy(token, L"=");
    EXPECT_EQ(DISP_E_EXCEPTION, parser.SkipAssignedValue(token)) << "the token after the value is missing";
}

TEST_F(RegScriptParserTest, SurrogatePairsAndCombiningMarksAreCopiedWhole)
{
    std::wstring text = L"\xD83D\xDE00 e\x0301 '\xD83D\xDE00'";
    EXPECT_EQ((Texts{L"\xD83D\xDE00", L"e\x0301", L"\xD83D\xDE00"}), TokensOf(text));
}

}  // namespace
