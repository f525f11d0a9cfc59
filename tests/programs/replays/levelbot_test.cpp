// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level bot on small levels written for it: it finds ways over a pit, to items up on
// ledges and in the air, and past an enemy that cannot be stomped, and every way it finds
// finishes the level when played back from a fresh start. Levels without a way are reported
// with where the hero got stuck and what killed it.

#include "playback.h"
#include "search.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A level of one map block, checked as the build checks levels.
std::vector<uint8_t> compile(const std::string& rows) {
    return test_support::compileLevelText("map\n" + rows);
}

levelbot::SearchSettings small() {
    levelbot::SearchSettings settings;
    settings.beamWidth = 100;
    return settings;
}

// A pit of four cells, the widest a jump clears.
const std::string kPit = R"(..............................
..............................
..............................
..............................
..............................
..............................
..............................
..............................
.........................[]...
.........................()...
############....##############
############....##############
)";

// Three items: one in the air, one up on a ledge reached from a crate, one on the ground.
const std::string kItems = R"(..............................
..............................
..............................
..............................
.............*................
..............................
...........#####..............
.....*........................
..........................[]..
.........X..........*.....()..
##############################
##############################
)";

// A hoglet walks at the hero from the right: it cannot be stomped, only jumped over.
const std::string kHoglet = R"(..............................
..............................
..............................
..............................
..............................
..............................
..............................
..............................
..........................[]..
..............h...........()..
##############################
##############################
)";

// Eight cells of pit: too wide for any jump.
const std::string kWidePit = R"(..............................
..............................
..............................
..............................
..............................
..............................
..............................
..............................
.........................[]...
.........................()...
##########........############
##########........############
)";

// An item walled in on every side.
const std::string kWalledItem = R"(........................
........................
........................
........................
........................
........................
........................
....XXX.................
....X*X.................
....XXX..............[].
.....................().
########################
)";

// A corridor too low to jump in, a hoglet coming down it: the life from the checkpoint has
// no way past, though the door is there for a hero with no enemy about.
const std::string kLowCorridor = R"(RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRRR[]R
..C.........h........().
########################
########################
)";

TEST(LevelBot, FindsWaysThatFinishTheLevelWhenPlayedBack) {
    struct Case {
        const char* name;
        const std::string& rows;
    };
    for (const Case& c : {Case{"pit", kPit}, Case{"items", kItems}, Case{"hoglet", kHoglet}}) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> level = compile(c.rows);
        const levelbot::SearchResult found = levelbot::searchLife(level, {}, small());
        ASSERT_TRUE(found.found) << found.failureReport()[0];
        const replay::LifeResult played = replay::playLife(level, 16, 100, found.frames, true);
        EXPECT_TRUE(played.finished()) << played.summary();
        EXPECT_EQ(played.frames, int32_t(found.frames.size()));
        // Never left and right at once.
        for (const world::Controls& controls : found.frames)
            EXPECT_FALSE(controls.left && controls.right);
        // The ways are not padded: walking straight to the door takes about 200 frames.
        EXPECT_LT(played.frames, 600);

        if (std::string(c.name) == "items") {
            // The ledge item was taken from up there: the hero stood on the ledge.
            const bool onLedge = std::any_of(played.path.begin(), played.path.end(),
                                             [](const replay::PathPoint& p) { return p.y == 80; });
            EXPECT_TRUE(onLedge);
        }
    }
}

TEST(LevelBot, FindsTheWaysFromCheckpointsToo) {
    // The checkpoint stands past an item: a life from there need not take it.
    const std::vector<uint8_t> level = compile(R"(..............................
..............................
..............................
..............................
..............................
..............................
..............................
.....*........................
..........................[]..
.............C....*.......()..
##############################
##############################
)");
    const std::vector<replay::StartPoint> starts = replay::startPoints(level);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_FALSE(starts[0].checkpoint);
    EXPECT_EQ(starts[1].column(), 13);
    EXPECT_EQ(starts[1].row(), 9);
    for (const replay::StartPoint& start : starts) {
        const levelbot::SearchResult found = levelbot::searchLife(level, start, small());
        ASSERT_TRUE(found.found) << found.failureReport()[0];
        const replay::LifeResult played = replay::playLife(level, start.x, start.y, found.frames);
        EXPECT_TRUE(played.finished()) << played.summary();
    }
}

TEST(LevelBot, ReportsWhereItGotStuckWhenThereIsNoWay) {
    levelbot::SearchSettings settings = small();
    settings.frameLimit = 1500;

    levelbot::SearchResult pit = levelbot::searchLife(compile(kWidePit), {}, settings);
    EXPECT_FALSE(pit.found);
    EXPECT_FALSE(pit.stop.empty());
    EXPECT_LT(pit.furthestX, 18 * 16);  // it never landed beyond the pit
    ASSERT_FALSE(pit.frontDeaths.empty());
    EXPECT_EQ(pit.frontDeaths[0].cause, "FELL TO DEATH");

    levelbot::SearchResult walled = levelbot::searchLife(compile(kWalledItem), {}, settings);
    EXPECT_FALSE(walled.found);
    EXPECT_EQ(walled.fewestItemsLeft, 1);
    ASSERT_EQ(walled.noMapWay.size(), 1u);
    EXPECT_EQ(walled.noMapWay[0], "the item at column 5, row 8");
    EXPECT_EQ(walled.stuckBefore, "the item at column 5, row 8");
    // The look at the spot without enemies tells a place nobody reaches from one where enemies
    // are in the way.
    levelbot::probeStuck(walled, settings.probeStates);
    levelbot::probeStuck(pit, settings.probeStates);
    EXPECT_EQ(walled.stuckReach, levelbot::Reach::No);
    EXPECT_EQ(pit.stuckReach, levelbot::Reach::No);

    const std::vector<uint8_t> corridor = compile(kLowCorridor);
    const std::vector<replay::StartPoint> starts = replay::startPoints(corridor);
    ASSERT_EQ(starts.size(), 2u);
    levelbot::SearchResult blocked = levelbot::searchLife(corridor, starts[1], settings);
    EXPECT_FALSE(blocked.found);
    EXPECT_EQ(blocked.deaths.at(0).cause, "KILLED BY A HOGLET");
    levelbot::probeStuck(blocked, settings.probeStates);
    EXPECT_EQ(blocked.stuckReach, levelbot::Reach::Yes);
}

}  // namespace
