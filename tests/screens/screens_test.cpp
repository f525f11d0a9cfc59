// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The screens that are no level frame, each run alone through the game's frame function
// under the virtual clock, over stand-in pictures that show which glyph was drawn where. The
// words are the game's own, written out here.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/flow.h"
#include "app/game_loop.h"
#include "persist/hiscores.h"
#include "platform/event_script.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "support/game_harness.h"
#include "support/sdl_fixture.h"
#include "support/synthetic_graphics.h"
#include "video/display.h"
#include "video/graphics.h"
#include "world/lifetimes.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

using app::Screen;
using test_support::showsCentered;

struct Line {
    int y;
    const char* text;
};

class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::installSyntheticGraphics();
        platform::setVirtualClock(true);
        forget();
        start = platform::readTicks();
    }
    void TearDown() override {
        forget();
        platform::setVirtualClock(false);
        test_support::removeSyntheticGraphics();
    }
    static void forget() { test_support::forgetTheGame(); }

    // A key pressed `ms` after the test began and let go `holdMs` later.
    void tap(SDLKey key, uint32_t ms, uint32_t holdMs = 40) const {
        platform::scheduleKey(start + ms, key, true);
        platform::scheduleKey(start + ms + holdMs, key, false);
    }
    // Runs frames until `ms` after the test began; false when the screen is done.
    bool runUntil(uint32_t ms) const { return app::runFramesUntil(start + ms); }
    // When frame k (from 1) of a screen begun at the test's start has been shown and paced.
    static uint32_t frameEnd(int k) {
        static constexpr uint32_t kEnds[] = {17, 34, 50};
        return 50 * uint32_t((k - 1) / 3) + kEnds[(k - 1) % 3];
    }
    static bool showsAll(const std::vector<Line>& lines, int glyphSize) {
        bool all = true;
        for (const Line& line : lines) {
            const bool shown = showsCentered(line.text, line.y, glyphSize);
            EXPECT_TRUE(shown) << '"' << line.text << "\" at y " << line.y;
            all = all && shown;
        }
        return all;
    }

    uint32_t start = 0;
};

using IntroScreens = ScreenTest;

TEST_F(IntroScreens, ShowTheirWordsWithABlinkingTitle) {
    const struct {
        Screen screen;
        const char* title;
        std::vector<Line> lines;
    } cases[] = {
        {Screen::Warning,
         "WARNING",
         {{90, "THIS GAME IS VERY DIFFICULT."},
          {110, "WE ARE NOT RESPONSIBLE IF"},
          {120, "YOU BREAK YOUR DEVICE OR"},
          {130, "THROW IT AGAINST AN OBJECT."},
          {150, "IF YOU DO NOT HAVE NERVES,"},
          {160, "PLEASE PLAY GOLF OR DO"},
          {170, "SOME MEDITATION INSTEAD!"},
          {200, "PRESS UP TO GO ON"}}},
        {Screen::Credits,
         "CREDITS",
         {{80, "THIS PROJECT USES CODE"},
          {90, "OF THE FOLLOWING OPEN-SOURCE"},
          {100, "PROJECTS IN AN UNMODDED FORM:"},
          {120, "SDL, SDL MIXER, LIBMODPLUG"},
          {130, "AND ZLIB"},
          {150, "YOU CAN GET THE SOURCE CODE"},
          {160, "OF THE MENTIONED LIBRARIES"},
          {170, "BY VISITING THE RESPECTIVE"},
          {180, "HOMEPAGES."},
          {210, "PRESS UP TO GO ON"}}},
    };
    for (const auto& c : cases) {
        start = platform::readTicks();
        app::beginScreen(c.screen);
        // Shown on frames 1 to 31, hidden on 32 to 63, shown again from 64.
        for (const auto& [frame, shown] :
             {std::pair{1, true}, {31, true}, {32, false}, {63, false}, {64, true}}) {
            runUntil(frameEnd(frame));
            EXPECT_EQ(showsCentered(c.title, 40, 16), shown) << c.title << ", frame " << frame;
            showsAll(c.lines, 8);
        }
        platform::scheduleKey(platform::readTicks(), SDLK_UP, false);
        EXPECT_FALSE(runUntil(frameEnd(66)));
    }
}

TEST_F(IntroScreens, EndWhenUpOrJumpIsLetGoAndOnAQuit) {
    const struct {
        const char* what;
        std::vector<SDLKey> keys;  // tapped 100 ms apart from 100 ms on
        bool jumpOnA;              // jump bound to the 'a' key
        bool ends;
    } cases[] = {
        {"up", {SDLK_UP}, false, true},
        {"start and fire", {SDLK_RETURN, SDLK_SPACE}, false, false},
        {"jump of its own", {SDLK_a}, true, true},
        {"up, apart from jump", {SDLK_UP}, true, true},
        {"escape", {SDLK_ESCAPE}, false, true},
    };
    for (const auto& c : cases) {
        forget();
        start = platform::readTicks();
        if (c.jumpOnA) platform::keyBindings.k_jump = SDLK_a;
        uint32_t at = 100;
        for (SDLKey key : c.keys) tap(key, at, 40), at += 100;
        app::beginScreen(Screen::Warning);
        EXPECT_EQ(!runUntil(at + 100), c.ends) << c.what;
    }
    // Held up does nothing until it is let go.
    forget();
    start = platform::readTicks();
    tap(SDLK_UP, 100, 900);
    app::beginScreen(Screen::Credits);
    EXPECT_TRUE(runUntil(990));
    EXPECT_FALSE(runUntil(1050));
}

TEST_F(ScreenTest, TheStyleChoiceTakesLeftRightOrTenDowns) {
    const struct {
        std::vector<SDLKey> keys;  // tapped 50 ms apart
        int style;
    } cases[] = {
        {{SDLK_LEFT}, 0},
        {{SDLK_RIGHT}, 1},
        {std::vector<SDLKey>(10, SDLK_DOWN), 2},
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_LEFT}, 0},  // the first left or right ends it
        {{SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_UP, SDLK_RETURN, SDLK_DOWN,
          SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN},
         2},                 // the count of downs is never reset
        {{SDLK_ESCAPE}, 1},  // a quit leaves the default
    };
    for (const auto& c : cases) {
        forget();
        start = platform::readTicks();
        uint32_t at = 50;
        for (SDLKey key : c.keys) tap(key, at, 20), at += 50;
        app::beginScreen(Screen::StyleChoice);
        const int logoBottom = ((240 - video::logoImage->h) >> 1) - 24 + video::logoImage->h;
        EXPECT_TRUE(showsCentered("PRESS LEFT FOR CLASSIC GRAPHICS", logoBottom + 8, 8));
        EXPECT_TRUE(showsCentered("PRESS RIGHT FOR DELUXE GRAPHICS", logoBottom + 20, 8));
        EXPECT_FALSE(runUntil(at + 20));
        EXPECT_EQ(video::graphicsStyle, c.style);
    }
}

TEST_F(ScreenTest, TheTallyAddsTheBonusesOnTheirFramesByThePointsRule) {
    const struct {
        int levelCounter, timeLeft, lives, score;
        const char* timeText;
        const char* lifeText;
        int afterTimeBonus, afterLifeBonus, livesAfter;
        bool nextLevelShown;
    } cases[] = {
        {3, 3000, 6, 10, "TIME BONUS: 50", "LIFE BONUS: 6", 60, 66, 6, true},
        {15, 59, 2, 0, "TIME BONUS: 0", "LIFE BONUS: 2", 0, 2, 2, true},  // under a second
        {4, 600, 6, 95, "TIME BONUS: 10", "LIFE BONUS: 6", 105, 111, 7, true},
        {4, 6600, 6, 95, "TIME BONUS: 110", "LIFE BONUS: 6", 205, 211, 7,
         true},  // two hundreds, one life
        {16, 6000, 6, 9950, "TIME BONUS: 100", "LIFE BONUS: 6", 9999, 9999, 6, false},
        {5, 6000, 99, 50, "TIME BONUS: 100", "LIFE BONUS: 99", 150, 249, 99, true},
    };
    for (const auto& c : cases) {
        forget();
        world::run = {c.score, c.lives, c.levelCounter};
        world::life.timeLeft = c.timeLeft;
        world::life.player.alive = 1;
        start = platform::readTicks();
        app::beginScreen(Screen::Tally);
        EXPECT_EQ(world::life.player.alive, 0);  // taken out of the picture
        runUntil(frameEnd(1));
        EXPECT_TRUE(showsCentered("CONGRATULATIONS", 70, 16));
        EXPECT_FALSE(showsCentered(c.timeText, 110, 16));
        // Counter 192 is frame 1: 282 is frame 91, 342 frame 151.
        runUntil(frameEnd(90));
        EXPECT_EQ(world::run.score, c.score) << c.timeText;
        runUntil(frameEnd(91));
        EXPECT_EQ(world::run.score, c.afterTimeBonus) << c.timeText;
        EXPECT_TRUE(showsCentered(c.timeText, 110, 16));
        EXPECT_FALSE(showsCentered(c.lifeText, 130, 16));
        EXPECT_EQ(showsCentered("NEXT LEVEL", 160, 16), c.nextLevelShown) << c.levelCounter;
        runUntil(frameEnd(150));
        EXPECT_EQ(world::run.score, c.afterTimeBonus);
        runUntil(frameEnd(151));
        EXPECT_EQ(world::run.score, c.afterLifeBonus) << c.lifeText;
        EXPECT_TRUE(showsCentered(c.lifeText, 130, 16));
        EXPECT_EQ(world::run.lives, c.livesAfter) << c.timeText;
        // 360 frames in all; then the player is back for the next level.
        EXPECT_TRUE(runUntil(frameEnd(359)));
        EXPECT_FALSE(runUntil(frameEnd(360)));
        EXPECT_EQ(world::life.player.alive, 1);
    }
}

TEST_F(ScreenTest, NextLevelBlinksUpToLevelFifteenAndALateFrameCountsWithoutBeingDrawn) {
    world::run.levelCounter = 15;
    world::life.timeLeft = 600;
    app::beginScreen(Screen::Tally);
    runUntil(frameEnd(1));  // counter 192: 192 AND 32 is 0
    EXPECT_TRUE(showsCentered("NEXT LEVEL", 160, 16));
    EXPECT_TRUE(showsCentered("APPROACHING", 180, 16));
    runUntil(frameEnd(33));  // counter 224: hidden for 32 frames
    EXPECT_FALSE(showsCentered("NEXT LEVEL", 160, 16));
    runUntil(frameEnd(65));  // counter 256
    EXPECT_TRUE(showsCentered("NEXT LEVEL", 160, 16));

    // A frame the clock marks late (counter 282) adds the time bonus but draws nothing.
    runUntil(frameEnd(90));
    video::fillRect(video::display.backBuffer, 0, 0, 320, 240, 0x1234);
    platform::frameClock.skipDraw = true;
    runUntil(frameEnd(91));
    EXPECT_EQ(world::run.score, 10);
    EXPECT_EQ(test_support::screenPixel(0, 0), 0x1234u);
}

TEST_F(ScreenTest, TheStoryAndTheEndingStandUntilStartAndWaitItOut) {
    const struct {
        Screen screen;
        std::vector<Line> lines;
    } cases[] = {
        {Screen::Story,
         {{40, "TROLK WANDERED"},
          {60, "AROUND AND LOST"},
          {80, "ALL HIS ITEMS."},
          {100, "GET THEM BACK"},
          {120, "AND BEWARE THE"},
          {140, "CREATURES OF"},
          {160, "THE NIGHT"},
          {200, "GOOD LUCK!"}}},
        {Screen::Ending,
         {{70, "ALL ITEMS ARE BACK"},
          {90, "AND YOU ARE SAFE"},
          {110, "AT HOME."},
          {150, "HOME SWEET HOME!"}}},
    };
    for (const auto& c : cases) {
        forget();
        start = platform::readTicks();
        tap(SDLK_RETURN, 1000, 450);
        app::beginScreen(c.screen);
        EXPECT_TRUE(showsAll(c.lines, 16));
        EXPECT_TRUE(runUntil(999));
        // The story ends on the held start; the ending waits until it is let go.
        const bool endingWaits = c.screen == Screen::Ending;
        EXPECT_EQ(runUntil(1300), endingWaits);
        EXPECT_FALSE(runUntil(1600));
    }
}

TEST_F(ScreenTest, GameOverAndTheContinueQuestionSayWhatTheyAsk) {
    world::run.score = 1234;
    world::life.deathMessage = "EATEN BY A PIRANHA";
    tap(SDLK_RETURN, 2000);
    app::beginScreen(Screen::GameOver);
    runUntil(frameEnd(1));  // the frame count goes on from 0: frame 1 shows the message
    EXPECT_TRUE(showsCentered("GAME OVER", 96, 16));
    EXPECT_TRUE(showsCentered("SCORE: 1234", 136, 16));
    EXPECT_TRUE(showsCentered("EATEN BY A PIRANHA", 116, 16));
    runUntil(frameEnd(32));
    EXPECT_FALSE(showsCentered("EATEN BY A PIRANHA", 116, 16));
    EXPECT_FALSE(runUntil(2100));

    start = platform::readTicks();
    tap(SDLK_ESCAPE, 100);
    tap(SDLK_RETURN, 200);
    tap(SDLK_RIGHT, 500);
    platform::input = {};
    app::beginScreen(Screen::ContinueQuestion);
    runUntil(frameEnd(1));
    EXPECT_TRUE(showsCentered("CONTINUE?", 96, 16));
    EXPECT_TRUE(showsCentered("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", 128, 8));
    EXPECT_TRUE(runUntil(490));  // escape and start do not answer it
    EXPECT_FALSE(runUntil(600));
}

}  // namespace
