// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The world update of one frame, shared by the game loop, the tests, the level bot and the
// renderers. It is fed the held controls of the frame and nothing else, so a run is a pure
// function of its per-frame controls.
//
// Order within a play frame: the 16 tile effects, then the 16 enemies (each sees the player
// as the previous frame left it), then, if the player is alive, the player and the time and
// air rules. The title level runs its effects and enemies and moves the view one pixel.

#include "world/lifetimes.h"

#include <array>
#include <cstdint>
#include <memory>

namespace world {

// Updates the 16 tile effects in slot order.
void updateTileEffects();
// Updates the 16 enemies in slot order against the player and the current view.
void updateEnemies(PlayerState& player);
// One frame of play.
void stepPlayFrame(PlayerState& player, const Controls& controls);
// One frame of the title level: effects, enemies, and the view moving one pixel on.
void stepTitleFrame(PlayerState& player);

// A copy of the whole world (the grid and the run, level and life records), for tools that
// search through many futures of one moment, such as the level bot.
struct WorldSnapshot {
    int32_t width = 0;
    std::unique_ptr<TileCode[]> cells;
    RunState run;
    LevelState level;
    LifeState life;
};

// Copies the world into a snapshot.
WorldSnapshot saveWorld();
// Puts the world back as the snapshot holds it.
void restoreWorld(const WorldSnapshot& snapshot);

}  // namespace world
