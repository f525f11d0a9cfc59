// The frame clock under the virtual clock: the 17/17/16 rhythm, and frames that skip drawing
// until a lag is worked off.

#include "platform/frame_clock.h"

#include <gtest/gtest.h>

#include "platform/ticks.h"

namespace {

class FrameClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::setVirtualClock(true);
        platform::advanceVirtualClock(1000);
        platform::resetFrameClock();
    }
    void TearDown() override { platform::setVirtualClock(false); }
};

TEST_F(FrameClockTest, FramesComeInGroupsOfSeventeenSeventeenSixteen) {
    uint32_t before = platform::readTicks();
    std::vector<uint32_t> lengths;
    for (int i = 0; i < 9; ++i) {
        platform::paceFrame();
        lengths.push_back(platform::readTicks() - before);
        before = platform::readTicks();
        EXPECT_FALSE(platform::frameClock.skipDraw);
    }
    EXPECT_EQ(lengths, (std::vector<uint32_t>{17, 17, 16, 17, 17, 16, 17, 17, 16}));
}

TEST_F(FrameClockTest, WorkInsideAFrameShortensItsWait) {
    platform::advanceVirtualClock(5);
    const uint32_t start = platform::readTicks();
    platform::paceFrame();
    EXPECT_EQ(platform::readTicks() - start, 12u);
    platform::advanceVirtualClock(10);  // the second frame works 10 ms
    platform::paceFrame();
    platform::advanceVirtualClock(3);
    platform::paceFrame();  // the group still ends 50 ms after it began
    EXPECT_EQ(platform::readTicks() - start + 5, 50u);
}

TEST_F(FrameClockTest, ALateFrameSkipsDrawingUntilTheLagIsWorkedOff) {
    platform::advanceVirtualClock(60);  // one very slow frame
    platform::paceFrame();              // lag 60 > 17: skip, lag 43
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 43);
    platform::paceFrame();  // lag 43 > 17: skip, lag 26
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 26);
    platform::paceFrame();  // group end: 26 + (60 - 0) = 86 > 50: skip, lag 36
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 36);
    platform::paceFrame();  // 36 > 17: skip, 19
    platform::paceFrame();  // 19 > 17: skip, 2
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 2);
    const uint32_t before = platform::readTicks();
    platform::paceFrame();  // group end: 2 + 0 <= 50: waits 48 and draws again
    EXPECT_FALSE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::readTicks() - before, 48u);
    EXPECT_EQ(platform::frameClock.lagMs, 0);
}

TEST_F(FrameClockTest, ResetStartsANewScheduleNow) {
    platform::paceFrame();
    platform::advanceVirtualClock(500);
    platform::resetFrameClock();
    EXPECT_EQ(platform::frameClock.frameInGroup, 0);
    const uint32_t before = platform::readTicks();
    platform::paceFrame();
    EXPECT_EQ(platform::readTicks() - before, 17u);
}

}  // namespace
