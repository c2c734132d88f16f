// Registration of the built libraries as a whole: a registry write that fails
// at any point leaves the registry as it was, and registrations running on
// several threads at once take turns. The predefined root keys of the process
// are redirected into a sandbox, so every write lands there.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Identifiers.h"
#include "doubles/RaceThreads.h"
#include "support/BuildPaths.h"
#include "support/RegistrySandbox.h"

using testsupport::KeyExists;
using testsupport::ReadString;
using testsupport::RegistryDump;

namespace {

const std::wstring kUserClasses = L"Software\\Classes\\";
const std::wstring kClassKey = kUserClasses + L"CLSID\\" + trevik::kClsidText;
const HRESULT kInjectedFailure = HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);

// One load of a library of the build with its registration exports. The test
// build reads the fault setting while it loads, so the setting is in place
// before LoadLibrary and removed once the library is gone.
class Library {
public:
    explicit Library(std::wstring path, const std::string& faults = "") : path_(std::move(path))
    {
        _putenv(("TREVIK_FAULTS=" + faults).c_str());
        module_ = LoadLibraryW(path_.c_str());
    }
    ~Library()
    {
        if (module_)
            FreeLibrary(module_);
        _putenv("TREVIK_FAULTS=");
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    HRESULT Register() const { return Export<HRESULT(__stdcall*)()>("DllRegisterServer")(); }
    HRESULT Unregister() const { return Export<HRESULT(__stdcall*)()>("DllUnregisterServer")(); }
    HRESULT InstallForUser() const
    {
        return Export<HRESULT(__stdcall*)(BOOL, LPCWSTR)>("DllInstall")(TRUE, L"user");
    }

private:
    template <class Function>
    Function Export(const char* name) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    std::wstring path_;
    HMODULE module_;
};

std::wstring FaultsLibraryPath()
{
    return testsupport::WindowsPath(TREVIK_FAULTS_DLL_PATH);
}

// Every key and value a registration can reach, under the name of its root.
RegistryDump DumpRedirectedRoots()
{
    const struct {
        HKEY key;
        const wchar_t* name;
    } roots[] = {{HKEY_CLASSES_ROOT, L"HKCR"}, {HKEY_CURRENT_USER, L"HKCU"}, {HKEY_LOCAL_MACHINE, L"HKLM"},
                 {HKEY_USERS, L"HKU"}};
    RegistryDump all;
    for (const auto& root : roots)
        for (const auto& entry : testsupport::DumpTree(root.key))
            all[std::wstring(root.name) + L":" + entry.first] = entry.second;
    return all;
}

// The entries a registration writes, each with the text it must hold; an
// empty text asks only for the key.
struct Entry {
    HKEY root;
    std::wstring key;
    const wchar_t* value;
    std::wstring text;
};

std::vector<Entry> RegistrationTable(const std::wstring& modulePath)
{
    const std::wstring appIds = kUserClasses + L"AppID\\";
    const std::wstring progId = kUserClasses + L"trevik.ZuTrevikHelper";
    return {
        {HKEY_CURRENT_USER, appIds + trevik::kAppIdText, nullptr, L"trevik"},
        {HKEY_CURRENT_USER, appIds + L"trevik.DLL", L"AppID", trevik::kAppIdText},
        {HKEY_CURRENT_USER, progId + L".1", nullptr, L"ZuTrevikHelper Class"},
        {HKEY_CURRENT_USER, progId + L".1\\CLSID", nullptr, trevik::kClsidText},
        {HKEY_CURRENT_USER, progId, nullptr, L"ZuTrevikHelper Class"},
        {HKEY_CURRENT_USER, progId + L"\\CLSID", nullptr, trevik::kClsidText},
        {HKEY_CURRENT_USER, progId + L"\\CurVer", nullptr, L"trevik.ZuTrevikHelper.1"},
        {HKEY_CURRENT_USER, kClassKey, nullptr, L"ZuTrevikHelper Class"},
        {HKEY_CURRENT_USER, kClassKey + L"\\ProgID", nullptr, L"trevik.ZuTrevikHelper.1"},
        {HKEY_CURRENT_USER, kClassKey + L"\\VersionIndependentProgID", nullptr, L"trevik.ZuTrevikHelper"},
        {HKEY_CURRENT_USER, kClassKey + L"\\Programmable", nullptr, L""},
        {HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", nullptr, modulePath},
        {HKEY_CURRENT_USER, kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {HKEY_CURRENT_USER, kClassKey + L"\\TypeLib", nullptr, trevik::kLibidText},
        // Wine registers the type library machine-wide, even for the user.
        {HKEY_CLASSES_ROOT, std::wstring(L"TypeLib\\") + trevik::kLibidText + L"\\1.0", nullptr, L""},
    };
}

// The entries of the table that are missing or hold something else.
std::vector<std::wstring> MissingEntries(const std::vector<Entry>& table)
{
    std::vector<std::wstring> missing;
    for (const Entry& entry : table) {
        bool present = entry.text.empty() ? KeyExists(entry.root, entry.key)
                                          : ReadString(entry.root, entry.key, entry.value) == entry.text;
        if (!present)
            missing.push_back(entry.key + (entry.value ? std::wstring(L"=") + entry.value : L""));
    }
    return missing;
}

class RegistrationSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { sandbox.RedirectRootKeys(); }
    void TearDown() override { sandbox.RestoreRootKeys(); }

    testsupport::RegistrySandbox sandbox{L"trevik-test-registration-safety"};
};

// ---------------------------------------------------------------------------
// A registry write failing at any point

enum class Start { Clean, Registered, ForeignEntries };

struct FailureCase {
    const char* name;
    Start start;
    bool install;  // DllInstall(TRUE, "user") rather than DllRegisterServer
};

void PrintTo(const FailureCase& failureCase, std::ostream* out)
{
    *out << failureCase.name;
}

const FailureCase kFailureCases[] = {
    {"RegisterIntoAnEmptyRegistry", Start::Clean, false},
    {"RegisterOverAGoodRegistration", Start::Registered, false},
    {"RegisterOverForeignEntriesOfTheClass", Start::ForeignEntries, false},
    {"InstallOverAGoodRegistration", Start::Registered, true},
};

class RegistryWriteFailureTest : public RegistrationSafetyTest,
                                 public ::testing::WithParamInterface<FailureCase> {
protected:
    void Prepare(Start start)
    {
        sandbox.Clear();
        if (start == Start::Registered) {
            Library library(FaultsLibraryPath());
            ASSERT_TRUE(library.IsLoaded());
            ASSERT_EQ(S_OK, library.Register());
        } else if (start == Start::ForeignEntries) {
            // A class key left behind by someone else, with values and
            // subkeys the script does not know, and a foreign value on the
            // version-independent ProgID.
            using testsupport::WriteString;
            WriteString(HKEY_CURRENT_USER, kClassKey, L"Foreign", L"left by another installer");
            WriteString(HKEY_CURRENT_USER, kClassKey + L"\\Stale", nullptr, L"stale default");
            WriteString(HKEY_CURRENT_USER, kClassKey + L"\\Stale\\Deeper", L"One", L"first");
            DWORD number = 0x12345678;
            ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, (kClassKey + L"\\Stale\\Deeper").c_str(),
                                                     L"Two", REG_DWORD, &number, sizeof(number)));
            WriteString(HKEY_CURRENT_USER, kUserClasses + L"trevik.ZuTrevikHelper", L"Foreign", L"kept");
        }
    }
};

TEST_P(RegistryWriteFailureTest, EachFailedWriteLeavesTheRegistryAsItWasUntilRegistrationSucceeds)
{
    const FailureCase& failureCase = GetParam();
    const std::wstring path = FaultsLibraryPath();
    const int kMostWrites = 500;
    int skipped = 0;
    for (;; ++skipped) {
        ASSERT_LT(skipped, kMostWrites) << "registration never got through";
        Prepare(failureCase.start);
        ASSERT_FALSE(HasFatalFailure());
        RegistryDump before = DumpRedirectedRoots();
        HRESULT hr;
        {
            Library library(path, "RegistryWrite:" + std::to_string(skipped) + ":1");
            ASSERT_TRUE(library.IsLoaded());
            hr = failureCase.install ? library.InstallForUser() : library.Register();
        }
        ASSERT_EQ(nullptr, GetModuleHandleW(path.c_str())) << "the next load would not read its fault setting";
        if (hr == S_OK)
            break;
        ASSERT_EQ(kInjectedFailure, hr) << "write " << skipped << " failed";
        ASSERT_EQ(std::vector<std::wstring>{}, testsupport::Differences(before, DumpRedirectedRoots()))
            << "write " << skipped << " failed";
    }
    EXPECT_GT(skipped, 0) << "no write was made to fail";
    EXPECT_EQ(std::vector<std::wstring>{}, MissingEntries(RegistrationTable(path)));
}

INSTANTIATE_TEST_SUITE_P(, RegistryWriteFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Registrations on two threads at once, on the shipped library

class ConcurrentRegistrationTest : public RegistrationSafetyTest {
protected:
    static constexpr int kRounds = 100;

    Library library{testsupport::BuiltDllPath()};
    std::vector<Entry> table = RegistrationTable(testsupport::BuiltDllPath());
};

TEST_F(ConcurrentRegistrationTest, RegistrationsTakeTurnsAndEachLeavesTheCompleteTable)
{
    ASSERT_TRUE(library.IsLoaded());
    for (int round = 0; round < kRounds; ++round) {
        HRESULT results[2] = {E_FAIL, E_FAIL};
        doubles::RaceThreads(2, [&](int i) { results[i] = library.Register(); });
        ASSERT_EQ(S_OK, results[0]) << "round " << round;
        ASSERT_EQ(S_OK, results[1]) << "round " << round;
        ASSERT_EQ(std::vector<std::wstring>{}, MissingEntries(table)) << "round " << round;
    }
}

TEST_F(ConcurrentRegistrationTest, RegistrationRacingUnregistrationLeavesAllOrNothing)
{
    ASSERT_TRUE(library.IsLoaded());
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_EQ(S_OK, library.Register()) << "round " << round;
        HRESULT results[2] = {E_FAIL, E_FAIL};
        doubles::RaceThreads(2, [&](int i) { results[i] = i == 0 ? library.Register() : library.Unregister(); });
        ASSERT_EQ(S_OK, results[0]) << "registration, round " << round;
        ASSERT_EQ(S_OK, results[1]) << "unregistration, round " << round;
        // Whichever ran second decides: all of the table or none of it.
        size_t missing = MissingEntries(table).size();
        ASSERT_TRUE(missing == 0 || missing == table.size())
            << "round " << round << ": " << missing << " of " << table.size() << " entries missing";
    }
    ASSERT_EQ(S_OK, library.Register());
    EXPECT_EQ(std::vector<std::wstring>{}, MissingEntries(table));
}

}  // namespace
