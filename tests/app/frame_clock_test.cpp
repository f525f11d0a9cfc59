// The frame clock under the virtual clock: the 17/17/16 rhythm, and frames that skip drawing
// until a lag is worked off.

#include "app/frame_clock.h"

#include <gtest/gtest.h>

#include "app/platform_time.h"

namespace {

class FrameClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::setVirtualClock(true);
        app::advanceVirtualClock(1000);
        app::resetFrameClock();
    }
    void TearDown() override { app::setVirtualClock(false); }
};

TEST_F(FrameClockTest, FramesComeInGroupsOfSeventeenSeventeenSixteen) {
    uint32_t before = app::readTicks();
    std::vector<uint32_t> lengths;
    for (int i = 0; i < 9; ++i) {
        app::paceFrame();
        lengths.push_back(app::readTicks() - before);
        before = app::readTicks();
        EXPECT_FALSE(app::frameClock.skipDraw);
    }
    EXPECT_EQ(lengths, (std::vector<uint32_t>{17, 17, 16, 17, 17, 16, 17, 17, 16}));
}

TEST_F(FrameClockTest, WorkInsideAFrameShortensItsWait) {
    app::advanceVirtualClock(5);
    const uint32_t start = app::readTicks();
    app::paceFrame();
    EXPECT_EQ(app::readTicks() - start, 12u);
    app::advanceVirtualClock(10);  // the second frame works 10 ms
    app::paceFrame();
    app::advanceVirtualClock(3);
    app::paceFrame();  // the group still ends 50 ms after it began
    EXPECT_EQ(app::readTicks() - start + 5, 50u);
}

TEST_F(FrameClockTest, ALateFrameSkipsDrawingUntilTheLagIsWorkedOff) {
    app::advanceVirtualClock(60);  // one very slow frame
    app::paceFrame();              // lag 60 > 17: skip, lag 43
    EXPECT_TRUE(app::frameClock.skipDraw);
    EXPECT_EQ(app::frameClock.lagMs, 43);
    app::paceFrame();  // lag 43 > 17: skip, lag 26
    EXPECT_TRUE(app::frameClock.skipDraw);
    EXPECT_EQ(app::frameClock.lagMs, 26);
    app::paceFrame();  // group end: 26 + (60 - 0) = 86 > 50: skip, lag 36
    EXPECT_TRUE(app::frameClock.skipDraw);
    EXPECT_EQ(app::frameClock.lagMs, 36);
    app::paceFrame();  // 36 > 17: skip, 19
    app::paceFrame();  // 19 > 17: skip, 2
    EXPECT_TRUE(app::frameClock.skipDraw);
    EXPECT_EQ(app::frameClock.lagMs, 2);
    const uint32_t before = app::readTicks();
    app::paceFrame();  // group end: 2 + 0 <= 50: waits 48 and draws again
    EXPECT_FALSE(app::frameClock.skipDraw);
    EXPECT_EQ(app::readTicks() - before, 48u);
    EXPECT_EQ(app::frameClock.lagMs, 0);
}

TEST_F(FrameClockTest, ResetStartsANewScheduleNow) {
    app::paceFrame();
    app::advanceVirtualClock(500);
    app::resetFrameClock();
    EXPECT_EQ(app::frameClock.frameInGroup, 0);
    const uint32_t before = app::readTicks();
    app::paceFrame();
    EXPECT_EQ(app::readTicks() - before, 17u);
}

}  // namespace
