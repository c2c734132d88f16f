#include <gtest/gtest.h>

#include <vector>

#include "platform/CriticalSection.h"
#include "platform/FaultInjection.h"
#include "platform/HResult.h"
#include "platform/Owned.h"

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

namespace {

// Traits whose release needs the owner that handed the handle out: the owner
// records every handle it gets back.
struct RecordingOwner {
    std::vector<int> givenBack;
};
struct RecordingTraits {
    using Handle = int;
    static constexpr int kEmpty = 0;
    RecordingOwner* owner;
    void Release(int handle) const noexcept { owner->givenBack.push_back(handle); }
};

}  // namespace

TEST(Owned, EveryHeldHandleGoesBackToItsOwnerExactlyOnce)
{
    RecordingOwner owner;
    {
        trevik::Owned<RecordingTraits> held(RecordingTraits{&owner});
        *held.Receive() = 1;
        held.Reset(2);        // 1 goes back
        *held.Receive() = 3;  // 2 goes back
        trevik::Owned<RecordingTraits> moved(std::move(held));
        EXPECT_FALSE(held);
        EXPECT_EQ(3, moved.Get());
        moved = trevik::Owned<RecordingTraits>(RecordingTraits{&owner});  // 3 goes back
        *moved.Receive() = 4;
        EXPECT_EQ(4, moved.ReleaseOwnership());  // the caller's now, not given back
        *moved.Receive() = 5;
    }  // 5 goes back
    EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), owner.givenBack);
}
