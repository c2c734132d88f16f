#include "registrar/RegObject.h"

#include <gtest/gtest.h>

#include "registrar/ScriptTest.h"

namespace registrar_test {
namespace {

const HKEY kUser = HKEY_CURRENT_USER;

std::wstring ScriptModulePath()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"registrar_test_scripts.dll";
}

class RegObjectTest : public ScriptTest {
protected:
    HRESULT RunResource(WORD id, bool registering)
    {
        return registrar.RunScriptResource(ScriptModulePath().c_str(), MAKEINTRESOURCEW(id), L"REGISTRY", registering);
    }

    trevik::CRegObject registrar;
};

TEST_F(RegObjectTest, AScriptResourceRegistersAndUnregistersWithItsReplacements)
{
    ASSERT_EQ(S_OK, registrar.PutReplacement(L"NAME", L"replaced"));
    ASSERT_EQ(S_OK, RunResource(101, true));
    EXPECT_EQ(L"replaced", ReadString(kUser, L"From Resource"));
    EXPECT_EQ(DwordValue(7), ReadValue(kUser, L"From Resource", L"Number"));
    ASSERT_EQ(S_OK, RunResource(101, false));
    EXPECT_FALSE(KeyExists(kUser, L"From Resource"));
}

TEST_F(RegObjectTest, ReplacementsCanBeResetAndTheFirstOfANameWins)
{
    EXPECT_EQ(S_OK, registrar.ResetReplacements());
    EXPECT_EQ(E_INVALIDARG, registrar.PutReplacement(nullptr, L"value"));
    EXPECT_EQ(E_INVALIDARG, registrar.PutReplacement(L"NAME", nullptr));
    ASSERT_EQ(S_OK, registrar.PutReplacement(L"name", L"first"));
    ASSERT_EQ(S_OK, registrar.PutReplacement(L"NAME", L"second"));
    ASSERT_EQ(S_OK, RunResource(101, true));
    EXPECT_EQ(L"first", ReadString(kUser, L"From Resource"));

    EXPECT_EQ(S_OK, registrar.ResetReplacements());
    EXPECT_EQ(0, registrar.Replacements().Count());
    EXPECT_EQ(DISP_E_EXCEPTION, RunResource(101, true));
}

TEST_F(RegObjectTest, AReplacementThatCannotBeStoredIsOutOfMemory)
{
    trevik::ArmFault(trevik::Fault::ReplacementStore);
    EXPECT_EQ(E_OUTOFMEMORY, registrar.PutReplacement(L"NAME", L"value"));
    EXPECT_EQ(0, registrar.Replacements().Count());
}

TEST_F(RegObjectTest, TheUnknownOperationsNeitherCountNorAnswerQueries)
{
    trevik::IRegistrarBase* base = &registrar;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOTIMPL, base->QueryInterface(IID_IUnknown, &object));
    EXPECT_EQ(reinterpret_cast<void*>(1), object);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(1u, base->AddRef());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(0u, base->Release());
    EXPECT_EQ(S_OK, base->PutReplacement(L"still", L"alive"));
}

TEST_F(RegObjectTest, MissingModulesAndResourcesAreThePlatformsErrors)
{
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND), RunResource(999, true));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND),
              registrar.RunScriptResource(ScriptModulePath().c_str(), MAKEINTRESOURCEW(101), L"NOSUCHTYPE", true));
    HRESULT missingModule = registrar.RunScriptResource(L"C:\\no\\such\\module.dll", MAKEINTRESOURCEW(101), L"REGISTRY", true);
    EXPECT_EQ(FACILITY_WIN32, HRESULT_FACILITY(missingModule));
    EXPECT_TRUE(FAILED(missingModule));
    EXPECT_EQ(std::vector<std::wstring>(), SubkeyNames(kUser, L""));
}

TEST_F(RegObjectTest, AnEmptyScriptFailsItsConversion)
{
    EXPECT_EQ(E_INVALIDARG, RunResource(102, true));
}

TEST_F(RegObjectTest, ScriptsJustUnderAndOverTheStackSizeAreReadWhole)
{
    ASSERT_EQ(S_OK, RunResource(103, true));
    ASSERT_EQ(S_OK, RunResource(104, true));
    EXPECT_EQ(L"whole", ReadString(kUser, L"Padded511"));
    EXPECT_EQ(L"whole", ReadString(kUser, L"Padded512"));
}

TEST_F(RegObjectTest, EightBitScriptsAreReadInTheThreadsAnsiCodePage)
{
    LCID locale = GetThreadLocale();
    ASSERT_EQ(S_OK, RunResource(105, true));
    if (GetACP() == 1252) {
        EXPECT_EQ(L"\x00E9t\x00E9", ReadString(kUser, L"caf\x00E9"));
    }

    ASSERT_TRUE(SetThreadLocale(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT)));
    HRESULT hr = RunResource(105, true);
    SetThreadLocale(locale);
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ(L"\x0439t\x0439", ReadString(kUser, L"caf\x0439")) << "code page 1251";
}

TEST_F(RegObjectTest, AClassesScriptRunsUnderTheUsersClassesInPerUserMode)
{
    registrar.SetPerUserClasses(true);
    ASSERT_EQ(S_OK, RunResource(106, true));
    EXPECT_EQ(L"per user", ReadString(kUser, L"Software\\Classes\\trevik.Resource"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"trevik.Resource"));
}

}  // namespace
}  // namespace registrar_test
