// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Points and lives: the cap, one life per addition, the 99-life limit; items and the door.

#include "world/lifetimes.h"
#include "world_fixture.h"

namespace {

using Scoring = WorldTest;

TEST_F(Scoring, PointsStopAtTheCapAndEachAdditionGivesAtMostOneLife) {
    const struct {
        int32_t score, lives, points;
        int32_t newScore, newLives;
        const char* why;
    } cases[] = {
        {9949, 6, 100, 9999, 6, "the hundreds stay at 99 under the cap"},
        {9850, 6, 70, 9920, 7, "a new hundred below the cap"},
        {97, 6, 3, 100, 7, "3 points reaching the next hundred"},
        {96, 6, 3, 99, 6, "3 points short of it"},
        {180, 6, 250, 430, 7, "two hundreds passed give one life"},
        {9999, 6, 500, 9999, 6, "no points and no lives at 9999"},
        {199, 99, 1, 200, 99, "99 lives at most"},
        {199, 98, 1, 200, 99, "the 99th life"},
        {0, 0, 100, 100, 1, "a life from nothing"},
    };
    for (const auto& c : cases) {
        world::run.score = c.score;
        world::run.lives = c.lives;
        audio::soundsPlayed = {};
        world::addScore(c.points);
        EXPECT_EQ(world::run.score, c.newScore) << c.why;
        EXPECT_EQ(world::run.lives, c.newLives) << c.why;
        EXPECT_EQ(sounds(kTada), c.newLives - c.lives) << c.why;
    }
}

TEST_F(Scoring, AnExtraLifeCountsUpToNinetyNine) {
    world::run.lives = 98;
    world::grantExtraLife();
    world::grantExtraLife();
    EXPECT_EQ(world::run.lives, 99);
    EXPECT_EQ(sounds(kTada), 1);
    EXPECT_EQ(world::run.score, 0);
}

TEST_F(Scoring, TheLastCountedItemOpensTheDoor) {
    load(levelText({{9, ".........**......[].."}, {10, ".................().."}}, 21));
    player.forgotItems = 1;
    world::collectItem(player);
    EXPECT_EQ(world::life.itemsLeft, 1);
    EXPECT_EQ(cell(17, 9), 38);
    EXPECT_EQ(player.forgotItems, 1);
    world::collectItem(player);
    EXPECT_EQ(world::life.itemsLeft, 0);
    EXPECT_EQ(world::run.score, 2);
    EXPECT_EQ(sounds(kKlack), 1);
    EXPECT_EQ(player.forgotItems, 0);
    EXPECT_EQ(cell(17, 9), 27);  // the open door: 27 28 over 47 48
    EXPECT_EQ(cell(18, 9), 28);
    EXPECT_EQ(cell(17, 10), 47);
    EXPECT_EQ(cell(18, 10), 48);

    // With no counted items left the opening never fires again.
    world::setCell(17, 9, 0);
    world::collectItem(player);
    EXPECT_EQ(world::life.itemsLeft, -1);
    EXPECT_EQ(cell(17, 9), 0);
    EXPECT_EQ(sounds(kKlack), 1);
}

}  // namespace
