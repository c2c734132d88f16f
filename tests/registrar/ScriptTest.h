// The fixture of the tests that run scripts against the registry: each test
// gets its own sandbox with the predefined root keys redirected into it, and
// HKEY_CURRENT_USER must be exactly as before once the sandbox is gone.
#pragma once
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/FaultInjection.h"
#include "platform/RegistryKey.h"
#include "registrar/RegScriptParser.h"
#include "registrar/ReplacementMap.h"
#include "registrar/RunScript.h"
#include "support/RegistrySandbox.h"

namespace registrar_test {

using namespace testsupport;

// The calling user's SID as text, as the registry's own namespace names the
// user's hive.
inline std::wstring UserSid()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    BYTE buffer[256] = {};
    DWORD bytes = 0;
    GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &bytes);
    CloseHandle(token);
    LPWSTR text = nullptr;
    ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text);
    std::wstring sid = text ? text : L"";
    LocalFree(text);
    return sid;
}

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before_ = DumpTree(HKEY_CURRENT_USER);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("trevik-test-") + test->test_suite_name() + "." + test->name();
        sandbox_.emplace(std::wstring(name.begin(), name.end()));
        sandbox_->RedirectRootKeys();
    }

    void TearDown() override
    {
        // The sandbox's own deletion cannot remove links.
        sandbox_->RestoreRootKeys();
        for (const std::wstring& link : links_)
            trevik::DeleteKeyTree(HKEY_CURRENT_USER, (sandbox_->Path() + L"\\HKCU\\" + link).c_str());
        sandbox_.reset();
        trevik::DisarmAllFaults();
        EXPECT_EQ(std::vector<std::wstring>(), Differences(before_, DumpTree(HKEY_CURRENT_USER)))
            << "HKEY_CURRENT_USER changed outside the sandbox";
    }

    HRESULT Run(const std::wstring& script, bool registering)
    {
        trevik::CRegScriptParser parser(replacements, perUser);
        return trevik::RunScript(parser, script.c_str(), registering);
    }
    HRESULT Register(const std::wstring& script) { return Run(script, true); }
    HRESULT Unregister(const std::wstring& script) { return Run(script, false); }

    // Makes `path` under the redirected HKEY_CURRENT_USER a registry link to
    // `target`, another path under it.
    void CreateLink(const std::wstring& path, const std::wstring& target)
    {
        std::wstring absolute = L"\\Registry\\User\\" + UserSid() + L"\\" + sandbox_->Path() + L"\\HKCU\\" + target;
        HKEY link = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                                 KEY_ALL_ACCESS, nullptr, &link, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK,
                                                reinterpret_cast<const BYTE*>(absolute.data()),
                                                static_cast<DWORD>(absolute.size() * sizeof(wchar_t))));
        RegCloseKey(link);
        links_.push_back(path);
    }

    // True when `path` under the redirected HKEY_CURRENT_USER is a link itself.
    static bool IsLink(const std::wstring& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key) != 0)
            return false;
        DWORD type = REG_NONE;
        LONG code = RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr);
        RegCloseKey(key);
        return code == ERROR_SUCCESS && type == REG_LINK;
    }

    trevik::CReplacementMap replacements;
    // Scripts run per user: top-level HKCR blocks go under HKCU\Software\Classes.
    bool perUser = false;
    std::optional<RegistrySandbox> sandbox_;

private:
    RegistryDump before_;
    std::vector<std::wstring> links_;
};

}  // namespace registrar_test
