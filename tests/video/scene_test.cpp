// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The scene read back from the back buffer: the tile layer's columns and culling, the water
// pairs, the background's seamless repeat, the moon, and when actors show.

#include "video/scene.h"

#include <gtest/gtest.h>

#include "level_text.h"
#include "platform/frame_clock.h"
#include "support/sdl_fixture.h"
#include "support/synthetic_graphics.h"
#include "video/display.h"
#include "video/graphics.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lifetimes.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

using test_support::kBackgroundBase;
using test_support::kTileBase;
using test_support::kWaterBase;
using test_support::screenPixel;

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::installSyntheticGraphics();
        world::run.levelCounter = 3;
        platform::frameClock = {};
        world::level = {};
        world::life = {};
    }
    void TearDown() override {
        test_support::removeSyntheticGraphics();
        world::freeLevel();
    }

    // A level whose column c holds tile (c % 22) + 170 in row 0, water surface 160/161 in
    // row 5, code 250 in row 6 and ground in row 11.
    static void loadColumns(int width) {
        std::string legend;
        std::string rows[12];
        for (int c = 0; c < width; ++c) {
            const char ch = char('A' + c % 22);
            rows[0] += ch;
        }
        for (int k = 0; k < 22; ++k)  // A..V
            legend += std::string("legend ") + char('A' + k) + " " + std::to_string(170 + k) + "\n";
        legend += "legend x 250\n";
        std::string text = legend + "map\n";
        for (int r = 0; r < 12; ++r) {
            std::string row = r == 0 ? rows[0] : std::string(size_t(width), r == 11 ? '#' : '.');
            if (r == 5)
                for (int c = 0; c < width; ++c) row[size_t(c)] = c % 2 ? 'W' : 'w';
            if (r == 6) row = std::string(size_t(width), 'x');
            text += row + "\n";
        }
        level_text::Diagnostics errors;
        const std::vector<uint8_t> bytes = level_text::compileWithSharedLegend(text, errors, false);
        ASSERT_TRUE(errors.empty()) << errors.front().text();
        ASSERT_EQ(world::startLife(bytes.data(), bytes.size(), world::Arrival::Nobody),
                  world::LEVEL_OK);
    }
    static uint32_t tile(int index) { return kTileBase + uint32_t(index); }
};

TEST_F(SceneTest, ColumnsStartAtTheViewAndTheTwentyFirstIsCulledOrClipped) {
    loadColumns(60);
    world::life.cameraX = 0;
    video::drawTileLayer(0);
    EXPECT_EQ(screenPixel(0, 3), tile(170));
    EXPECT_EQ(screenPixel(319, 3), tile(189));

    world::life.cameraX = 7;
    video::drawTileLayer(0);
    EXPECT_EQ(screenPixel(0, 3), tile(170));  // column 0 from x -7
    EXPECT_EQ(screenPixel(8, 3), tile(170));
    EXPECT_EQ(screenPixel(9, 3), tile(171));
    EXPECT_EQ(screenPixel(313, 3), tile(190));  // column 20 at x 313, clipped
    EXPECT_EQ(screenPixel(319, 3), tile(190));
}

TEST_F(SceneTest, CodesWithoutAPictureDrawNothing) {
    loadColumns(30);
    video::fillRect(video::display.backBuffer, 0, 0, 320, 240, 0x1234);
    video::drawTileLayer(0);
    EXPECT_EQ(screenPixel(20, 6 * 16 + 3), 0x1234u);  // code 250
    EXPECT_EQ(screenPixel(20, 8 * 16 + 3), 0x1234u);  // empty
}

TEST_F(SceneTest, TheWaterSurfaceShowsOnePairForEightFramesAndLoopsEveryThirtyTwo) {
    loadColumns(30);
    const struct {
        int n, pair;
    } cases[] = {{0, 0}, {7, 0}, {8, 1}, {16, 2}, {31, 3}, {32, 0}, {-1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        video::drawTileLayer(c.n);
        EXPECT_EQ(screenPixel(3, 5 * 16 + 3), kWaterBase + uint32_t(2 * c.pair));  // code 160
        EXPECT_EQ(screenPixel(16 + 3, 5 * 16 + 3), kWaterBase + uint32_t(2 * c.pair + 1));
    }
}

TEST_F(SceneTest, TheBackgroundRepeatsSeamlesslyAtHalfSpeedWithTheMoonInFront) {
    loadColumns(200);
    world::life.cameraX = 1000;  // s = 500 mod 640: 140 columns from 500, then from 0
    video::moonX = 600;
    video::drawFrame(0, {}, {});
    const int top = 192 - test_support::kBackgroundHeight;
    EXPECT_EQ(screenPixel(0, top + 30), kBackgroundBase + 500);
    EXPECT_EQ(screenPixel(139, top + 30), kBackgroundBase + 639);
    EXPECT_EQ(screenPixel(140, top + 30), kBackgroundBase + 0);
    EXPECT_EQ(screenPixel(319, top + 30), kBackgroundBase + 179);
    EXPECT_EQ(screenPixel(5, top - 1), video::display.colorBlack);  // the sky above it
    EXPECT_EQ(screenPixel(100, 20), test_support::kMoonValue);      // moon at 600 - 500
    EXPECT_EQ(screenPixel(99, 20), video::display.colorBlack);
    EXPECT_EQ(screenPixel(5, 239), video::display.colorBlack);  // the HUD area
}

TEST_F(SceneTest, InTheHandheldStyleAllIsBlackBehindTheTilesWithoutBackgroundOrMoon) {
    loadColumns(200);
    world::life.cameraX = 1000;
    video::moonX = 600;  // where the moon stood in the styles with a background
    const video::GraphicsStyle style = video::graphicsStyle;
    video::graphicsStyle = video::STYLE_HANDHELD;
    SDL_FreeSurface(video::backgroundImage);  // the handheld style has no background picture
    video::backgroundImage = nullptr;
    video::fillRect(video::display.backBuffer, 0, 0, 320, 240, 0x1234);
    video::drawFrame(0, {}, {});
    video::graphicsStyle = style;
    const int top = 192 - test_support::kBackgroundHeight;
    for (auto [x, y] : {std::pair{100, 20}, {0, top + 30}, {319, top + 30}, {5, top - 1}})
        EXPECT_EQ(screenPixel(x, y), video::display.colorBlack) << x << "," << y;
    EXPECT_EQ(screenPixel(3, 3), tile(188));  // the tiles are drawn over it: column 62 is 188
}

TEST_F(SceneTest, ActorsAreCulledByPositionAndThePlayerWaitsForFrame181) {
    loadColumns(60);
    world::life.cameraX = 100;
    world::PlayerState player;
    player.alive = 1;
    player.x = 160;
    player.y = 100;
    player.frame = 65;
    video::drawFrame(180, player, {});
    EXPECT_NE(screenPixel(63, 103), tile(65));
    video::drawFrame(181, player, {});
    EXPECT_EQ(screenPixel(63, 103), tile(65));
    player.alive = 0;
    video::drawFrame(181, player, {});
    EXPECT_NE(screenPixel(63, 103), tile(65));

    ASSERT_TRUE(world::spawnEnemy(85, 150, world::ENEMY_BAT));   // drawn from x -15
    ASSERT_TRUE(world::spawnEnemy(400, 176, world::ENEMY_BAT));  // reaches into the HUD rows
    video::drawFrame(0, player, {});
    EXPECT_EQ(screenPixel(0, 153), tile(world::enemyFrame(world::life.enemies[0])));
    EXPECT_EQ(screenPixel(300, 191), tile(world::enemyFrame(world::life.enemies[1])));
}

}  // namespace
