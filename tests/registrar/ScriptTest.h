// The fixture of the tests that run scripts against the registry: each test
// gets its own sandbox with the predefined root keys redirected into it, and
// HKEY_CURRENT_USER must be exactly as before once the sandbox is gone.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/FaultInjection.h"
#include "platform/PerUserRegistration.h"
#include "registrar/RegScriptParser.h"
#include "registrar/ReplacementMap.h"
#include "registrar/RunScript.h"
#include "support/RegistrySandbox.h"

namespace registrar_test {

using namespace testsupport;

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
        sandbox_.reset();
        trevik::DisarmAllFaults();
        trevik::DisablePerUserRegistrationForTests();
        EXPECT_EQ(std::vector<std::wstring>(), Differences(before_, DumpTree(HKEY_CURRENT_USER)))
            << "HKEY_CURRENT_USER changed outside the sandbox";
    }

    HRESULT Run(const std::wstring& script, bool registering)
    {
        trevik::CRegScriptParser parser(replacements);
        return trevik::RunScript(parser, script.c_str(), registering);
    }
    HRESULT Register(const std::wstring& script) { return Run(script, true); }
    HRESULT Unregister(const std::wstring& script) { return Run(script, false); }

    trevik::CReplacementMap replacements;
    std::optional<RegistrySandbox> sandbox_;

private:
    RegistryDump before_;
};

}  // namespace registrar_test
