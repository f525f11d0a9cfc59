// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's frame, step by step: walk (2 pixels, 1 with down held or from an odd x), the
// walking pictures, jump and gravity, the landing snap, the tile contacts (door, spikes, trap
// doors, spike traps, pick-ups, checkpoints, head bumps, crumbling floors), the end of the
// jump latch and the forward scrolling of the view. Then, every call: falling out of the
// level, and the dying hop.
//
// Tile contacts are read at single probe pixels of the box. Positions handed to tile effects
// are the probe pixel with its low four bits cleared, the top-left of the probed cell.

#include "world/player.h"

#include "audio/sound.h"
#include "world/effects.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/score.h"
#include "world/tiles.h"

namespace world {

namespace {

constexpr int32_t kFastStep = 2;
constexpr int32_t kSlowStep = 1;
constexpr int32_t kWalkFrameTicks = 3;  // frames per walking picture
constexpr int32_t kStepFrames = 4;      // four walking pictures each way
constexpr int32_t kScrollFar = 230;     // beyond this far into the view it scrolls 2 pixels
constexpr int32_t kScrollNear = 200;    // beyond this 1 pixel
constexpr int32_t kAirRefill = 2;
constexpr int32_t kLastBox = kTileSize - 1;  // the box's far edge, 15 pixels from its corner
constexpr int32_t kMid = kTileSize / 2;
constexpr int32_t kCheckpointProbe = 14;  // the checkpoint is felt just above the feet

int32_t cellOf(int32_t pixel) { return pixel & kCellMask; }

bool feetOnSolid(int32_t x, int32_t y) {
    return isSolidAt(x, y + kTileSize) || isSolidAt(x + kLastBox, y + kTileSize);
}

void walk(PlayerState& p, bool left, bool right, bool down, int32_t cameraX) {
    int32_t step = down ? kSlowStep : kFastStep;
    if (p.x & 1) step = kSlowStep;  // brings x back to even values
    if (right && !isSolidAt(p.x + kTileSize, p.y + 1) &&
        !isSolidAt(p.x + kTileSize, p.y + kTileSize - step))
        p.x += step;
    if (left && p.x > cameraX && !isSolidAt(p.x - 1, p.y + 1) &&
        !isSolidAt(p.x - 1, p.y + kTileSize - step))
        p.x -= step;
}

void animate(PlayerState& p, bool left, bool right) {
    if (right) {
        ++p.walkCounter;
        p.frame = ((p.walkCounter / kWalkFrameTicks) & (kStepFrames - 1)) + kFrameWalkRight;
    }
    if (left) {
        --p.walkCounter;
        p.frame = ((p.walkCounter / kWalkFrameTicks) & (kStepFrames - 1)) + kFrameWalkLeft;
    }
    if (left || right) {
        p.idleCounter = 0;
        return;
    }
    ++p.idleCounter;
    if (p.idleCounter <= kIdleRestFrames) {
        if (p.frame >= kFrameWalkRight && p.frame < kFrameWalkRight + kStepFrames)
            p.frame = kFrameStandRight;
        else if (p.frame >= kFrameWalkLeft && p.frame < kFrameWalkLeft + kStepFrames)
            p.frame = kFrameStandLeft;
    } else {
        p.frame = kFrameRest;
        p.walkCounter = 0;
    }
}

void jumpAndFall(PlayerState& p, bool jump) {
    const int32_t y0 = p.y;
    int32_t step;
    if (jump && !p.jumpLatched) {
        if (feetOnSolid(p.x, y0) || p.bounce) {
            p.vy = kJumpSpeed;
            p.jumpLatched = 1;
            p.bounce = 0;
        }
        step = p.vy / 4;
    } else if (p.bounce) {
        p.vy = kBounceSpeed;
        p.bounce = 0;
        step = -1;
    } else {
        step = p.vy / 4;
    }
    p.y = y0 + step;
    ++p.vy;
}

void land(PlayerState& p) {
    if (p.x < 0 || p.x >= levelMap.width * kTileSize || feetOnSolid(p.x, p.y)) {
        p.vy = kRestingSpeed;
        p.y &= kCellMask;
    }
}

void touchDoor(PlayerState& p) {
    if (cellAt(p.x, p.y) == TILE_DOOR_BOTTOM_RIGHT) p.reachedExit = 1;
    if (cellAt(p.x, p.y) == TILE_CLOSED_DOOR_BOTTOM_RIGHT) p.forgotItems = 1;
}

void touchSpikes(PlayerState& p) {
    if (isSpikeAt(p.x, p.y) || isSpikeAt(p.x + kLastBox, p.y) ||
        isSpikeAt(p.x + kLastBox, p.y + kLastBox) || isSpikeAt(p.x, p.y + kLastBox))
        killPlayer(p, kImpaled);
}

// A trap door closes behind the player as soon as it no longer overlaps it at mid-height; of
// a run of trap doors only the last one overlapped closes.
void touchTrapDoor(PlayerState& p) {
    const bool leftOnIt = cellAt(p.x, p.y + kMid) == TILE_TRAP_DOOR_OPEN;
    const bool onIt = leftOnIt || cellAt(p.x + kLastBox, p.y + kMid) == TILE_TRAP_DOOR_OPEN;
    if (p.onTrapDoor && !onIt && startTileEffect(p.trapDoorX, p.trapDoorY, EFFECT_TRAP_DOOR))
        audio::playSound(audio::SOUND_TRDOOR);
    p.onTrapDoor = onIt;
    if (onIt) {
        p.trapDoorX = cellOf(leftOnIt ? p.x : p.x + kLastBox);
        p.trapDoorY = cellOf(p.y + kMid);
    }
}

void touchSpikeTrap(const PlayerState& p) {
    const int32_t x = p.x + kMid, y = p.y + kLastBox;
    if (cellAt(x, y) == TILE_SPIKE_TRAP_ARMED &&
        startTileEffect(cellOf(x), cellOf(y), EFFECT_SPIKE_TRAP))
        audio::playSound(audio::SOUND_BOINK);
}

void touchPickUps(PlayerState& p) {
    const int32_t x = p.x + kMid, y = p.y + kMid;
    if (cellAt(x, y) == TILE_EXTRA_LIFE && startTileEffect(cellOf(x), cellOf(y), EFFECT_PICK_UP))
        grantExtraLife();
    if (cellAt(x, y) == TILE_ITEM) {
        bool taken = startTileEffect(cellOf(x), cellOf(y), EFFECT_PICK_UP);
        // With every effect slot busy no effect can clear the item, and it would be counted
        // again each frame: take it off the grid at once instead.
        if (!taken && !tileEffectAt(cellOf(x), cellOf(y))) {
            setCell(x >> 4, y >> 4, TILE_EMPTY);
            taken = true;
        }
        if (taken) audio::playSound(audio::SOUND_CHEW);
        collectItem(p);
    }
}

// While the player stays on a checkpoint its effect restarts every frame; the animation runs
// through only after the player has left it.
void touchCheckpoint(PlayerState& p) {
    const int32_t x = p.x + kMid, y = p.y + kCheckpointProbe;
    if (cellAt(x, y) != TILE_CHECKPOINT) return;
    level.restartY = cellOf(y);
    level.restartX = cellOf(x);
    if (startTileEffect(level.restartX, level.restartY, EFFECT_CHECKPOINT))
        audio::playSound(audio::SOUND_KNIRK);
}

void touchHead(PlayerState& p) {
    if (!isSolidAt(p.x, p.y) && !isSolidAt(p.x + kLastBox, p.y)) return;
    const int32_t x = p.x + kMid, y = p.y;
    const TileCode code = cellAt(x, y);
    if (code == TILE_BRICK) {
        if (startTileEffect(cellOf(x), cellOf(y), EFFECT_BRICK))
            audio::playSound(audio::SOUND_KRACK);
        addScore(kBrickPoints);
    } else if (code == TILE_BUMP_BLOCK) {
        if (startTileEffect(cellOf(x), cellOf(y), EFFECT_BUMP))
            audio::playSound(audio::SOUND_KLONK);
    }
    p.vy = kRestingSpeed;
    p.y = (p.y + kLastBox) & kCellMask;
}

void crumbleAt(int32_t x, int32_t y) {
    if (cellAt(x, y) == TILE_CRUMBLING) startTileEffect(cellOf(x), cellOf(y), EFFECT_CRUMBLE);
}

void touchFloor(const PlayerState& p) {
    const int32_t y = p.y + kTileSize;
    crumbleAt(p.x + kMid, y);
    if (!isSolidAt(p.x + kMid, y)) {
        crumbleAt(p.x, y);
        crumbleAt(p.x + kLastBox, y);
    }
}

void touchTiles(PlayerState& p) {
    touchDoor(p);
    touchSpikes(p);
    touchTrapDoor(p);
    touchSpikeTrap(p);
    touchPickUps(p);
    touchCheckpoint(p);
    touchHead(p);
    touchFloor(p);
}

void followWithView(const PlayerState& p, int32_t cameraX) {
    if (p.x > cameraX + kScrollFar) scrollView(2);
    else if (p.x > cameraX + kScrollNear) scrollView(1);
}

}  // namespace

bool placePlayer(PlayerState& player) {
    const std::optional<int32_t> y = restingY(level.restartX, level.restartY);
    if (!y) return false;
    player = {};
    player.x = level.restartX;
    player.y = *y;
    player.alive = 1;
    player.frame = kFrameRest;
    return true;
}

void updatePlayer(PlayerState& player, const Controls& controls, int32_t cameraX) {
    PlayerState& p = player;
    if (p.alive && !p.dying) {
        walk(p, controls.left, controls.right, controls.down, cameraX);
        animate(p, controls.left, controls.right);
        jumpAndFall(p, controls.jump);
        land(p);
        if (p.y >= 0 && p.y < kPlayfieldHeight) touchTiles(p);
        if (!controls.jump) p.jumpLatched = 0;
        followWithView(p, cameraX);
    }

    if (!p.dying && p.alive && p.y >= kFallOutY) killPlayerAtOnce(p, kFellToDeath);
    if (p.dying) {
        p.y += p.vy / 4;
        --p.x;
        ++p.vy;
        if (p.y > kDyingEndY) p.alive = 0;
    }
}

void updateTimeAndAir(PlayerState& player) {
    --life.timeLeft;
    if (life.timeLeft <= 0) killPlayerAtOnce(player, kTimeUp);

    if (isWaterAt(player.x, player.y)) {
        --life.airLeft;
        if (life.airLeft <= 0) killPlayerAtOnce(player, kDrowned);
        if (!player.splashed && player.alive && !player.dying) {
            audio::playSound(audio::SOUND_SPLASH);
            player.splashed = 1;
        }
    } else {
        if (life.airLeft <= kMaxAir - kAirRefill) life.airLeft += kAirRefill;
        player.splashed = 0;
    }
}

void killPlayer(PlayerState& player, std::string_view message) {
    player.dying = 1;
    player.idleCounter = 0;
    life.deathMessage = message;
    audio::playSound(audio::SOUND_AJ);
    player.vy = kDyingHopSpeed;
}

void killPlayerAtOnce(PlayerState& player, std::string_view message) {
    player.alive = 0;
    player.idleCounter = kDeathWaitFrames;
    life.deathMessage = message;
}

}  // namespace world
