#include "registration/ModuleTypeLibrary.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "Identifiers.h"
#include "platform/BString.h"
#include "platform/ComPtr.h"
#include "registration/ModuleTypeLibrary.h"
#include "support/BuildPaths.h"

using trevik::ComPtr;
using trevik::BString;

namespace {

std::wstring FallbackOf(const std::wstring& path)
{
    return path.substr(0, trevik::ExtensionPosition(path.c_str())) + L".tlb";
}

TEST(ModuleTypeLibraryPaths, FallbackReplacesOnlyTheExtensionOfTheFileName)
{
    EXPECT_EQ(L"C:\\dir\\trevik.tlb", FallbackOf(L"C:\\dir\\trevik.dll"));
    EXPECT_EQ(L"C:\\dir\\trevik.tlb", FallbackOf(L"C:\\dir\\trevik"));
    EXPECT_EQ(L"C:\\dir.x\\trevik.tlb", FallbackOf(L"C:\\dir.x\\trevik"));
    EXPECT_EQ(L"C:\\dir\\trevik.x.tlb", FallbackOf(L"C:\\dir\\trevik.x.dll"));
}

std::wstring HelpDirectoryOf(const wchar_t* helpFile)
{
    BString text(SysAllocString(helpFile));
    wchar_t buffer[MAX_PATH];
    trevik::HelpDirectoryOf(text.Get(), buffer, MAX_PATH);
    return buffer;
}

TEST(ModuleTypeLibraryPaths, HelpDirectoryKeepsItsLastSeparator)
{
    EXPECT_EQ(L"C:\\help\\", HelpDirectoryOf(L"C:\\help\\lib.hlp"));
    EXPECT_EQ(L"docs/", HelpDirectoryOf(L"docs/lib.hlp"));
    EXPECT_EQ(L"C:", HelpDirectoryOf(L"C:lib.hlp"));
    EXPECT_EQ(L"", HelpDirectoryOf(L"lib.hlp"));
}

TEST(ModuleTypeLibraryPaths, OverlongHelpFileIsCutInsideTheBuffer)
{
    std::wstring longFile = L"C:\\" + std::wstring(150, L'a') + L"\\" + std::wstring(200, L'b') + L".hlp";
    EXPECT_EQ(L"C:\\" + std::wstring(150, L'a') + L"\\", HelpDirectoryOf(longFile.c_str()));
}

// The built DLL loaded into the test, and the type library registration it
// may leave behind removed after every test.
class ModuleTypeLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryW(testsupport::BuiltDllPath().c_str());
        ASSERT_NE(nullptr, module);
    }
    void TearDown() override
    {
        UnRegisterTypeLib(LIBID_trevikLib, 1, 0, 0, SYS_WIN64);
        FreeLibrary(module);
    }

    static std::wstring ModulePath(HMODULE of)
    {
        wchar_t path[MAX_PATH];
        DWORD length = GetModuleFileNameW(of, path, MAX_PATH);
        return std::wstring(path, length);
    }

    static bool IsRegistered()
    {
        ComPtr<ITypeLib> library;
        return SUCCEEDED(LoadRegTypeLib(LIBID_trevikLib, 1, 0, 0, library.Receive()));
    }

    HMODULE module = nullptr;
};

TEST_F(ModuleTypeLibraryTest, LoadsFromTheModulesOwnFile)
{
    BString path;
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, trevik::LoadModuleTypeLibrary(module, nullptr, path.Receive(), library.Receive()));
    EXPECT_EQ(ModulePath(module), path.Get());
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_trevikLib, attributes->guid));
    library->ReleaseTLibAttr(attributes);
}

TEST_F(ModuleTypeLibraryTest, NullOutPointersAreRefused)
{
    BSTR path = nullptr;
    ITypeLib* library = nullptr;
    EXPECT_EQ(E_POINTER, trevik::LoadModuleTypeLibrary(module, nullptr, nullptr, &library));
    EXPECT_EQ(E_POINTER, trevik::LoadModuleTypeLibrary(module, nullptr, &path, nullptr));
}

TEST_F(ModuleTypeLibraryTest, IndexTextIsAppendedAndAnOverlongOneRefused)
{
    BString path;
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, trevik::LoadModuleTypeLibrary(module, L"\\1", path.Receive(), library.Receive()));
    EXPECT_EQ(ModulePath(module) + L"\\1", path.Get());

    std::wstring overlong(270, L'1');
    EXPECT_EQ(E_FAIL, trevik::LoadModuleTypeLibrary(module, overlong.c_str(), path.Receive(), library.Receive()));
    EXPECT_EQ(nullptr, path.Get());
    EXPECT_FALSE(library);
}

TEST_F(ModuleTypeLibraryTest, ModuleWithoutTypeLibraryFallsBackToTheTlbBesideIt)
{
    HMODULE program = GetModuleHandleW(nullptr);
    std::wstring fallback = FallbackOf(ModulePath(program));
    DeleteFileW(fallback.c_str());

    BString path;
    ComPtr<ITypeLib> library;
    EXPECT_TRUE(FAILED(trevik::LoadModuleTypeLibrary(program, nullptr, path.Receive(), library.Receive())));
    EXPECT_EQ(nullptr, path.Get());
    EXPECT_FALSE(library);

    // Any file that holds the library serves as the ".tlb"; the built DLL does.
    ASSERT_TRUE(CopyFileW(ModulePath(module).c_str(), fallback.c_str(), FALSE));
    EXPECT_EQ(S_OK, trevik::LoadModuleTypeLibrary(program, nullptr, path.Receive(), library.Receive()));
    EXPECT_EQ(fallback, path.Get());
    library.Reset();
    DeleteFileW(fallback.c_str());
}

TEST_F(ModuleTypeLibraryTest, RegistersWithTheModulePathAndUnregistersFromItsOwnAttributes)
{
    ASSERT_FALSE(IsRegistered());
    ASSERT_EQ(S_OK, trevik::RegisterModuleTypeLibrary(module, nullptr, false));
    ASSERT_TRUE(IsRegistered());

    wchar_t registered[MAX_PATH] = {};
    LONG size = sizeof(registered);
    std::wstring key = std::wstring(L"TypeLib\\") + trevik::kLibidText + L"\\1.0\\0\\win64";
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), registered, &size));
    EXPECT_EQ(0, lstrcmpiW(ModulePath(module).c_str(), registered));

    EXPECT_EQ(S_OK, trevik::UnregisterModuleTypeLibrary(module, nullptr, false));
    EXPECT_FALSE(IsRegistered());
    EXPECT_EQ(S_FALSE, trevik::UnregisterModuleTypeLibrary(module, nullptr, false)) << "nothing left to remove";
}

TEST_F(ModuleTypeLibraryTest, PerUserFunctionsAreChosenOnlyWhenPerUserRegistrationIsOn)
{
    HMODULE automation = GetModuleHandleW(L"OLEAUT32.DLL");
    ASSERT_NE(nullptr, automation);
    EXPECT_EQ(&RegisterTypeLib, trevik::ChooseRegisterTypeLib(false));
    EXPECT_EQ(&UnRegisterTypeLib, trevik::ChooseUnregisterTypeLib(false));

    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(automation, "RegisterTypeLibForUser")),
              reinterpret_cast<void*>(trevik::ChooseRegisterTypeLib(true)));
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(automation, "UnRegisterTypeLibForUser")),
              reinterpret_cast<void*>(trevik::ChooseUnregisterTypeLib(true)));

    ASSERT_EQ(S_OK, trevik::RegisterModuleTypeLibrary(module, nullptr, true));
    EXPECT_TRUE(IsRegistered());
    EXPECT_EQ(S_OK, trevik::UnregisterModuleTypeLibrary(module, nullptr, true));
    EXPECT_FALSE(IsRegistered());
}

}  // namespace
