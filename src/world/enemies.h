// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Enemies: a table of 16 slots filled from the marker cells of the columns that come into
// view. They walk or fly horizontally and reverse when blocked on either side (also at the
// ends of the level, never at ledges), walkers fall under gravity, and they leave when they
// drift too far from the view or fall out of the level.
//
// What each kind does is a row of the kind table (enemy_kinds.h). All contact between the
// player and an enemy is decided here, once per enemy per frame: blobs, bats and hat guys can
// be stomped by a player falling onto them faster than its
// resting speed; any other touch of a moving enemy kills. A stopped enemy (squashed, stunned,
// dying) neither kills nor can be stomped.
//
// Vertical speeds of walkers are in thirds of a pixel per frame.

#include "world/enemy_kinds.h"

#include <cstdint>

namespace world {

struct PlayerState;

struct EnemySlot {
    int32_t x = 0;  // top-left pixel of the box, world coordinates
    int32_t y = 0;
    int32_t dx = 0;       // pixels per frame, negative = left; 0 = stopped
    int32_t savedDx = 0;  // a kind that is stunned (the hat guy): dx before its last stomp
    int32_t vy = 0;       // thirds of a pixel per frame, walkers only
    int32_t counter = 0;  // frames since created or last stomped
    EnemyType type = ENEMY_NONE;
    int32_t active = 0;     // 1 = the slot holds an enemy
    int32_t stompable = 0;  // 1 if it can be stomped
    int32_t hits = 0;       // a kind that is stunned: stomps taken

    bool operator==(const EnemySlot&) const = default;
};

constexpr int kEnemySlots = 16;
constexpr int32_t kStompSpeed = 7;       // a stomp needs the player falling faster than this
constexpr int32_t kDespawnBehind = 250;  // gone when this far left of the view
constexpr int32_t kDespawnAhead = 500;   // or this far right of it
constexpr int32_t kDespawnBelowY = 200;  // or below this y

// Puts a new enemy of that type at (x, y) into the first free slot of the life's table, with
// the speed and stomp of its kind's row; false when none is free.
bool spawnEnemy(int32_t x, int32_t y, EnemyType type);
// One frame of one enemy: motion, turning, gravity, player contact, timers, despawn.
void updateEnemy(EnemySlot& enemy, PlayerState& player, int32_t cameraX);
// The tile-sheet picture the enemy shows this frame, or -1 when it is not drawn (a free slot,
// a squashed blob blinking out). The drawing culls by position itself.
int32_t enemyFrame(const EnemySlot& enemy);

}  // namespace world
