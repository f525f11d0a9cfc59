// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hiscore name entry, driven with keys at exact virtual moments.

#include "screens/name_entry.h"

#include "app/flow.h"

#include <gtest/gtest.h>

#include <functional>

#include "persist/config.h"
#include "persist/hiscores.h"
#include "platform/event_script.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "support/game_harness.h"
#include "support/sdl_fixture.h"
#include "support/synthetic_graphics.h"
#include "support/test_support.h"
#include "world/lifetimes.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

class NameEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::installSyntheticGraphics();
        platform::setVirtualClock(true);
        test_support::forgetTheGame();
        world::run.score = 3000;  // beats every built-in entry
    }
    void TearDown() override {
        test_support::forgetTheGame();
        platform::setVirtualClock(false);
        test_support::removeSyntheticGraphics();
    }

    // Key taps 200 ms apart from 100 ms on, each held 40 ms; returns the stored name.
    std::string enter(const std::vector<SDLKey>& keys) {
        platform::waitMilliseconds(100);  // lets go of whatever an earlier entry left held
        platform::pollInput();
        platform::input = {};
        platform::actions = {};
        uint32_t t = platform::readTicks() + 100;
        for (SDLKey key : keys) {
            platform::scheduleKey(t, key, true);
            platform::scheduleKey(t + 40, key, false);
            t += 200;
        }
        app::runScreen(app::Screen::NameEntry);
        return persist::hiscores.entries[0].name.data();
    }

    world::PlayerState player;
    test_support::ScratchDirectory scratch;
};

TEST_F(NameEntryTest, AScoreEqualToTheTenthEntryGetsNoScreen) {
    world::run.score = persist::hiscores.entries[9].score;
    const uint32_t before = platform::readTicks();
    app::runScreen(app::Screen::NameEntry);
    EXPECT_EQ(platform::readTicks(), before);
    EXPECT_EQ(persist::hiscores.entries[0].score, 2500);
}

TEST_F(NameEntryTest, StartCutsTheNameAfterTheCursor) {
    const struct {
        std::vector<SDLKey> keys;
        const char* expected;
    } cases[] = {
        {{SDLK_RETURN}, "A"},
        {{SDLK_DOWN, SDLK_RETURN}, " "},             // 'A' steps back to space
        {{SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, "Z"},  // space back to 'Z'
        {{SDLK_UP, SDLK_RIGHT, SDLK_RIGHT, SDLK_LEFT, SDLK_RETURN}, "BA"},   // cut at the cursor
        {{SDLK_RIGHT, SDLK_DOWN, SDLK_RIGHT, SDLK_UP, SDLK_RETURN}, "A B"},  // inner spaces stay
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        persist::hiscores = {};
        EXPECT_EQ(enter(c.keys), c.expected);
        EXPECT_EQ(persist::hiscores.entries[0].score, 3000);
        EXPECT_EQ(persist::hiscores.entries[0].kind, persist::HISCORE_PLAYER);
    }
}

TEST_F(NameEntryTest, MovingPastTheEighthCharacterStoresTheWholeNameWithoutStart) {
    std::vector<SDLKey> keys(8, SDLK_RIGHT);
    EXPECT_EQ(enter(keys), "AAAAAAAA");
    persist::hiscores = {};
    keys = {};
    for (int i = 0; i < 8; ++i) keys.insert(keys.end(), {SDLK_DOWN, SDLK_RIGHT});
    EXPECT_EQ(enter(keys), "        ");  // eight spaces
}

TEST_F(NameEntryTest, ANameCompletedWhileStartIsHeldIsStoredWhenStartIsLetGo) {
    for (uint32_t t = 100; t < 1500; t += 200) {  // seven steps right
        platform::scheduleKey(t, SDLK_RIGHT, true);
        platform::scheduleKey(t + 40, SDLK_RIGHT, false);
    }
    platform::scheduleKey(1500, SDLK_RIGHT, true);  // the eighth, with start pressed at once
    platform::scheduleKey(1500, SDLK_RETURN, true);
    platform::scheduleKey(2000, SDLK_RETURN, false);
    app::beginScreen(app::Screen::NameEntry);
    EXPECT_TRUE(app::runFramesUntil(1990));
    EXPECT_EQ(persist::hiscores.entries[0].score, 2500);  // not stored while start is held
    EXPECT_FALSE(app::runFramesUntil(2200));
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "AAAAAAAA");
    EXPECT_EQ(persist::hiscores.entries[0].score, 3000);
}

TEST_F(NameEntryTest, StartHeldWhenTheScreenOpensStoresAOnceReleased) {
    platform::actions.startHeld = 1;
    platform::input.held = platform::INPUT_START;
    platform::scheduleKey(500, SDLK_UP, true);  // ignored: the entry never starts editing
    platform::scheduleKey(800, SDLK_RETURN, false);
    app::runScreen(app::Screen::NameEntry);
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "A");
    EXPECT_GE(platform::readTicks(), 800u);
}

TEST_F(NameEntryTest, FireOrRightMoveOnAndLeftAtTheStartFallsThroughToThem) {
    platform::scheduleKey(100, SDLK_LEFT, true);
    platform::scheduleKey(100, SDLK_SPACE, true);  // fire together with left at position 0
    platform::scheduleKey(140, SDLK_SPACE, false);
    platform::scheduleKey(140, SDLK_LEFT, false);
    platform::scheduleKey(400, SDLK_RETURN, true);
    platform::scheduleKey(440, SDLK_RETURN, false);
    app::runScreen(app::Screen::NameEntry);
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "AA");
}

TEST_F(NameEntryTest, AHeldKeyActsOnEveryEleventhFrame) {
    platform::scheduleKey(100, SDLK_UP, true);
    platform::scheduleKey(100 + 33 * 50 / 3, SDLK_UP, false);  // held for 33 frames
    platform::scheduleKey(2000, SDLK_RETURN, true);
    platform::scheduleKey(2040, SDLK_RETURN, false);
    app::runScreen(app::Screen::NameEntry);
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "D");  // frames 0, 11, 22 of the hold
}

}  // namespace
