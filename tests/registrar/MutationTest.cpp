// Robustness of the script engine: valid scripts mutated at random, run in
// both modes. Every run must return an HRESULT of the documented kinds and
// write nothing outside the sandbox, whatever root key a mutation names.
//
// Seeded and reproducible. The test command runs kDefaultMutations scripts;
// TREVIK_MUTATIONS=<count> and TREVIK_MUTATION_SEED=<seed>, or the arguments
// --mutations=<count> and --seed=<seed>, run more or others.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "registrar/RegObject.h"
#include "registrar/RegScriptParser.h"
#include "support/RegistrySandbox.h"
#include "registrar/RunScript.h"

namespace registrar_test {

using namespace testsupport;
namespace {

constexpr unsigned long kDefaultMutations = 20000;
constexpr unsigned long kDefaultSeed = 20261208;
constexpr int kRunsBetweenClearing = 250;

unsigned long mutationCount = kDefaultMutations;
unsigned long mutationSeed = kDefaultSeed;

const wchar_t* const kValidScripts[] = {
    LR"(HKCR
{
	NoRemove AppID
	{
		'%APPID%' = s 'trevik'
		'trevik.DLL'
		{
			val AppID = s '%APPID%'
		}
	}
})",
    LR"(HKCR
{
	trevik.ZuTrevikHelper.1 = s 'ZuTrevikHelper Class'
	{
		CLSID = s '{5B0A4C6E-1F2D-4E3A-9B8C-7D6E5F4A3B2C}'
	}
	NoRemove CLSID
	{
		ForceRemove {5B0A4C6E-1F2D-4E3A-9B8C-7D6E5F4A3B2C} = s 'ZuTrevikHelper Class'
		{
			ProgID = s 'trevik.ZuTrevikHelper.1'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{1A2B3C4D-5E6F-4A5B-8C7D-9E0F1A2B3C4D}'
		}
	}
})",
    LR"(HKCU { Kinds { val S = s 'it''s' val M = m 'a\0b\0\0c' val D = d 4294967295 val B = b '00ff7E' } })",
    LR"(HKLM { Outer = s 'x' { Delete Gone = s 'y' Inner { Deeper { val v = d '&H10' } } } } HKU { a { b } })",
    LR"(HKEY_CURRENT_USER { NoRemove Software { ForceRemove Mine { 'quoted {}' = m '' } } } HKCC { x = b '' })",
};

const wchar_t* const kFragments[] = {
    L"{", L"}", L"=", L"'", L"''", L"%", L"%%", L"%MODULE%", L"%APPID%", L"%nope%", L"\\", L"\\0", L" ", L"\r\n",
    L"\t", L"\v", L"Val ", L"val", L"NoRemove ", L"ForceRemove ", L"Delete ", L"s ", L"m ", L"d ", L"b ", L"x ",
    L"HKCR", L"HKCU ", L"HKLM", L"HKU", L"HKPD ", L"HKDD ", L"HKCC", L"HKEY_LOCAL_MACHINE ", L"HKEY_CLASSES_ROOT",
    L"Software", L"CLSID", L"AppID", L"12", L"zz", L"\x00E9", L"\xD83D\xDE00", L"{ { { {", L"} } }",
};

class Mutator {
public:
    explicit Mutator(unsigned long seed) : random_(seed) {}

    std::wstring Mutate(std::wstring script)
    {
        int edits = 1 + Below(4);
        for (int i = 0; i < edits; ++i)
            Edit(script);
        return script;
    }

private:
    size_t Below(size_t bound) { return std::uniform_int_distribution<size_t>(0, bound - 1)(random_); }

    void Edit(std::wstring& script)
    {
        size_t at = Below(script.size() + 1);
        switch (Below(7)) {
        case 0:  // delete a run of units
            script.erase(at, 1 + Below(8));
            break;
        case 1:  // insert a fragment of the language
            script.insert(at, kFragments[Below(std::size(kFragments))]);
            break;
        case 2:  // insert one unit of any value but NUL
            script.insert(at, 1, static_cast<wchar_t>(1 + Below(0xFFFF)));
            break;
        case 3:  // repeat a piece
            if (at < script.size())
                script.insert(at, script.substr(at, 1 + Below(40)));
            break;
        case 4:  // cut the end off
            script.resize(at);
            break;
        case 5:  // make a name very long
            script.insert(at, std::wstring(Below(2) ? 300 : 4100, L'n'));
            break;
        default:  // swap two units
            if (!script.empty())
                std::swap(script[Below(script.size())], script[Below(script.size())]);
            break;
        }
    }

    std::mt19937 random_;
};

bool IsDocumentedResult(HRESULT hr)
{
    return hr == S_OK || hr == DISP_E_EXCEPTION || hr == E_FAIL || hr == E_OUTOFMEMORY ||
           HRESULT_FACILITY(hr) == FACILITY_WIN32;
}

TEST(MutationTest, MalformedScriptsFailCleanlyAndStayInTheirSandbox)
{
    RegistryDump users = DumpTree(HKEY_USERS);
    RegistryDump machine = DumpTree(HKEY_LOCAL_MACHINE);
    RegistryDump dynamic = DumpTree(HKEY_DYN_DATA);
    unsigned long failures = 0;
    {
        RegistrySandbox sandbox(L"trevik-test-mutations");
        sandbox.RedirectRootKeys();
        trevik::CRegObject registrar;
        registrar.PutReplacement(L"APPID", L"{0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9}");
        registrar.PutReplacement(L"Module", L"C:\\it''s\\trevik.dll");

        Mutator mutator(mutationSeed);
        for (unsigned long run = 0; run < mutationCount; ++run) {
            std::wstring script = mutator.Mutate(kValidScripts[run % std::size(kValidScripts)]);
            const bool perUser = run % 2 == 1;
            for (bool registering : {true, false}) {
                trevik::CRegScriptParser parser(registrar.Replacements(), perUser);
                HRESULT hr = trevik::RunScript(parser, script.c_str(), registering);
                ASSERT_TRUE(IsDocumentedResult(hr)) << "run " << run << " seed " << mutationSeed << " result 0x"
                                                    << std::hex << hr;
                failures += registering && FAILED(hr);
            }
            if (run % kRunsBetweenClearing == kRunsBetweenClearing - 1)
                sandbox.Clear();
        }
    }
    std::printf("%lu mutated scripts from seed %lu, %lu refused when registering\n", mutationCount, mutationSeed,
                failures);
    EXPECT_EQ(std::vector<std::wstring>(), Differences(users, DumpTree(HKEY_USERS)));
    EXPECT_EQ(std::vector<std::wstring>(), Differences(machine, DumpTree(HKEY_LOCAL_MACHINE)));
    EXPECT_EQ(std::vector<std::wstring>(), Differences(dynamic, DumpTree(HKEY_DYN_DATA)));
}

unsigned long Setting(const char* environment, const char* argument, int argc, char** argv, unsigned long fallback)
{
    unsigned long value = fallback;
    if (const char* text = std::getenv(environment))
        value = std::strtoul(text, nullptr, 10);
    size_t length = std::strlen(argument);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], argument, length) == 0)
            value = std::strtoul(argv[i] + length, nullptr, 10);
    return value;
}

}  // namespace
}  // namespace registrar_test

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    using namespace registrar_test;
    mutationCount = Setting("TREVIK_MUTATIONS", "--mutations=", argc, argv, kDefaultMutations);
    mutationSeed = Setting("TREVIK_MUTATION_SEED", "--seed=", argc, argv, kDefaultSeed);
    return RUN_ALL_TESTS();
}
