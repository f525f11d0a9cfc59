// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player: placement, walking, the jump, landing, every tile contact, scrolling, the ways
// to die, and the time and air rules. Each test plays real frames of a small level.

#include "world/lifetimes.h"
#include "world_fixture.h"

namespace {

using Player = WorldTest;

// On the floor of row 11 a standing player's top is at y 160.
constexpr int32_t kFloorY = 160;

TEST_F(Player, IsPlacedOnTheFirstSolidCellBelowTheRestartPoint) {
    start(levelText({{8, ".#"}}));
    EXPECT_EQ(player.x, 16);
    EXPECT_EQ(player.y, 112);
    EXPECT_EQ(player.alive, 1);
    EXPECT_EQ(player.frame, 24);
    EXPECT_EQ(world::life.timeLeft, 7000);
    EXPECT_EQ(world::life.airLeft, 500);

    // A restart column with nothing solid below the restart point is refused.
    const std::vector<uint8_t> noGround = compile(levelText({{11, "#.####"}}));
    EXPECT_EQ(world::startLife(noGround.data(), noGround.size(), world::Arrival::Player),
              world::LEVEL_NO_GROUND);
}

TEST_F(Player, AJumpRisesFiftyPixelsInItsOwnStepsAndLandsOnTheTileBoundary) {
    start(levelText({}));
    step();  // settle on the ground
    ASSERT_EQ(player.y, kFloorY);
    std::vector<int32_t> rises;
    for (int frame = 0; frame < 18; ++frame) {
        const int32_t before = player.y;
        step(frame == 0 ? kJump : kNone);  // letting go does not cut the jump short
        rises.push_back(before - player.y);
    }
    EXPECT_EQ(rises, (std::vector<int32_t>{5, 5, 4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(player.y, kFloorY - 50);

    int frames = 0;
    while (player.y != kFloorY && frames < 100) {
        step();
        ++frames;
    }
    EXPECT_EQ(player.y, kFloorY);
    EXPECT_EQ(player.vy, 7);
    step();
    EXPECT_EQ(player.y, kFloorY);  // it sinks a pixel each frame and is snapped back
}

TEST_F(Player, JumpsAgainOnLandingOnlyAfterAFreshPress) {
    start(levelText({}));
    step();
    // Holding jump through the landing after a jump does not jump again.
    for (int i = 0; i < 60; ++i) step(kJump);
    EXPECT_EQ(player.y, kFloorY);
    EXPECT_EQ(player.jumpLatched, 1);

    // A press that starts in mid-air is kept and jumps on the first frame on the ground.
    step();
    player.y = 100;
    while (player.y < kFloorY) step(kJump);
    EXPECT_EQ(player.y, kFloorY);
    step(kJump);
    EXPECT_EQ(player.y, kFloorY - 5);
    EXPECT_EQ(player.vy, -20);
}

TEST_F(Player, AStompBouncesFourPixelsOrGivesAFullJumpWithAFreshPress) {
    start(levelText({}));
    player.y = 100;
    player.vy = 12;
    player.bounce = 1;
    int32_t top = player.y;
    for (int i = 0; i < 8; ++i) {
        step();
        top = std::min(top, player.y);
    }
    EXPECT_EQ(top, 96);

    player.y = 100;
    player.vy = 12;
    player.bounce = 1;
    step(kJump);
    EXPECT_EQ(player.vy, -20);
    EXPECT_EQ(player.y, 95);
    EXPECT_EQ(player.bounce, 0);
}

TEST_F(Player, WalksTwoPixelsOrOneWithDownHeldAndEvensOutAnOddX) {
    const struct {
        int32_t x;
        world::Controls controls;
        std::vector<int32_t> path;
    } cases[] = {
        {16, kRight, {18, 20, 22}}, {16, kSlowRight, {17, 18, 19}},
        {17, kRight, {18, 20, 22}}, {40, kLeft, {38, 36, 34}},
        {41, kLeft, {40, 38, 36}},  {40, {true, false, false, true}, {39, 38, 37}},
    };
    for (const auto& c : cases) {
        start(levelText({}));
        player.x = c.x;
        std::vector<int32_t> path;
        for (int i = 0; i < 3; ++i) {
            step(c.controls);
            path.push_back(player.x);
        }
        EXPECT_EQ(path, c.path) << "from " << c.x;
    }
}

TEST_F(Player, TheLowerSideProbeLiesHigherAtTheFasterSpeed) {
    // Blocks in row 10 at column 3 and at column 0; the player's box hangs so that the
    // blocks' top edges lie at its y + 15.
    const struct {
        int32_t x;
        world::Controls controls;
        int32_t expected;
    } cases[] = {
        {32, kRight, 34},
        {32, kSlowRight, 32},  // the wall to the right
        {16, kLeft, 14},
        {16, {true, false, false, true}, 16},  // and to the left
    };
    for (const auto& c : cases) {
        load(levelText({{10, "#..#"}}));
        player = {};
        player.alive = 1;
        player.x = c.x;
        player.y = 145;
        world::updatePlayer(player, {c.controls.left, c.controls.right, false, c.controls.down},
                            -100);
        EXPECT_EQ(player.x, c.expected) << c.x << (c.controls.down ? " slow" : " fast");
    }
}

TEST_F(Player, NeverStepsLeftFromTheViewsLeftEdge) {
    start(levelText({}));
    world::life.cameraX = 1;
    player.x = 2;
    step(kLeft);
    EXPECT_EQ(player.x, 0);  // one pixel left of the view
    step(kLeft);
    EXPECT_EQ(player.x, 0);
    world::life.cameraX = 0;
    player.x = 1;
    step(kLeft);
    EXPECT_EQ(player.x, 0);
    step(kLeft);
    EXPECT_EQ(player.x, 0);
    world::life.cameraX = 10;
    player.x = 10;
    step(kLeft);
    EXPECT_EQ(player.x, 10);
}

TEST_F(Player, WalkingPicturesRunInOrderAndStandingOnesFollow) {
    start(levelText({}));
    std::vector<int32_t> frames;
    for (int i = 0; i < 13; ++i) {
        step(kRight);
        frames.push_back(player.frame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 1, 1}));
    step();
    EXPECT_EQ(player.frame, 65);

    player.walkCounter = 0;
    frames.clear();
    for (int i = 0; i < 14; ++i) {
        step(kLeft);
        frames.push_back(player.frame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{5, 5, 8, 8, 8, 7, 7, 7, 6, 6, 6, 5, 5, 5}));
    steps(500);
    EXPECT_EQ(player.frame, 68);
    EXPECT_EQ(player.idleCounter, 500);
    step();
    EXPECT_EQ(player.frame, 24);
    EXPECT_EQ(player.walkCounter, 0);
}

TEST_F(Player, TheViewFollowsOnePixelPastTwoHundredAndTwoPastTwoHundredThirty) {
    const struct {
        int32_t intoView;
        int32_t scrolled;
    } cases[] = {{200, 0}, {201, 1}, {230, 1}, {231, 2}, {300, 2}};
    for (const auto& c : cases) {
        start(levelText({}, 60));
        world::life.cameraX = 100;
        player.x = 100 + c.intoView;
        step();
        EXPECT_EQ(world::life.cameraX, 100 + c.scrolled) << c.intoView;
    }
}

TEST_F(Player, TheOpenDoorEndsTheLevelAndTheClosedOneRemindsOfItems) {
    start(levelText({{9, "......[]"}, {10, "......()"}}));
    while (!player.reachedExit && player.x < 200) step(kRight);
    EXPECT_EQ(player.x, 112);  // the top-left corner entered the bottom-right door cell

    start(levelText({{9, "......[]...*"}, {10, "......()"}}));
    ASSERT_EQ(cell(6, 9), 38);
    while (!player.forgotItems && player.x < 200) step(kRight);
    EXPECT_EQ(player.x, 112);
    EXPECT_EQ(player.reachedExit, 0);
}

TEST_F(Player, SpikesKillOnAnyCornerAndTheDyingHopFollows) {
    start(levelText({{10, ".....^"}}));
    while (!player.dying && player.x < 200) step(kRight);
    // At x 66 the right edge x + 15 is first inside column 5; the kill frame already hops.
    EXPECT_EQ(player.x, 65);
    EXPECT_EQ(player.y, kFloorY - 4);
    EXPECT_EQ(world::life.deathMessage, "IMPALED TO DEATH");
    EXPECT_EQ(sounds(kAj), 1);
    EXPECT_EQ(player.alive, 1);

    // The hop: 28 pixels up while drifting left a pixel a frame, then out at the bottom, gone
    // once below y 2500.
    const int32_t killedAt = player.x;
    int32_t top = player.y;
    int32_t lastY = player.y;
    int frames = 0;
    while (player.alive && frames < 1000) {
        lastY = player.y;
        step(kRight);
        top = std::min(top, player.y);
        ++frames;
    }
    EXPECT_EQ(top, kFloorY - 28);
    EXPECT_EQ(player.x, killedAt - frames);
    EXPECT_LE(lastY, 2500);
    EXPECT_GT(player.y, 2500);
    EXPECT_EQ(player.idleCounter, 0);
    EXPECT_EQ(sounds(kAj), 1);

    // The other tile rules still run in the frame of the kill: the item under the middle is
    // taken while a corner is in the spikes.
    start(levelText({{10, "....*^"}}));
    ASSERT_EQ(world::life.itemsLeft, 1);
    player.x = 66;
    step();
    EXPECT_EQ(world::life.deathMessage, "IMPALED TO DEATH");
    EXPECT_EQ(world::life.itemsLeft, 0);
    EXPECT_EQ(world::run.score, 1);
    EXPECT_EQ(sounds(kChew), 1);
}

TEST_F(Player, ATrapDoorShutsBehindThePlayerAndOnlyTheLastOfARun) {
    start(levelText({{10, ".....T.....TT"}}));
    while (player.x < 100) step(kRight);
    EXPECT_EQ(sounds(kTrdoor), 1);
    steps(4);
    EXPECT_EQ(cell(5, 10), 69);

    while (player.x < 220) step(kRight);
    steps(5);
    EXPECT_EQ(cell(11, 10), 88);
    EXPECT_EQ(cell(12, 10), 69);
    EXPECT_EQ(sounds(kTrdoor), 2);
}

TEST_F(Player, ASpikeTrapSpringsUnderThePlayersMiddle) {
    start(levelText({{10, "......:"}}));
    ASSERT_EQ(cell(6, 10), 86);
    while (sounds(kBoink) == 0 && player.x < 200) step(kRight);
    EXPECT_EQ(player.x + 8, 96);  // the middle reached column 6
    EXPECT_EQ(sounds(kBoink), 1);
    int frames = 0;
    while (!player.dying && frames < 20) {
        step();
        ++frames;
    }
    EXPECT_EQ(frames, 5);  // 0, 0, 87, 87, then spikes
    EXPECT_EQ(world::life.deathMessage, "IMPALED TO DEATH");
}

TEST_F(Player, PickUpsAreTakenOnceByThePlayersMiddle) {
    world::run.lives = 6;
    start(levelText({{9, ".....[]"}, {10, ".....()+*"}}));
    ASSERT_EQ(world::life.itemsLeft, 1);
    while (player.x < 160) step(kRight);
    EXPECT_EQ(world::run.lives, 7);
    EXPECT_EQ(sounds(kTada), 1);
    EXPECT_EQ(sounds(kChew), 1);
    EXPECT_EQ(world::life.itemsLeft, 0);
    EXPECT_EQ(world::run.score, 1);
    EXPECT_EQ(sounds(kKlack), 1);
    EXPECT_EQ(cell(5, 9), 27);
    EXPECT_EQ(cell(7, 10), 0);
    EXPECT_EQ(cell(8, 10), 0);
}

TEST_F(Player, AnItemIsTakenOnceEvenWhenNoEffectSlotIsFree) {
    start(levelText({{9, "..*.....[]"}, {10, "..*.....()"}}, 30));
    ASSERT_EQ(world::life.itemsLeft, 2);
    // Every slot busy with a checkpoint animation somewhere in the sky, kept running.
    const auto fillEffects = [] {
        for (int i = 0; i < 16; ++i) world::startTileEffect(i * 16, 0, world::EFFECT_CHECKPOINT);
    };
    player.x = 32;
    for (int i = 0; i < 10; ++i) {
        fillEffects();
        step();
    }
    EXPECT_EQ(world::life.itemsLeft, 1);
    EXPECT_EQ(world::run.score, 1);
    EXPECT_EQ(cell(2, 10), 0);
    EXPECT_EQ(cell(2, 9), 41);
    EXPECT_EQ(sounds(kChew), 1);
}

TEST_F(Player, ACheckpointMovesTheRestartPointAndAnimatesOnlyAfterThePlayerLeaves) {
    start(levelText({{10, ".....C...c"}}));
    while (player.x < 80) step(kRight);
    EXPECT_EQ(world::level.restartX, 80);
    EXPECT_EQ(world::level.restartY, kFloorY);
    EXPECT_EQ(sounds(kKnirk), 1);
    steps(40);
    EXPECT_EQ(cell(5, 10), 17);
    EXPECT_EQ(sounds(kKnirk), 1);

    std::vector<world::TileCode> codes;
    for (int i = 0; i < 24; ++i) {
        step(player.x < 100 ? kRight : kNone);
        codes.push_back(cell(5, 10));
    }
    EXPECT_EQ(codes.front(), 17);
    EXPECT_EQ(codes.back(), 19);
    EXPECT_NE(std::find(codes.begin(), codes.end(), 18), codes.end());

    // A checkpoint being taken (18) or taken (19) is no checkpoint.
    for (const char* code : {"18", "19"}) {
        SetUp();
        start(levelText({{10, ".....x"}}, 30, std::string("legend x ") + code + "\n"));
        while (player.x < 160) step(kRight);
        EXPECT_EQ(world::level.restartX, 16) << code;
        EXPECT_EQ(cell(5, 10), std::stoi(code)) << code;
        EXPECT_EQ(sounds(kKnirk), 0) << code;
    }
}

TEST_F(Player, ACheckpointIsFeltFourteenPixelsBelowTheTop) {
    for (int32_t y : {145, 146}) {
        start(levelText({{10, "..C"}}));
        player.x = 32;
        player.y = y;  // dropping in from above: its row 10 begins at y + 15 or y + 14
        player.vy = 0;
        world::updatePlayer(player, {}, 0);
        EXPECT_EQ(world::level.restartX, y == 145 ? 16 : 32) << y;
    }
}

TEST_F(Player, HeadBumpsBreakBricksBumpBlocksAndPushThePlayerDown) {
    const struct {
        char block;
        int32_t points;
        int klonks, kracks;
        const char* solid;  // the block's cell in the 12 frames after the hit: '#' solid
        world::TileCode after;
    } cases[] = {
        {'B', 1, 0, 1, "########....", 0},   // 200..203, then empty
        {'?', 0, 1, 0, "......######", 20},  // passable at 80, 100 and 120, solid at 20
        {'#', 0, 0, 0, "############", 21},
    };
    for (const auto& c : cases) {
        SetUp();
        start(levelText({{8, std::string("..") + c.block}}));
        player.x = 32;  // under the block, beside the restart column
        step();
        step(kJump);  // 155
        step();       // 150
        step();       // 146
        step();       // 142: the head in row 8
        EXPECT_EQ(player.y, 144) << c.block;
        EXPECT_EQ(player.vy, 7) << c.block;
        EXPECT_EQ(world::run.score, c.points) << c.block;
        EXPECT_EQ(sounds(kKlonk), c.klonks) << c.block;
        EXPECT_EQ(sounds(kKrack), c.kracks) << c.block;
        std::string solid;
        for (int frame = 0; frame < 12; ++frame) {
            step();
            solid += world::isSolidAt(40, 136) ? '#' : '.';
        }
        EXPECT_EQ(solid, c.solid) << c.block;
        EXPECT_EQ(cell(2, 8), c.after) << c.block;
    }
}

TEST_F(Player, ABrickHitWithoutAFreeEffectSlotStillScores) {
    start(levelText({{8, "..B"}}));
    player.x = 32;
    step();
    for (int i = 0; i < 16; ++i) world::startTileEffect(i * 16 + 160, 0, world::EFFECT_CHECKPOINT);
    step(kJump);
    steps(3);
    EXPECT_EQ(world::run.score, 1);
    EXPECT_EQ(sounds(kKrack), 0);
    EXPECT_EQ(cell(2, 8), 40);
}

TEST_F(Player, CrumblingBlocksGiveWayUnderTheMiddleOrAnEdge) {
    // Under the middle.
    start(levelText({{11, "#%###"}}));
    player.x = 16;
    std::vector<world::TileCode> codes;
    for (int i = 0; i < 12; ++i) {
        step();
        codes.push_back(cell(1, 11));
    }
    EXPECT_EQ(codes,
              (std::vector<world::TileCode>{22, 180, 180, 181, 181, 182, 182, 183, 183, 0, 0, 0}));
    steps(10);
    EXPECT_GT(player.y, kFloorY);  // it falls through

    // Under the right edge while the middle is over a gap.
    start(levelText({{11, "##.%##"}}));
    player.x = 34;
    step();
    step();
    EXPECT_EQ(cell(3, 11), 180);

    // With the middle on firm ground the edges are not felt.
    start(levelText({{11, "##%"}}));
    player.x = 20;
    steps(5);
    EXPECT_EQ(cell(2, 11), 22);
}

TEST_F(Player, AboveTheTopNoTileRuleRunsButTheGroundStillHolds) {
    // A crumbling block in row 0: standing on it from above the level does not crumble it.
    start(levelText({{0, "....%"}}));
    player.x = 64;
    player.y = -16;
    steps(20);
    EXPECT_EQ(player.y, -16);
    EXPECT_EQ(cell(4, 0), 22);
}

TEST_F(Player, FallingOutOfTheLevelEndsTheLifeAtOnceWithoutACry) {
    start(levelText({{11, "##...#####"}}));
    while (player.alive && player.x < 200) step(kRight);
    EXPECT_EQ(player.alive, 0);
    EXPECT_EQ(player.dying, 0);
    EXPECT_EQ(player.idleCounter, 180);
    EXPECT_EQ(world::life.deathMessage, "FELL TO DEATH");
    EXPECT_EQ(sounds(kAj), 0);

    // Over the gap, falling a pixel a frame: alive at y 250, gone at 251.
    for (auto [y, alive] : {std::pair{250, 1}, {251, 0}}) {
        start(levelText({{11, "##...#####"}}));
        player.x = 40;
        player.y = y - 1;
        player.vy = 4;
        step();
        EXPECT_EQ(player.y, y);
        EXPECT_EQ(player.alive, alive) << y;
    }
}

TEST_F(Player, TimeRunsOutOnceThePlayerIsAlive) {
    start(levelText({}));
    world::life.timeLeft = 3;
    steps(2);
    EXPECT_EQ(player.alive, 1);
    step();
    EXPECT_EQ(player.alive, 0);
    EXPECT_EQ(world::life.timeLeft, 0);
    EXPECT_EQ(world::life.deathMessage, "TIME UP");
    EXPECT_EQ(player.idleCounter, 180);
    step();
    EXPECT_EQ(world::life.timeLeft, 0);  // a dead player's time stands still

    // Time and air running out together: the air rule comes second and has the last word.
    start(levelText({{10, ".~~"}}));
    world::life.timeLeft = 1;
    world::life.airLeft = 1;
    step();
    EXPECT_EQ(player.alive, 0);
    EXPECT_EQ(world::life.deathMessage, "DROWNED");
    EXPECT_EQ(sounds(kSplash), 0);
}

TEST_F(Player, WaterDrainsAirWithOneSplashAndAirRefillsTwiceAsFast) {
    start(levelText({{10, ".~~"}}));
    steps(10);
    EXPECT_EQ(world::life.airLeft, 490);
    EXPECT_EQ(sounds(kSplash), 1);
    while (player.x < 48) step(kRight);
    world::life.airLeft = 400;
    steps(50);
    EXPECT_EQ(world::life.airLeft, 500);
    EXPECT_EQ(player.splashed, 0);

    world::life.airLeft = 499;  // refills only from 498 down
    step();
    EXPECT_EQ(world::life.airLeft, 499);

    while (player.x > 20) step(kLeft);
    EXPECT_EQ(sounds(kSplash), 2);
    world::life.airLeft = 2;
    steps(2);
    EXPECT_EQ(player.alive, 0);
    EXPECT_EQ(world::life.deathMessage, "DROWNED");
    EXPECT_EQ(player.idleCounter, 180);
}

}  // namespace
