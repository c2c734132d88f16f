#include <gtest/gtest.h>

#include "platform/CriticalSection.h"
#include "platform/FaultInjection.h"
#include "platform/HResult.h"

namespace {

TEST(HResultFromWin32, PositiveCodesBecomeWin32FailuresOfTheirLow16Bits)
{
    EXPECT_EQ(S_OK, trevik::HResultFromWin32(0));
    EXPECT_EQ(static_cast<HRESULT>(0x80070005), trevik::HResultFromWin32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(static_cast<HRESULT>(0x8007007A), trevik::HResultFromWin32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(static_cast<HRESULT>(0x80072345), trevik::HResultFromWin32(0x12345));
    EXPECT_EQ(E_FAIL, trevik::HResultFromWin32(E_FAIL)) << "negative values pass unchanged";
}

TEST(HResultFromWin32, LastErrorIsConverted)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), trevik::HResultFromLastError());
}

TEST(CriticalSection, SetupFailureIsOutOfMemoryAndLeavesNothingToDestroy)
{
    trevik::CriticalSection section;
    trevik::ArmFault(trevik::Fault::CriticalSectionSetup);
    EXPECT_EQ(E_OUTOFMEMORY, section.Setup());
    EXPECT_FALSE(section.IsSetUp());
    section.Destroy();

    EXPECT_EQ(S_OK, section.Setup());
    EXPECT_TRUE(section.IsSetUp());
}

TEST(CriticalSection, IsReentrantForItsOwner)
{
    trevik::CriticalSection section;
    ASSERT_EQ(S_OK, section.Setup());
    trevik::CriticalSectionLock outer(section);
    trevik::CriticalSectionLock inner(section);
    SUCCEED();
}

}  // namespace
