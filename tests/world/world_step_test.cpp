// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The frame step: its order (effects, enemies against last frame's player, then the player
// with time and air), the title's step, and a run being a pure function of its controls.

#include "world/lifetimes.h"
#include "world_fixture.h"

#include <cstring>

namespace {

using FrameStep = WorldTest;

// A bit of everything: a wall at column 2, a blob, a hat guy, a bat, bricks, a bump block, a
// crumbling floor, water, a checkpoint, a spike trap, an item and its door.
const std::string kBusyLevel = levelText({{4, "..................v......................B"},
                                          {8, "...........B......................?"},
                                          {9, ".......................*..................[]"},
                                          {10, "..#...........b......~~~..C......G..:.....()"},
                                          {11, "##############################%%%###########"}},
                                         60);

TEST_F(FrameStep, EnemiesSeeThePlayerAsTheLastFrameLeftIt) {
    start(kBusyLevel);
    world::life.enemies = {};
    ASSERT_TRUE(world::spawnEnemy(48, 160, world::ENEMY_HOGLET));
    player.x = 66;  // two pixels out of its reach
    step(kLeft);
    EXPECT_EQ(player.x, 64);
    EXPECT_EQ(player.dying, 0);
    step();
    EXPECT_EQ(player.dying, 1);
    EXPECT_EQ(world::life.deathMessage, "KILLED BY A HOGLET");
}

TEST_F(FrameStep, EffectsAndEnemiesRunOnWhileThePlayerIsDead) {
    start(kBusyLevel);
    ASSERT_TRUE(world::startTileEffect(11 * 16, 8 * 16, world::EFFECT_BRICK));
    player.alive = 0;
    const world::PlayerState dead = player;
    const int32_t time = world::life.timeLeft, air = world::life.airLeft;
    const int32_t blobX = world::life.enemies[1].x;
    steps(3, kRight);
    EXPECT_EQ(player, dead);
    EXPECT_EQ(world::life.timeLeft, time);
    EXPECT_EQ(world::life.airLeft, air);
    EXPECT_EQ(cell(11, 8), 201);
    EXPECT_NE(world::life.enemies[1].x, blobX);
}

TEST_F(FrameStep, TheTitleRunsItsActorsAndMovesTheViewAPixelAFrame) {
    load(kBusyLevel);
    world::PlayerState nobody;
    nobody.idleCounter = 180;
    const world::PlayerState before = nobody;
    ASSERT_EQ(world::life.cameraX, 0);
    ASSERT_EQ(cell(40, 4), 0);  // the second brick lies beyond the first view
    const world::EnemySlot* bat = nullptr;
    for (const world::EnemySlot& e : world::life.enemies)
        if (e.active && e.type == world::ENEMY_BAT) bat = &e;
    ASSERT_NE(bat, nullptr);
    const int32_t batX = bat->x;
    for (int i = 0; i < 10; ++i) world::stepTitleFrame(nobody);
    EXPECT_EQ(world::life.cameraX, 10);
    EXPECT_EQ(bat->x, batX - 10);
    EXPECT_EQ(nobody, before);
    for (int i = 0; i < 2000; ++i) world::stepTitleFrame(nobody);
    EXPECT_EQ(world::life.cameraX, 60 * 16 - 321);
}

// Plays a fixed list of controls from a fresh load; the state afterwards.
struct Outcome {
    world::PlayerState player;
    world::RunState run;
    world::LevelState level;
    world::LifeState life;
    std::vector<world::TileCode> cells;

    bool operator==(const Outcome&) const = default;
};

Outcome outcome(const world::PlayerState& player) {
    Outcome o{player, world::run, world::level, world::life, {}};
    o.cells.assign(world::levelMap.cells.get(),
                   world::levelMap.cells.get() + world::levelMap.width * world::kMapRows);
    return o;
}

world::Controls controlsOf(int frame) {
    const int phase = frame % 97;
    return {phase > 80, phase < 70, frame % 23 < 12, frame % 31 == 0};
}

TEST_F(FrameStep, ARunIsAPureFunctionOfItsControls) {
    const auto play = [this](int from, int to) {
        for (int frame = from; frame < to; ++frame) step(controlsOf(frame));
    };
    start(kBusyLevel);
    play(0, 600);
    const Outcome first = outcome(player);
    // The run went somewhere: points were scored and the view moved.
    EXPECT_GT(first.run.score, 0);
    EXPECT_GT(first.life.cameraX, 0);

    SetUp();
    start(kBusyLevel);
    play(0, 600);
    EXPECT_EQ(outcome(player), first);

    // From a snapshot the same frames give the same world again.
    SetUp();
    start(kBusyLevel);
    play(0, 250);
    const world::WorldSnapshot snapshot = world::saveWorld();
    const world::PlayerState middle = player;
    play(250, 400);
    world::life.enemies = {};
    world::setCell(0, 0, 99);
    world::restoreWorld(snapshot);
    player = middle;
    play(250, 600);
    EXPECT_EQ(outcome(player), first);
}

}  // namespace
