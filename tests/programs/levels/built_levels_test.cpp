// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The levels the build made: the title level from data/maps.zda scrolls to its end with its
// actors coming and going, and the test map loads for a life.

#include "archive/archive.h"
#include "support/test_support.h"
#include "world/lifetimes.h"
#include "world/world_step.h"

#include <gtest/gtest.h>

namespace {

class BuiltLevels : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch.linkBuiltData();
        archive::openArchives();
        world::level = {};
    }
    void TearDown() override {
        archive::closeArchives();
        world::freeLevel();
    }
    test_support::ScratchDirectory scratch;
};

TEST_F(BuiltLevels, TheTitleLevelScrollsToItsEndWithItsActors) {
    world::startLifeIn(world::levelNames[0], world::Arrival::Nobody);
    ASSERT_GE(world::levelMap.width, 100);
    world::PlayerState nobody;
    int mostEnemies = 0, frames = 0;
    const int32_t end = world::levelMap.width * world::kTileSize - 321;
    while (world::life.cameraX < end && frames < 10000) {
        world::stepTitleFrame(nobody);
        int active = 0;
        for (const world::EnemySlot& e : world::life.enemies) active += e.active;
        mostEnemies = std::max(mostEnemies, active);
        ++frames;
    }
    EXPECT_EQ(world::life.cameraX, end);
    EXPECT_EQ(frames, end);  // one pixel a frame from the left end
    EXPECT_GE(mostEnemies, 3);
    EXPECT_LT(mostEnemies, 16);  // the 16 enemy slots: no marker is lost to a full table
    // Every marker has been scanned by the end.
    for (int column = 0; column < world::levelMap.width; ++column)
        for (int row = 0; row < world::kMapRows; ++row)
            for (world::TileCode marker : {9, 13, 33, 53, 67, 87, 121})
                EXPECT_NE(world::cellOfGrid(column, row), marker) << column << "," << row;
}

TEST_F(BuiltLevels, TheTestMapLoadsForALifeWithItsDoorClosed) {
    world::startLifeIn(nullptr, world::Arrival::Player);
    ASSERT_GE(world::levelMap.width, 21);
    EXPECT_EQ(world::life.player.alive, 1);
    EXPECT_GT(world::life.itemsLeft, 0);
    EXPECT_EQ(world::cellOfGrid(world::life.doorCell / 12, world::life.doorCell % 12),
              world::TILE_CLOSED_DOOR_TOP_LEFT);
}

}  // namespace
