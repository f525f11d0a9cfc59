// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The world's state, grouped by how long it lives. A run (from "NEW GAME" or "CONTINUE" to
// the game over or the ending) keeps the score, the lives and the level counter; a level
// keeps its restart point across the lives played in it; a life throws everything else away:
// the view, the clock and the air, the item count and the door, the enemy and tile-effect
// tables and the player. startRun, startLevel and startLife are the only places that set
// these records fresh, so nothing of one life (an effect still running, an enemy) can reach
// into the next.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/effects.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/player.h"
#include "world/score.h"

namespace world {

constexpr int32_t kTitleLevel = 0;      // the level that scrolls behind the title menu
constexpr int32_t kLastLevel = 16;      // the levels of a run are 1..16
constexpr int32_t kAllLevelsDone = 17;  // past the last level: the ending
constexpr int32_t kTestMapLevel = -1;   // the test map of the test mode

// Kept for a whole run.
struct RunState {
    int32_t score = 0;                   // 0..9999
    int32_t lives = kStartLives;         // 0..99
    int32_t levelCounter = kTitleLevel;  // 0 title, 1..16 levels, 17 all done, -1 test map

    bool operator==(const RunState&) const = default;
};

// Kept across the lives of one level.
struct LevelState {
    int32_t restartX = kRestartStartX;  // restart point: a new level sets 16, 100, a
    int32_t restartY = kRestartStartY;  // checkpoint moves it, a death keeps it

    bool operator==(const LevelState&) const = default;
};

// Everything a life changes, thrown away by the next one. The grid itself (levelMap) is
// loaded afresh with it.
struct LifeState {
    int32_t cameraX = 0;             // world x of the view's left edge
    int32_t doorCell = 0;            // cell index of the exit door's top-left cell
    int32_t itemsLeft = 0;           // items to take before the door opens
    int32_t timeLeft = kLifeFrames;  // frames left in this life
    int32_t airLeft = kMaxAir;       // 0..500
    std::string_view deathMessage;   // how the life ended; empty while it goes on
    std::array<EnemySlot, kEnemySlots> enemies{};
    std::array<TileEffect, kTileEffectSlots> tileEffects{};
    PlayerState player;

    bool operator==(const LifeState&) const = default;
};

extern RunState run;
extern LevelState level;
extern LifeState life;

// Who starts a life: the player at the restart point, or nobody (the title level, which
// plays by itself).
enum class Arrival { Player, Nobody };

// A new run: score 0, six lives, the given level counter.
void startRun(int32_t levelCounter);
// A new level: the restart point back at 16, 100.
void startLevel();
// A new life in the level of these file bytes: the grid, the view, the items and the door,
// the enemies of the columns in view, full time and air, empty effect and enemy tables, no
// death message, and the player standing on the first solid cell below the restart point
// (with Arrival::Nobody no player: it waits as after a death). Bytes that are no playable
// level, or a restart column without ground, return the fault and start nothing.
[[nodiscard]] LevelFault startLife(const uint8_t* bytes, size_t size, Arrival arrival);
// startLife with the named level of the maps archive, or with the test map when the name is
// null. Anything but a playable level ends the program with "Can't load file" and the level
// name ("maps/test.bin" for the test map).
void startLifeIn(const char* name, Arrival arrival);

}  // namespace world
