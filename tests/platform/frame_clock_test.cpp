// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frame clock under the virtual clock: the 17/17/16 rhythm, frames that skip drawing
// until the schedule is caught up, and the rate they hold whatever drawing costs.

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

TEST_F(FrameClockTest, ALateFrameSkipsDrawingUntilTheScheduleIsCaughtUp) {
    const uint32_t start = platform::readTicks();
    platform::advanceVirtualClock(60);  // one very slow frame: it should have ended at 17
    platform::paceFrame();
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 43);
    platform::paceFrame();  // 60 against 34
    EXPECT_EQ(platform::frameClock.lagMs, 26);
    platform::paceFrame();  // 60 against 50
    EXPECT_TRUE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::frameClock.lagMs, 10);
    platform::paceFrame();  // 60 against 67: on time again, it waits and draws
    EXPECT_FALSE(platform::frameClock.skipDraw);
    EXPECT_EQ(platform::readTicks() - start, 67u);
}

// Frames run as the game runs them: each drawn frame costs `drawMs`, a skipped one nothing.
// Returns the frames computed in `spanMs` of time.
int framesIn(uint32_t spanMs, uint32_t drawMs) {
    const uint32_t end = platform::readTicks() + spanMs;
    int frames = 0;
    while (platform::readTicks() < end) {
        if (!platform::frameClock.skipDraw) platform::advanceVirtualClock(drawMs);
        platform::paceFrame();
        ++frames;
    }
    return frames;
}

TEST_F(FrameClockTest, TheGameRunsSixtyFramesASecondHoweverSlowItDraws) {
    for (uint32_t drawMs : {0u, 5u, 16u, 17u, 20u, 33u, 40u, 60u, 75u, 100u}) {
        platform::resetFrameClock();
        const int frames = framesIn(60000, drawMs);
        EXPECT_NEAR(frames, 3600, 36) << drawMs << " ms a drawn frame";
    }
}

TEST_F(FrameClockTest, AStallIsNotCaughtUp) {
    platform::paceFrame();
    platform::advanceVirtualClock(120000);  // a suspended machine
    int unseen = 0;
    do {
        platform::paceFrame();
        ++unseen;
    } while (platform::frameClock.skipDraw && unseen < 10000);
    // A quarter of a second is made up at the most (15 frames), not two minutes (7200).
    ASSERT_LE(unseen, 16);
    EXPECT_EQ(framesIn(1000, 0), 60);
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
