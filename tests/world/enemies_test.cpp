// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Enemies: each kind's motion, turning at walls and at the level's ends, gravity, the stomp
// and kill windows, what a stomp does to each kind, the despawn distances and the pictures.

#include "world/lifetimes.h"
#include "world_fixture.h"

namespace {

// Walls in row 10 at columns 2 and 12, ground in row 11, a platform in row 6 (columns 20..22).
const std::string kArena = levelText({{6, "....................###"}, {10, "..#.........#"}});
constexpr int32_t kWallRight = 48;  // the first x right of the wall in column 2
constexpr int32_t kGroundY = 160;

class Enemies : public WorldTest {
  protected:
    void SetUp() override {
        WorldTest::SetUp();
        load(kArena);
        world::life.enemies = {};
        world::life.cameraX = 0;
    }
    // Puts an enemy of this kind into slot 0.
    static world::EnemySlot& put(world::EnemyType type, int32_t x, int32_t y, int32_t dx = 0) {
        world::life.enemies = {};
        EXPECT_TRUE(world::spawnEnemy(x, y, type));
        if (dx != 0) world::life.enemies[0].dx = dx;
        return world::life.enemies[0];
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) world::updateEnemies(player);
    }
};

TEST_F(Enemies, WalkAndFlyAtTheirSpeedAndTurnInTheFrameTheyMeetAWall) {
    for (world::EnemyType type : {world::ENEMY_BLOB, world::ENEMY_HOGLET, world::ENEMY_BAT,
                                  world::ENEMY_PIRANHA, world::ENEMY_HAT_GUY}) {
        world::EnemySlot& e = put(type, 96, kGroundY);
        const int32_t speed = -e.dx;
        frames(10);
        EXPECT_EQ(e.x, 96 - 10 * speed) << type;
        EXPECT_EQ(e.y, kGroundY) << type;
        while (e.dx < 0 && e.counter < 200) frames(1);
        EXPECT_EQ(e.x, kWallRight) << type;
        frames(1);
        EXPECT_EQ(e.x, kWallRight + speed) << type;
        // Back and forth between the two walls for good.
        frames(300);
        EXPECT_GE(e.x, kWallRight);
        EXPECT_LE(e.x, 12 * 16 - 16);
        EXPECT_EQ(e.active, 1);
    }
}

TEST_F(Enemies, TurnAtBothEndsOfTheLevel) {
    world::EnemySlot& left = put(world::ENEMY_BLOB, 0, kGroundY - 64);
    frames(1);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.dx, 1);

    world::EnemySlot& right = put(world::ENEMY_BAT, 30 * 16 - 16, 32, 1);
    frames(1);
    EXPECT_EQ(right.x, 30 * 16 - 16);
    EXPECT_EQ(right.dx, -1);

    world::EnemySlot& fast = put(world::ENEMY_HAT_GUY, 30 * 16 - 18, 32, 2);
    frames(1);
    EXPECT_EQ(fast.x, 30 * 16 - 16);  // one step to the end, and the turn in the same frame
    EXPECT_EQ(fast.dx, -2);
}

TEST_F(Enemies, WalkersFallOffLedgesAndFlyersKeepTheirHeight) {
    world::EnemySlot& blob = put(world::ENEMY_BLOB, 21 * 16, 5 * 16);  // on the platform
    frames(3);
    EXPECT_EQ(blob.y, 80);  // resting: it sinks a pixel a frame and is snapped back
    EXPECT_EQ(blob.vy, 3);
    std::vector<int32_t> drops;
    for (int i = 0; i < 100 && blob.y < kGroundY; ++i) {
        const int32_t y = blob.y;
        frames(1);
        if (blob.y != y) drops.push_back(blob.y - y);
    }
    EXPECT_EQ(blob.y, kGroundY);
    EXPECT_EQ(blob.dx, -1);  // ledges do not turn it
    // y grows by vy / 3 while vy grows by one: 1, 1, 1, 2, 2, 2, 3, ...
    ASSERT_GE(drops.size(), 4u);
    EXPECT_EQ(drops[0], 1);
    EXPECT_EQ(drops[3], 2);

    world::EnemySlot& bat = put(world::ENEMY_BAT, 20 * 16, 50);
    frames(100);
    EXPECT_EQ(bat.y, 50);
    EXPECT_EQ(bat.vy, 1);
}

// The player against an enemy that stays put (pressed against the wall, it only turns).
struct Contact {
    world::EnemyType type;
    int32_t dx, dy, vy;  // player position relative to the enemy, and its speed
    enum { NOTHING, STOMP, KILL } outcome;
    const char* message = "";  // the death message of a kill
};

TEST_F(Enemies, StompNeedsAFastFallFromAboveAndAnyOtherTouchKills) {
    const Contact cases[] = {
        {world::ENEMY_BLOB, 0, -1, 8, Contact::STOMP},
        {world::ENEMY_BLOB, 0, -15, 8, Contact::STOMP},
        {world::ENEMY_BLOB, 0, -16, 8, Contact::NOTHING},
        {world::ENEMY_BLOB, 0, -1, 7, Contact::KILL, "KILLED BY A BLOB"},  // walked off a ledge
        {world::ENEMY_BLOB, 0, -9, 7, Contact::KILL, "KILLED BY A BLOB"},
        {world::ENEMY_BLOB, 0, -10, 7, Contact::NOTHING},
        {world::ENEMY_BLOB, 0, -15, 7, Contact::NOTHING},
        {world::ENEMY_BLOB, 0, 0, 30, Contact::KILL, "KILLED BY A BLOB"},
        {world::ENEMY_BLOB, 0, 10, 0, Contact::KILL, "KILLED BY A BLOB"},
        {world::ENEMY_BLOB, 0, 11, 0, Contact::NOTHING},
        {world::ENEMY_BLOB, -15, 0, 0, Contact::KILL, "KILLED BY A BLOB"},
        {world::ENEMY_BLOB, -16, 0, 0, Contact::NOTHING},
        {world::ENEMY_BLOB, 16, 0, 0, Contact::KILL, "KILLED BY A BLOB"},
        {world::ENEMY_BLOB, 17, 0, 0, Contact::NOTHING},
        {world::ENEMY_BLOB, 16, -5, 9, Contact::STOMP},
        {world::ENEMY_HOGLET, 0, -5, 12, Contact::KILL, "KILLED BY A HOGLET"},  // no standing on it
        {world::ENEMY_HOGLET, 0, -12, 12, Contact::NOTHING},
        {world::ENEMY_PIRANHA, 0, -5, 12, Contact::KILL, "EATEN BY A PIRANHA"},
        {world::ENEMY_BAT, 0, -5, 12, Contact::STOMP},
        {world::ENEMY_BAT, 0, 5, 0, Contact::KILL, "KILLED BY A BAT"},
        {world::ENEMY_HAT_GUY, 0, -5, 12, Contact::STOMP},
        {world::ENEMY_HAT_GUY, 10, 0, 7, Contact::KILL, "KILLED BY A HAT GUY"},
    };
    for (const Contact& c : cases) {
        world::run = {};
        world::life.deathMessage = {};
        audio::soundsPlayed = {};
        world::EnemySlot& e = put(c.type, kWallRight, kGroundY);
        player = {};
        player.alive = 1;
        player.x = kWallRight + c.dx;
        player.y = kGroundY + c.dy;
        player.vy = c.vy;
        frames(1);
        ASSERT_EQ(e.x, kWallRight);
        const bool stomped = player.bounce == 1;
        const bool killed = player.dying == 1;
        EXPECT_EQ(stomped, c.outcome == Contact::STOMP) << c.type << " " << c.dx << "," << c.dy;
        EXPECT_EQ(killed, c.outcome == Contact::KILL) << c.type << " " << c.dx << "," << c.dy;
        EXPECT_EQ(e.dx == 0, stomped);
        EXPECT_EQ(world::life.deathMessage, c.message) << c.type << " " << c.dx << "," << c.dy;
        if (killed) {
            EXPECT_EQ(sounds(kAj), 2);  // two cries at once
        }
    }
}

TEST_F(Enemies, NobodyTouchesADeadOrDyingPlayer) {
    for (int dying : {0, 1}) {
        world::EnemySlot& e = put(world::ENEMY_HOGLET, kWallRight, kGroundY);
        player = {};
        player.alive = dying;  // dead, or alive and dying
        player.dying = dying;
        player.x = kWallRight;
        player.y = kGroundY;
        frames(1);
        EXPECT_EQ(player.dying, dying);
        EXPECT_EQ(player.bounce, 0);
        EXPECT_EQ(e.dx, 1);
    }
    EXPECT_EQ(sounds(kAj), 0);
}

// Lets the player fall onto the enemy in slot 0 from 5 pixels above, fast enough to stomp.
void dropOn(world::PlayerState& player, const world::EnemySlot& e) {
    player = {};
    player.alive = 1;
    player.x = e.x;
    player.y = e.y - 5;
    player.vy = 12;
}

TEST_F(Enemies, StoppedEnemiesNeitherKillNorCanBeStomped) {
    // A squashed blob, a stunned hat guy and a dying bat, walked into and fallen onto.
    for (world::EnemyType type : {world::ENEMY_BLOB, world::ENEMY_HAT_GUY, world::ENEMY_BAT}) {
        for (bool falling : {false, true}) {
            world::run = {};
            world::EnemySlot& e = put(type, kWallRight, kGroundY);
            dropOn(player, e);
            frames(1);
            ASSERT_EQ(e.dx, 0) << type;
            dropOn(player, e);
            if (!falling) {
                player.y = e.y;
                player.vy = 7;
            }
            frames(1);
            EXPECT_EQ(player.dying, 0) << type << (falling ? " fallen onto" : " walked into");
            EXPECT_EQ(player.bounce, 0) << type << (falling ? " fallen onto" : " walked into");
            EXPECT_EQ(world::run.score, 3) << type;
            EXPECT_EQ(e.hits, type == world::ENEMY_HAT_GUY ? 1 : 0) << type;
        }
    }
}

TEST_F(Enemies, ASquashedBlobLiesStillThenGoes) {
    world::EnemySlot& e = put(world::ENEMY_BLOB, kWallRight, kGroundY);
    dropOn(player, e);
    frames(1);
    EXPECT_EQ(e.dx, 0);
    EXPECT_EQ(world::run.score, 3);
    EXPECT_EQ(sounds(kBlubb), 1);
    player = {};
    frames(119);
    EXPECT_EQ(e.active, 1);
    EXPECT_EQ(e.x, kWallRight);
    frames(1);
    EXPECT_EQ(e.active, 0);
}

TEST_F(Enemies, AStompedBatDiesWithinTwelveFrames) {
    world::EnemySlot& e = put(world::ENEMY_BAT, kWallRight, kGroundY);
    dropOn(player, e);
    frames(1);
    EXPECT_EQ(e.type, 4);  // the dying bat
    EXPECT_EQ(world::run.score, 3);
    EXPECT_EQ(sounds(kBat), 1);
    frames(11);
    EXPECT_EQ(e.active, 1);
    frames(1);
    EXPECT_EQ(e.active, 0);
    EXPECT_EQ(world::run.score, 3);
}

TEST_F(Enemies, AHatGuyGetsUpTheOtherWayAndScoresOnlyOnce) {
    world::EnemySlot& e = put(world::ENEMY_HAT_GUY, 96, kGroundY);
    frames(1);  // walking left, at 94
    dropOn(player, e);
    frames(1);
    EXPECT_EQ(e.dx, 0);
    EXPECT_EQ(e.savedDx, -2);
    EXPECT_EQ(e.hits, 1);
    EXPECT_EQ(world::run.score, 3);
    EXPECT_EQ(sounds(kKlack), 1);
    player = {};
    frames(225);
    EXPECT_EQ(e.dx, 0);
    frames(1);
    EXPECT_EQ(e.dx, 2);  // gets up walking away from where it was heading
    const int32_t x = e.x;
    frames(1);
    EXPECT_EQ(e.x, x + 2);

    dropOn(player, e);
    frames(1);
    EXPECT_EQ(e.hits, 2);
    EXPECT_EQ(e.savedDx, 2);
    EXPECT_EQ(world::run.score, 3);
    EXPECT_EQ(sounds(kKlack), 2);
}

TEST_F(Enemies, LeaveWhenFarBehindFarAheadOrBelowTheLevel) {
    const struct {
        int32_t x, y, cameraX;
        bool stays;
    } cases[] = {
        {100, 32, 350, true}, {100, 32, 351, false},  // 250 pixels behind the view
        {600, 32, 100, true}, {600, 32, 99, false},   // 500 pixels ahead of it
        {100, 200, 0, true},  {100, 201, 0, false},   // below the level
    };
    for (const auto& c : cases) {
        world::EnemySlot& e = put(world::ENEMY_BAT, c.x, c.y);
        e.dx = 0;  // a dying bat that would stay 12 frames: only the despawn rule acts
        e.type = world::ENEMY_DYING_BAT;
        world::updateEnemy(e, player, c.cameraX);
        EXPECT_EQ(e.active == 1, c.stays) << c.x << "," << c.y << " view " << c.cameraX;
    }
}

TEST_F(Enemies, ShowTheirPicturesByKindDirectionAndCounter) {
    const struct {
        world::EnemyType type;
        int32_t dx, counter, frame;
    } cases[] = {
        {world::ENEMY_BLOB, -1, 0, 9},       {world::ENEMY_BLOB, -1, 6, 10},
        {world::ENEMY_BLOB, 1, 12, 11},      {world::ENEMY_BLOB, -1, 18, 10},
        {world::ENEMY_BLOB, -1, 24, 9},      {world::ENEMY_BLOB, 0, 63, 12},
        {world::ENEMY_BLOB, 0, 64, -1},      {world::ENEMY_BLOB, 0, 72, 12},
        {world::ENEMY_HOGLET, -1, 0, 13},    {world::ENEMY_HOGLET, -1, 8, 14},
        {world::ENEMY_HOGLET, 1, 7, 15},     {world::ENEMY_HOGLET, 1, 24, 16},
        {world::ENEMY_BAT, -1, 0, 33},       {world::ENEMY_BAT, -1, 6, 57},
        {world::ENEMY_BAT, 1, 12, 34},       {world::ENEMY_BAT, 1, 23, 57},
        {world::ENEMY_DYING_BAT, 0, 0, 35},  {world::ENEMY_DYING_BAT, 0, 4, 36},
        {world::ENEMY_DYING_BAT, 0, 11, 37}, {world::ENEMY_PIRANHA, -1, 14, 53},
        {world::ENEMY_PIRANHA, -1, 15, 54},  {world::ENEMY_PIRANHA, 1, 30, 55},
        {world::ENEMY_PIRANHA, 1, 45, 56},   {world::ENEMY_HAT_GUY, 2, 0, 121},
        {world::ENEMY_HAT_GUY, 2, 4, 122},   {world::ENEMY_HAT_GUY, 2, 15, 124},
        {world::ENEMY_HAT_GUY, 0, 185, 125}, {world::ENEMY_HAT_GUY, 0, 186, 126},
        {world::ENEMY_HAT_GUY, -2, 0, 144},  {world::ENEMY_HAT_GUY, -2, 15, 141},
    };
    for (const auto& c : cases) {
        world::EnemySlot e;
        e.active = 1;
        e.type = c.type;
        e.dx = c.dx;
        e.counter = c.counter;
        EXPECT_EQ(world::enemyFrame(e), c.frame) << c.type << " " << c.dx << " " << c.counter;
    }
    world::EnemySlot idle;
    idle.type = world::ENEMY_BLOB;
    EXPECT_EQ(world::enemyFrame(idle), -1);
}

TEST_F(Enemies, NewEnemiesTakeTheFirstFreeSlot) {
    for (int i = 0; i < 16; ++i) ASSERT_TRUE(world::spawnEnemy(i * 16, 0, world::ENEMY_BAT));
    EXPECT_FALSE(world::spawnEnemy(0, 0, world::ENEMY_BLOB));
    world::life.enemies[9].active = 0;
    world::life.enemies[4].active = 0;
    EXPECT_TRUE(world::spawnEnemy(0, 0, world::ENEMY_BLOB));
    EXPECT_EQ(world::life.enemies[4].type, world::ENEMY_BLOB);
    EXPECT_EQ(world::life.enemies[9].active, 0);
}

}  // namespace
