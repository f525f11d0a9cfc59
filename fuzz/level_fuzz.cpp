// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Level bytes as the maps archive or maps/test.bin would hand them to the game, played.
//
// The bytes start a life through startLife as they are. A playable level then runs as the game runs
// it: a stretch of the title (the view scrolling by itself, enemies and effects moving), then
// lives of play with the player placed at the restart point. The bytes after the last cell,
// which the game ignores, are the controls: each byte holds left, right, jump and down in its
// low four bits and, in its high four bits, how many frames more than one it is held; play
// ends when they run out (a level without them is played for a few seconds with controls of
// our own). A lost life loads the level again from the same bytes at the restart point the
// checkpoints left, as the run flow does.
//
// Besides the sanitizers, the rules the rest of the game relies on are checked every frame:
// the view inside the level, the item count never below zero, the run counters in range.

#include "require.h"
#include "world/effects.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"
#include "world/world_step.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kTitleFrames = 60;
constexpr int kMaxPlayFrames = 3000;
constexpr int kDefaultPlayFrames = 240;
constexpr int kLives = 3;
constexpr int kDeathWaitFrames = 60;  // frames the world goes on after a death
constexpr uint8_t kDefaultControls[] = {0x32, 0x76, 0x12, 0xF2, 0x04, 0x52, 0x31, 0x18};

enum : uint8_t { HOLD_LEFT = 1, HOLD_RIGHT = 2, HOLD_JUMP = 4, HOLD_DOWN = 8 };

void checkWorld(const world::PlayerState& player) {
    using namespace world;
    const int32_t lastCamera = levelMap.width * kTileSize - kViewWidth - 1;
    REQUIRE(life.cameraX >= 0 && life.cameraX <= lastCamera);
    REQUIRE(life.itemsLeft >= 0);
    REQUIRE(run.score >= 0 && run.score <= kMaxScore);
    REQUIRE(run.lives >= 0 && run.lives <= kMaxLives);
    REQUIRE(life.airLeft >= 0 && life.airLeft <= kMaxAir);
    if (player.alive && !player.dying) REQUIRE(player.x >= life.cameraX - 1);
}

// The controls of the frames to come, read from the bytes behind the grid.
class ControlScript {
  public:
    ControlScript(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {
        if (size_ == 0) {
            bytes_ = kDefaultControls;
            size_ = sizeof kDefaultControls;
            repeat_ = true;
        }
    }

    // False when the script has run out.
    bool next(world::Controls& c) {
        if (left_ == 0) {
            if (pos_ == size_) {
                if (!repeat_) return false;
                pos_ = 0;
            }
            current_ = bytes_[pos_++];
            left_ = (current_ >> 4) + 1;
        }
        --left_;
        c = {};
        c.left = current_ & HOLD_LEFT;
        c.right = !c.left && (current_ & HOLD_RIGHT);  // left wins, as in the input handling
        c.jump = current_ & HOLD_JUMP;
        c.down = current_ & HOLD_DOWN;
        return true;
    }
    bool repeats() const { return repeat_; }

  private:
    const uint8_t* bytes_;
    size_t size_;
    bool repeat_ = false;
    size_t pos_ = 0;
    int left_ = 0;
    uint8_t current_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    world::startRun(world::kTitleLevel);
    world::startLevel();
    world::PlayerState& player = world::life.player;  // each life starts it afresh

    // The title: the level scrolls by itself behind the menu, with no player.
    if (world::startLife(data, size, world::Arrival::Nobody) != world::LEVEL_OK) {
        world::freeLevel();
        return 0;
    }
    for (int frame = 0; frame < kTitleFrames; ++frame) {
        world::stepTitleFrame(player);
        checkWorld(player);
    }

    // A run of a few lives from the start of the level.
    world::startRun(1);
    world::startLevel();
    const size_t cellEnd = world::kLevelHeaderSize +
                           size_t(data[0] | data[1] << 8) * world::kMapRows + world::kMapRows;
    ControlScript controls(data + cellEnd, size - cellEnd);
    const int frameLimit = controls.repeats() ? kDefaultPlayFrames : kMaxPlayFrames;
    int frames = 0;
    bool scriptLeft = true;
    for (int life = 0; life < kLives && scriptLeft && frames < frameLimit; ++life) {
        // A level that cannot be played from the restart point ends the game there.
        if (world::startLife(data, size, world::Arrival::Player) != world::LEVEL_OK) break;
        checkWorld(player);
        int afterDeath = 0;
        world::Controls held;
        while (frames < frameLimit && afterDeath < kDeathWaitFrames && !player.reachedExit) {
            scriptLeft = controls.next(held);
            if (!scriptLeft) break;
            world::stepPlayFrame(player, held);
            checkWorld(player);
            ++frames;
            if (!player.alive) ++afterDeath;
        }
        if (player.reachedExit) break;
        --world::run.lives;
    }
    world::freeLevel();
    return 0;
}
