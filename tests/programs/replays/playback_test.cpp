// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lives played back: how a life ends (exit, death, controls run out) as the replay checks see
// it, a life from a checkpoint, and the two shortcuts the bot's search takes with the world:
// undoing a step by copying back only the cells a step can change, and its rough map of where
// a jump can go.

#include "level_source.h"
#include "level_text.h"
#include "nav.h"
#include "playback.h"
#include "replay.h"
#include "support/test_support.h"
#include "world/tiles.h"
#include "world_copy.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A level of one map block, checked as the build checks levels.
std::vector<uint8_t> compile(const std::string& rows) {
    return test_support::compileLevelText("map\n" + rows);
}

std::vector<world::Controls> hold(const world::Controls& controls, int frames) {
    return std::vector<world::Controls>(size_t(frames), controls);
}

constexpr world::Controls kRight{false, true, false, false};

// Spikes on the way, an item, a checkpoint past them, the door far enough on that a life
// from the checkpoint sees nothing left of it.
const std::string kWalk = R"(..................................................
..................................................
..................................................
..................................................
..................................................
..................................................
..................................................
..................................................
.............................................[]...
.......^....*...C............................()...
##################################################
##################################################
)";

TEST(Playback, TellsHowALifeEnds) {
    const std::vector<uint8_t> level = compile(kWalk);

    // Walking right runs into the spikes.
    const replay::LifeResult impaled = replay::playLife(level, 16, 100, hold(kRight, 300));
    EXPECT_TRUE(impaled.died);
    EXPECT_EQ(impaled.deathMessage, "IMPALED TO DEATH");
    EXPECT_FALSE(impaled.finished());
    EXPECT_LT(impaled.frames, 60);  // it stops at the death, not at the end of the controls
    EXPECT_NE(impaled.summary().find("IMPALED TO DEATH"), std::string::npos);

    // Jumping them, then walking on: the item, and the door at the last frame played.
    std::vector<world::Controls> over = hold(kRight, 36);
    const std::vector<world::Controls> jump = hold({false, true, true, false}, 4);
    over.insert(over.end(), jump.begin(), jump.end());
    const std::vector<world::Controls> on = hold(kRight, 600);
    over.insert(over.end(), on.begin(), on.end());
    const replay::LifeResult done = replay::playLife(level, 16, 100, over, true);
    EXPECT_TRUE(done.finished()) << done.summary();
    EXPECT_EQ(done.itemsLeft, 0);
    EXPECT_EQ(done.timeLeft, 7000 - done.frames);  // a life lasts 7000 frames
    EXPECT_LT(done.frames, int32_t(over.size()));  // the life ends at the door
    EXPECT_EQ(done.path.size(), size_t(done.frames) + 1);

    // Cut short before the door: neither finished nor dead.
    over.resize(100);
    const replay::LifeResult cut = replay::playLife(level, 16, 100, over);
    EXPECT_FALSE(cut.finished());
    EXPECT_FALSE(cut.died);
    EXPECT_NE(cut.summary().find("controls ran out"), std::string::npos);

    // A life from the checkpoint does not count the item left of it and starts on its cell.
    const std::vector<replay::StartPoint> starts = replay::startPoints(level);
    ASSERT_EQ(starts.size(), 2u);
    const replay::LifeResult fromCheckpoint =
        replay::playLife(level, starts[1].x, starts[1].y, hold(kRight, 300), true);
    EXPECT_TRUE(fromCheckpoint.finished()) << fromCheckpoint.summary();
    EXPECT_EQ(fromCheckpoint.path.front().x, 16 * 16);
}

// The test map holds every kind of tile that changes: bricks, a bump block, an item, an extra
// life, spikes, a checkpoint, water with a piranha, crumbling blocks, a trap door, a spike
// trap and enemies of every walking kind. Its replays go past all of them; at every step of
// eight frames along the way, the step is undone and the world must be as it was.
TEST(WorldCopy, AStepIsUndoneByTheCellsItCanChange) {
    std::string text;
    ASSERT_TRUE(level_text::readTextFile(replay::sourceLevelPath("test"), text));
    level_text::Diagnostics errors;
    const std::vector<uint8_t> level = level_text::compileWithSharedLegend(text, errors);
    ASSERT_TRUE(errors.empty());
    constexpr int kStep = 8;

    int steps = 0;
    for (const char* name : {"test.rpl", "test@20.rpl"}) {
        replay::Replay way;
        std::string error;
        ASSERT_TRUE(replay::readReplayFile(replay::replayDirectory() + "/" + name, way, error))
            << error;
        const std::vector<world::Controls> frames = way.frames();
        world::PlayerState player;
        ASSERT_TRUE(replay::startLife(level, way.startX, way.startY, player, error)) << error;
        for (size_t at = 0; at + kStep <= frames.size() && !replay::lifeOver(player); at += kStep) {
            const world::WorldSnapshot before = world::saveWorld();
            const levelbot::GridWindow window = levelbot::stepWindow(kStep);
            world::PlayerState p = player;
            for (size_t frame = at; frame < at + kStep; ++frame)
                world::stepPlayFrame(p, frames[frame]);
            const world::WorldSnapshot after = world::saveWorld();

            levelbot::undoStep(before, window);
            const world::WorldSnapshot undone = world::saveWorld();
            ASSERT_TRUE(std::equal(undone.cells.get(), undone.cells.get() + level.size() - 2,
                                   before.cells.get()))
                << name << ", frame " << at << ", x " << p.x;
            ASSERT_EQ(undone.run, before.run);
            ASSERT_EQ(undone.level, before.level);
            ASSERT_EQ(undone.life, before.life);

            world::restoreWorld(after);
            player = p;
            ++steps;
        }
    }
    EXPECT_GT(steps, 100);  // the replays went some way
}

TEST(NavMap, AJumpClimbsThreeCellsAndBreaksBricksFromBelow) {
    // Ledges three and four cells above the ground with an item on each, and an item walled in
    // but for a brick below it.
    const std::vector<uint8_t> level = compile(R"(..............................
..............................
..............................
..............................
..............................
.........................*....
...............*.....XXX.X....
...........XX........X*X......
.....*....XXXX.......XBX...[].
.....X....XXXX..^..........().
##############################
##############################
)");
    world::PlayerState player;
    std::string error;
    ASSERT_TRUE(replay::startLife(level, 16, 100, player, error)) << error;
    const levelbot::NavMap map = levelbot::buildNavMap();
    const int32_t start = levelbot::playerNode(map, player);
    auto framesTo = [&](int32_t column, int32_t row) {
        return levelbot::distancesTo(map, column, row)[size_t(start)];
    };
    EXPECT_LT(framesTo(5, 8), levelbot::kFar);   // on a crate, one cell up
    EXPECT_LT(framesTo(15, 6), levelbot::kFar);  // from the top of the crates
    EXPECT_GE(framesTo(25, 5), levelbot::kFar);  // four cells above the ground: no way
    EXPECT_LT(framesTo(22, 7), levelbot::kFar);  // through the brick from below
    EXPECT_GE(framesTo(16, 9), levelbot::kFar);  // into the spikes: never
    // Further costs more.
    EXPECT_LT(framesTo(5, 8), framesTo(15, 6));
}

}  // namespace
