// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Tile effects frame by frame, restarting a running effect, and a full table.

#include "world/lifetimes.h"
#include "world_fixture.h"

namespace {

const std::string kOpenLevel = levelText({}, 21);

using TileEffects = WorldTest;

// The codes the cell shows after each update until the effect ends.
std::vector<world::TileCode> runEffect(world::EffectType type) {
    world::life.tileEffects = {};
    EXPECT_TRUE(world::startTileEffect(48, 32, type));
    std::vector<world::TileCode> codes;
    for (int frame = 0; frame < 40 && world::life.tileEffects[0].active; ++frame) {
        world::updateTileEffect(world::life.tileEffects[0]);
        codes.push_back(world::cellOfGrid(3, 2));
    }
    return codes;
}

TEST_F(TileEffects, EachTypeWritesItsSequenceAndEndsOnItsLastCode) {
    load(kOpenLevel);
    using Codes = std::vector<world::TileCode>;
    const struct {
        world::EffectType type;
        Codes codes;
    } cases[] = {
        {world::EFFECT_BRICK, {200, 200, 201, 201, 202, 202, 203, 203, 0, 0, 0}},
        {world::EFFECT_CRUMBLE, {180, 180, 181, 181, 182, 182, 183, 183, 0, 0, 0}},
        {world::EFFECT_SPIKE_TRAP, {0, 0, 87, 87, 105, 105, 105}},
        {world::EFFECT_BUMP, {80, 80, 100, 100, 120, 120, 20, 20, 20}},
        {world::EFFECT_TRAP_DOOR, {89, 89, 89, 89, 69}},
        {world::EFFECT_CHECKPOINT,
         {17, 17, 17, 17, 17, 17, 18, 18, 18, 18, 18, 18, 19, 19, 19, 19}},
        {world::EFFECT_PICK_UP, {0}},
    };
    for (const auto& c : cases) EXPECT_EQ(runEffect(c.type), c.codes) << "type " << c.type;
}

TEST_F(TileEffects, StartingWhereOneRunsRestartsItWithTheNewType) {
    load(kOpenLevel);
    EXPECT_TRUE(world::startTileEffect(48, 32, world::EFFECT_BRICK));
    EXPECT_TRUE(world::startTileEffect(64, 32, world::EFFECT_BUMP));
    for (int i = 0; i < 5; ++i) world::updateTileEffects();
    EXPECT_EQ(cell(3, 2), 202);

    EXPECT_FALSE(world::startTileEffect(48, 32, world::EFFECT_CHECKPOINT));
    EXPECT_EQ(world::life.tileEffects[0].t, 0);
    EXPECT_EQ(world::life.tileEffects[0].type, world::EFFECT_CHECKPOINT);
    world::updateTileEffects();
    EXPECT_EQ(cell(3, 2), 17);
    EXPECT_EQ(cell(4, 2), 120);  // the other effect runs on undisturbed
    world::updateTileEffects();
    EXPECT_EQ(cell(4, 2), 20);

    // The same cell by another pixel is another effect: positions are compared exactly.
    EXPECT_TRUE(world::startTileEffect(49, 32, world::EFFECT_PICK_UP));
}

TEST_F(TileEffects, AFullTableDropsTheRequestAndLeavesTheCell) {
    load(kOpenLevel);
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(world::startTileEffect(i * 16, 0, world::EFFECT_CHECKPOINT));
    world::setCell(5, 5, 40);
    EXPECT_FALSE(world::startTileEffect(80, 80, world::EFFECT_BRICK));
    world::updateTileEffects();
    EXPECT_EQ(cell(5, 5), 40);

    // A freed slot is taken again, the first free one in slot order.
    world::life.tileEffects[7].active = 0;
    world::life.tileEffects[3].active = 0;
    EXPECT_TRUE(world::startTileEffect(80, 80, world::EFFECT_BRICK));
    EXPECT_EQ(world::life.tileEffects[3].x, 80);
    EXPECT_FALSE(world::life.tileEffects[7].active);
}

TEST_F(TileEffects, AnEffectOutsideTheGridWritesNothing) {
    load(kOpenLevel);
    ASSERT_TRUE(world::startTileEffect(16, 192, world::EFFECT_SPIKE_TRAP));  // row 12
    ASSERT_TRUE(world::startTileEffect(21 * 16, 0, world::EFFECT_SPIKE_TRAP));
    for (int i = 0; i < 10; ++i) world::updateTileEffects();
    EXPECT_EQ(cell(1, 11), 21);
    EXPECT_EQ(world::levelMap.width, 21);
    EXPECT_FALSE(world::life.tileEffects[0].active);
}

}  // namespace
