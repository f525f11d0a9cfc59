// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Playing one life of a level with the world update of the game, without a window and
// without sound: the level bot's searches, the replay checks and the path pictures all start
// a life here and step it frame by frame with the held controls.
//
// A life starts as the game starts it: the enemy slots and tile effects are cleared, the
// restart point is set (16, 100 for the level start, a checkpoint's cell for a life that
// restarts there), the level is parsed afresh from its bytes and the player is placed. The
// 181 frozen frames at the start of a life change nothing in the world and are not played.

#include "world/world_step.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// Where a life can start: the level start or an untouched checkpoint (code 17).
struct StartPoint {
    int32_t x = world::kRestartStartX;  // restart point, world pixels
    int32_t y = world::kRestartStartY;
    bool checkpoint = false;

    int32_t column() const { return x / world::kTileSize; }
    int32_t row() const { return y / world::kTileSize; }
};

// The level start and every checkpoint of the level, checkpoints in column order; only the
// level start when the bytes are no playable level.
std::vector<StartPoint> startPoints(const std::vector<uint8_t>& levelBytes);

// Sets the world up for a new life from the level bytes and the restart point; false with a
// reason when the bytes are no playable level or the player cannot be placed.
bool startLife(const std::vector<uint8_t>& levelBytes, int32_t startX, int32_t startY,
               world::PlayerState& player, std::string& error);

// Whether the life is over: the player died (dying or gone) or touched the open exit door.
bool lifeOver(const world::PlayerState& player);
// Whether the level is done: the exit reached with every counted item taken, the player alive
// and not dying, with time left.
bool levelDone(const world::PlayerState& player);

// One frame of a path: the player's box (top-left) after the frame.
struct PathPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct LifeResult {
    std::string error;  // why the life could not start; empty when it did
    bool reachedExit = false;
    bool died = false;
    std::string deathMessage;
    int32_t frames = 0;  // frames played: to the exit, the death or the end of the controls
    int32_t itemsLeft = 0;
    int32_t timeLeft = 0;
    int32_t x = 0;  // the player's box at the end
    int32_t y = 0;
    std::vector<PathPoint> path;  // the box at the start and after every frame, when asked for

    // The exit reached, no item left, no death, within the time limit.
    bool finished() const {
        return error.empty() && reachedExit && !died && itemsLeft == 0 && timeLeft > 0;
    }
    // One line on how the life ended.
    std::string summary() const;
};

// Plays a life from the restart point with the controls of each frame, up to the exit, a
// death or the end of the controls.
LifeResult playLife(const std::vector<uint8_t>& levelBytes, int32_t startX, int32_t startY,
                    const std::vector<world::Controls>& frames, bool keepPath = false);

}  // namespace replay
