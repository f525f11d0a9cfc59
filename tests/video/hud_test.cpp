// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The HUD and overlays: bar widths, the lower HUD row, when the veil and the messages show,
// the pause menu's blinking, the title overlay and the scroller.

#include "video/hud.h"

#include <gtest/gtest.h>

#include "support/sdl_fixture.h"
#include "support/synthetic_graphics.h"
#include "video/display.h"
#include "video/graphics.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/score.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

using test_support::screenPixel;
using test_support::showsCentered;
using test_support::showsText;

class HudTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::installSyntheticGraphics();
        menu = {};
        world::run = {};
        world::run.levelCounter = 4;
        world::level = {};
        world::life = {};
        video::graphicsStyle = video::STYLE_DELUXE;
        player.alive = 1;
    }
    void TearDown() override { test_support::removeSyntheticGraphics(); }

    // Clears the play area to a known value and draws the overlays of frame n.
    void overlays(int n) {
        video::fillRect(video::display.backBuffer, 0, 0, 320, 240, kFloor);
        video::drawOverlays(n, player, menu);
    }
    bool veiled() const { return screenPixel(2, 2) != kFloor; }
    // The filled width of a bar, read along its row.
    static int filledWidth(int y, uint32_t fill) {
        int width = 0;
        while (width < 264 && screenPixel(48 + width, y + 2) == fill) ++width;
        return width;
    }

    static constexpr uint32_t kFloor = 0xFFFF;
    world::PlayerState player;
    video::MenuView menu;
};

TEST_F(HudTest, BarsFillInProportionWithIntegerDivision) {
    const struct {
        int timeLeft, airLeft, timeWidth, airWidth;
    } cases[] = {{7000, 500, 264, 264}, {3500, 250, 132, 132}, {26, 1, 0, 0}, {0, 2, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timeLeft);
        world::life.timeLeft = c.timeLeft;
        world::life.airLeft = c.airLeft;
        video::drawHudBars();
        EXPECT_EQ(filledWidth(198, video::display.colorRed), c.timeWidth);
        EXPECT_EQ(screenPixel(48 + c.timeWidth, 200),
                  c.timeWidth < 264 ? video::display.colorDarkRed : screenPixel(312, 200));
        EXPECT_EQ(filledWidth(208, video::display.colorBlue), c.airWidth);
    }
    video::graphicsStyle = video::STYLE_HANDHELD;
    world::life.timeLeft = 3500;
    video::drawHudBars();
    EXPECT_EQ(filledWidth(198, video::display.colorLightGrey), 132);
    EXPECT_EQ(screenPixel(200, 200), video::display.colorGrey);
    EXPECT_TRUE(showsText("TIME:", 4, 196, 8));
    EXPECT_TRUE(showsText("AIR:", 12, 206, 8));
}

TEST_F(HudTest, TheLowerRowShowsLivesScoreItemsAndLevel) {
    world::run.lives = 6;
    world::run.score = 42;
    world::life.itemsLeft = 1;
    world::run.levelCounter = 1;
    overlays(0);
    EXPECT_EQ(screenPixel(20, 224), test_support::kTileBase + 24);
    EXPECT_TRUE(showsText("X", 40, 220, 16));
    EXPECT_TRUE(showsText("06", 64, 220, 16));
    EXPECT_EQ(screenPixel(108, 224), test_support::kTileBase + 42);
    EXPECT_TRUE(showsText("0042", 124, 220, 16));
    EXPECT_EQ(screenPixel(200, 224), test_support::kTileBase + 41);
    EXPECT_TRUE(showsText("01", 216, 220, 16));
    EXPECT_EQ(screenPixel(260, 224), test_support::kTileBase + 18);
    EXPECT_TRUE(showsText("00", 276, 220, 16));
    EXPECT_FALSE(veiled());  // frame 0: nothing over the play area

    for (auto [items, icon] : {std::pair{5, 17}, {0, 19}, {-1, 19}}) {
        world::life.itemsLeft = items;
        overlays(0);
        EXPECT_EQ(screenPixel(260, 224), test_support::kTileBase + uint32_t(icon));
    }
}

TEST_F(HudTest, TheCallToRunShowsUntilFrame180AndBlinks) {
    overlays(180);
    EXPECT_TRUE(veiled());
    EXPECT_FALSE(showsCentered("TROLK, RUN!", 96, 16));  // 180 AND 32 is 32: blinked off
    overlays(150);
    EXPECT_TRUE(showsCentered("TROLK, RUN!", 96, 16));
    overlays(181);
    EXPECT_FALSE(veiled());
    EXPECT_FALSE(showsCentered("TROLK, RUN!", 96, 16));
}

TEST_F(HudTest, DeathMessagesShowOnlyWhileLivesAreLeft) {
    player.alive = 0;
    world::life.deathMessage = "TIME UP";
    world::run.lives = 2;
    overlays(400);  // 400 AND 32 = 0
    EXPECT_TRUE(veiled());
    EXPECT_TRUE(showsCentered("TIME UP", 96, 16));
    world::run.lives = 0;
    overlays(400);
    EXPECT_FALSE(veiled());
    EXPECT_FALSE(showsCentered("TIME UP", 96, 16));
    overlays(100);  // the intro still veils
    EXPECT_TRUE(veiled());
}

TEST_F(HudTest, TheSelectedPauseEntryBlinksAndTheOthersStay) {
    menu.paused = true;
    menu.selection = 2;
    overlays(200);  // 200 AND 32 = 0
    EXPECT_TRUE(veiled());
    EXPECT_TRUE(showsCentered("-PAUSE-", 96, 16));
    EXPECT_TRUE(showsCentered("SUICIDE", 124, 16));
    EXPECT_TRUE(showsCentered("GO ON", 142, 16));
    EXPECT_TRUE(showsCentered("EXIT", 160, 16));
    overlays(224);  // 224 AND 32 = 32
    EXPECT_TRUE(showsCentered("SUICIDE", 124, 16));
    EXPECT_FALSE(showsCentered("GO ON", 142, 16));
    EXPECT_TRUE(showsCentered("EXIT", 160, 16));
}

TEST_F(HudTest, ForgottenItemsAreRemindedWhileTheHeroLives) {
    player.forgotItems = 1;
    overlays(224);
    EXPECT_TRUE(showsCentered("YOU FORGOT ITEMS!", 96, 16));
    EXPECT_TRUE(showsCentered("GO TO PAUSE MODE AND SUICIDE", 120, 8));
    player.dying = 1;
    overlays(224);
    EXPECT_FALSE(showsCentered("YOU FORGOT ITEMS!", 96, 16));
}

TEST_F(HudTest, TheTitleShowsLogoVersionPromptOrMenu) {
    world::run.levelCounter = 0;
    menu.selection = 0;
    video::resetScroller();
    overlays(10);
    EXPECT_EQ(screenPixel(160, 100), test_support::kLogoValue);  // 240 x 60 at (40, 50)
    EXPECT_TRUE(showsCentered("TROLK V0.9.9", 216, 16));
    EXPECT_TRUE(showsCentered("PRESS START", 128, 16));
    overlays(40);
    EXPECT_FALSE(showsCentered("PRESS START", 128, 16));

    menu.selection = 3;
    overlays(10);
    EXPECT_TRUE(showsCentered("NEW GAME", 124, 16));
    EXPECT_TRUE(showsCentered("CONTINUE", 142, 16));
    EXPECT_TRUE(showsCentered("HISCORES", 160, 16));
    EXPECT_TRUE(showsCentered("EXIT", 178, 16));

    menu.selection = video::MENU_HIDDEN;
    overlays(10);
    EXPECT_NE(screenPixel(160, 100), test_support::kLogoValue);
}

TEST_F(HudTest, TheScrollerMovesAPixelEverySecondFrameAndStartsOver) {
    ASSERT_EQ(video::scrollText.size(), 399u);
    EXPECT_EQ(video::scrollText.substr(40, 20), "HARD, HARDER, TROLK!");
    world::run.levelCounter = 0;
    video::resetScroller();
    for (int i = 0; i < 16 * 40; ++i) video::advanceScroller();
    EXPECT_EQ(video::scroller.scrollChar, 40);
    EXPECT_EQ(video::scroller.scrollSub, 0);
    overlays(10);
    EXPECT_TRUE(showsText("HARD, HARDER", 0, 196, 8));
    video::advanceScroller();
    video::advanceScroller();
    overlays(10);
    EXPECT_EQ(screenPixel(6, 197), test_support::kGlyphBase + ('H' - ' '));  // moved 1 pixel
    EXPECT_EQ(screenPixel(7, 197), test_support::kGlyphBase + ('A' - ' '));
    for (int i = 0; i < 16 * 359 - 2; ++i) video::advanceScroller();
    EXPECT_EQ(video::scroller.scrollChar, 0);
}

}  // namespace
