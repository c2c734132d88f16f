// The registration sequences, run over object maps of the test's own against
// this program's file, which carries the library's registry scripts and type
// library. The predefined root keys are redirected into a sandbox.
#include "registration/RegistrationSequences.h"

#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Identifiers.h"
#include "module/ObjectMap.h"
#include "platform/ComPtr.h"
#include "platform/ThisModule.h"
#include "registration/ApplyRegistryScript.h"
#include "support/RegistrySandbox.h"

using testsupport::KeyExists;

namespace {

// The library always registers per user.
constexpr bool kPerUser = true;
const LCID kGermanLocale = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
const std::wstring kUserClasses = L"Software\\Classes\\";
// What the library's module gives every script.
HRESULT PutAppId(trevik::IRegistrarBase* registrar)
{
    return registrar->PutReplacement(L"APPID", trevik::kAppIdText);
}

bool AppIdRegistered()
{
    return KeyExists(HKEY_CURRENT_USER, kUserClasses + L"AppID\\" + trevik::kAppIdText) &&
           KeyExists(HKEY_CURRENT_USER, kUserClasses + L"AppID\\trevik.DLL");
}

bool TypeLibraryRegistered()
{
    trevik::ComPtr<ITypeLib> library;
    return SUCCEEDED(LoadRegTypeLib(LIBID_trevikLib, 1, 0, 0, library.Receive()));
}

// What a class's registration step saw when it was called.
struct ClassCall {
    bool registering;
    bool appIdRegistered;
    bool typeLibraryRegistered;
    LCID locale;
};
std::vector<ClassCall> classCalls;
HRESULT classRegistrationResult = S_OK;

HRESULT RecordingUpdateRegistry(BOOL registering, const trevik::RegistrationRun&)
{
    classCalls.push_back({registering != FALSE, AppIdRegistered(), TypeLibraryRegistered(), GetThreadLocale()});
    return registering ? classRegistrationResult : S_OK;
}

const trevik::CategoryMapEntry* NoCategories()
{
    return nullptr;
}

class RegistrationSequencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sandbox.RedirectRootKeys();
        classCalls.clear();
        classRegistrationResult = S_OK;
        savedLocale = GetThreadLocale();
        SetThreadLocale(kGermanLocale);
    }
    void TearDown() override
    {
        SetThreadLocale(savedLocale);
        sandbox.RestoreRootKeys();
    }

    testsupport::RegistrySandbox sandbox{L"trevik-test-registration-sequences"};
    LCID savedLocale = 0;
    trevik::ObjectMapEntry recording = {&CLSID_ZuTrevikHelper, &RecordingUpdateRegistry, nullptr, nullptr,
                                        nullptr, &NoCategories, nullptr};
    trevik::ObjectMapEntry* slots[2] = {nullptr, &recording};
    trevik::RegisteredLibrary objectMap{trevik::ThisModule(), slots, slots + 2, &PutAppId};
};

TEST_F(RegistrationSequencesTest, RegistrationRunsTheAppIdScriptThenTheClassesThenTheTypeLibrary)
{
    ASSERT_EQ(S_OK, trevik::RunRegistration(objectMap, kPerUser));
    ASSERT_EQ(1u, classCalls.size());
    EXPECT_TRUE(classCalls[0].registering);
    EXPECT_TRUE(classCalls[0].appIdRegistered);
    EXPECT_FALSE(classCalls[0].typeLibraryRegistered);
    EXPECT_EQ(GetSystemDefaultLCID(), classCalls[0].locale);
    EXPECT_TRUE(TypeLibraryRegistered());
    EXPECT_EQ(kGermanLocale, GetThreadLocale());
}

TEST_F(RegistrationSequencesTest, UnregistrationRunsTheClassesThenTheTypeLibraryThenTheAppIdScript)
{
    ASSERT_EQ(S_OK, trevik::RunRegistration(objectMap, kPerUser));
    classCalls.clear();

    ASSERT_EQ(S_OK, trevik::RunUnregistration(objectMap, kPerUser));
    ASSERT_EQ(1u, classCalls.size());
    EXPECT_FALSE(classCalls[0].registering);
    EXPECT_TRUE(classCalls[0].appIdRegistered);
    EXPECT_TRUE(classCalls[0].typeLibraryRegistered);
    EXPECT_FALSE(TypeLibraryRegistered());
    EXPECT_FALSE(AppIdRegistered());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUserClasses + L"AppID")) << "the AppID key itself stays";
    EXPECT_EQ(kGermanLocale, GetThreadLocale());
}

TEST_F(RegistrationSequencesTest, FailingClassTakesBackTheAppIdAndRegistersNoTypeLibrary)
{
    classRegistrationResult = DISP_E_EXCEPTION;
    EXPECT_EQ(DISP_E_EXCEPTION, trevik::RunRegistration(objectMap, kPerUser));
    EXPECT_FALSE(AppIdRegistered());
    EXPECT_FALSE(TypeLibraryRegistered());
    EXPECT_EQ(kGermanLocale, GetThreadLocale()) << "the caller's locale comes back after a failure too";
}

TEST_F(RegistrationSequencesTest, UnregistrationGoesOnWhenTheTypeLibraryIsAlreadyGone)
{
    ASSERT_EQ(S_OK, trevik::RunRegistration(objectMap, kPerUser));
    ASSERT_EQ(S_OK, UnRegisterTypeLib(LIBID_trevikLib, 1, 0, 0, SYS_WIN64));

    EXPECT_EQ(S_OK, trevik::RunUnregistration(objectMap, kPerUser));
    EXPECT_EQ(2u, classCalls.size()) << "the classes were unregistered first";
    EXPECT_FALSE(AppIdRegistered());
}

TEST_F(RegistrationSequencesTest, FailedInstallLeavesAnEarlierRegistrationAsItWas)
{
    ASSERT_EQ(S_OK, trevik::RunRegistration(objectMap, kPerUser));
    const testsupport::RegistryDump before = testsupport::DumpTree(HKEY_CURRENT_USER);

    classRegistrationResult = E_ACCESSDENIED;
    EXPECT_EQ(E_ACCESSDENIED, trevik::InstallServer(objectMap, TRUE, kPerUser));
    ASSERT_EQ(2u, classCalls.size());
    EXPECT_TRUE(classCalls[1].registering) << "nothing is unregistered after the failure";
    EXPECT_EQ(std::vector<std::wstring>(), testsupport::Differences(before, testsupport::DumpTree(HKEY_CURRENT_USER)));
    EXPECT_TRUE(TypeLibraryRegistered());
    EXPECT_EQ(kGermanLocale, GetThreadLocale());
}

TEST_F(RegistrationSequencesTest, TheLibrarysOwnClassRegistersPerUserAndOnlyThere)
{
    trevik::ObjectMapEntry* helperSlots[] = {&trevik::zuTrevikHelperEntry};
    trevik::RegisteredLibrary helperMap{trevik::ThisModule(), helperSlots, helperSlots + 1, &PutAppId};
    const std::wstring classKey = kUserClasses + L"CLSID\\" + trevik::kClsidText;

    ASSERT_EQ(S_OK, trevik::RunRegistration(helperMap, kPerUser));
    EXPECT_EQ(L"Apartment", testsupport::ReadString(HKEY_CURRENT_USER, classKey + L"\\InprocServer32",
                                                    L"ThreadingModel"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + trevik::kClsidText));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"trevik.ZuTrevikHelper"));

    ASSERT_EQ(S_OK, trevik::RunUnregistration(helperMap, kPerUser));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserClasses + L"trevik.ZuTrevikHelper"));
}

TEST_F(RegistrationSequencesTest, ARegistrationLockLeftByAHolderThatEndedIsTakenOver)
{
    const std::wstring name = std::wstring(L"Local\\trevik.Registration.") + trevik::kClsidText;
    HANDLE holder = CreateThread(
        nullptr, 0,
        [](void* mutexName) -> DWORD {
            HANDLE mutex = CreateMutexW(nullptr, TRUE, static_cast<const wchar_t*>(mutexName));
            return mutex ? 0 : 1;  // ends holding it
        },
        const_cast<wchar_t*>(name.c_str()), 0, nullptr);
    ASSERT_NE(nullptr, holder);
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);

    EXPECT_EQ(S_OK, trevik::RunRegistration(objectMap, kPerUser));
    EXPECT_TRUE(AppIdRegistered());
}

TEST(UserCommandLine, IsUserInAnyLetterCaseAndNothingElse)
{
    for (const wchar_t* user : {L"user", L"USER", L"uSeR"})
        EXPECT_TRUE(trevik::IsUserCommandLine(user)) << user;
    for (const wchar_t* other : {L"users", L"use", L"user ", L" user", L"", L"us\u00c9r"})
        EXPECT_FALSE(trevik::IsUserCommandLine(other)) << other;
}

}  // namespace
