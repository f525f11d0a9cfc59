// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One frame of an enemy, in this order: the frame counter; the horizontal step and the turn
// (an enemy reverses whenever either side is blocked after its step, also at the level's two
// ends); gravity for walkers and the landing snap for all; the contact with the player;
// the stun and dying timers; and the despawn when it is far from the view or below the level.
// Each kind's speed, motion, stomp rule, message and pictures are its row of the kind table.
//
// Contact needs a live player overlapping horizontally (x - 15 <= player.x <= x + 16). A
// player above the enemy by 1 to 15 pixels and falling faster than its resting speed stomps a
// stompable enemy and bounces; otherwise a player from 9 above to 10 below is killed. A player
// 10 to 15 pixels above who is not falling fast enough is neither.

#include "world/enemies.h"

#include "audio/sound.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tiles.h"

#include <cstdlib>

namespace world {

namespace {

constexpr int32_t kFlyerVy = 1;  // flyers and swimmers hold this vertical speed
constexpr int32_t kEnemyRestingVy = 3;
constexpr int32_t kLastBox = kTileSize - 1;
constexpr int32_t kStompReach = 15;         // a stomp comes from at most 15 pixels above
constexpr int32_t kKillAbove = 9;           // a touch kills from 9 pixels above
constexpr int32_t kKillBelow = 10;          // to 10 pixels below
constexpr int32_t kSquashedBlinkFrom = 63;  // a squashed enemy blinks from this frame on
constexpr int32_t kGettingUpFrom = 186;     // a stunned one shows getting up from this frame on

bool sideBlocked(int32_t edgeX, int32_t y, int32_t speed) {
    return isSolidAt(edgeX, y + 1) || isSolidAt(edgeX, y + kTileSize - speed);
}

void moveAndTurn(EnemySlot& e) {
    const int32_t levelWidth = levelMap.width * kTileSize;
    const int32_t speed = std::abs(e.dx);
    if (e.dx > 0) {
        if (e.x + kTileSize >= 0 && e.x + kTileSize < levelWidth &&
            !sideBlocked(e.x + kTileSize, e.y, speed))
            e.x += e.dx;
    } else if (!sideBlocked(e.x - 1, e.y, speed)) {
        e.x += e.dx;
    }
    if (e.x + kTileSize < 0 || e.x + kTileSize >= levelWidth ||
        sideBlocked(e.x + kTileSize, e.y, speed) || sideBlocked(e.x - 1, e.y, speed))
        e.dx = -e.dx;
}

void fall(EnemySlot& e, const EnemyKind& kind) {
    switch (kind.motion) {
    case MOTION_WALK:
        e.y += e.vy / 3;
        ++e.vy;
        break;
    case MOTION_FLY:
    case MOTION_SWIM: e.vy = kFlyerVy; break;
    }
    if (isSolidAt(e.x, e.y + kTileSize) || isSolidAt(e.x + kLastBox, e.y + kTileSize)) {
        e.vy = kEnemyRestingVy;
        e.y &= kCellMask;
    }
}

void scoreStomp(const EnemyKind& kind) {
    if (kind.points > 0) addScore(kind.points);
}

void stomp(EnemySlot& e, const EnemyKind& kind, PlayerState& player) {
    switch (kind.stomp) {
    case STOMP_SQUASH:
        e.dx = 0;
        e.counter = 0;
        audio::playSound(kind.stompSound);
        scoreStomp(kind);
        break;
    case STOMP_DIE:
        audio::playSound(kind.stompSound);
        e.counter = 0;
        e.dx = 0;
        e.type = kind.dying;
        scoreStomp(kind);
        break;
    case STOMP_STUN:
        audio::playSound(kind.stompSound);
        e.savedDx = e.dx;
        e.counter = 0;
        e.dx = 0;
        if (++e.hits == 1) scoreStomp(kind);
        break;
    case STOMP_NONE: break;
    }
    player.bounce = 1;
}

void touchPlayer(EnemySlot& e, const EnemyKind& kind, PlayerState& player) {
    if (!player.alive || player.dying || e.dx == 0) return;
    if (player.x < e.x - kLastBox || player.x > e.x + kTileSize) return;
    if (player.y < e.y && player.y >= e.y - kStompReach && player.vy > kStompSpeed && e.stompable) {
        stomp(e, kind, player);
    } else if (player.y >= e.y - kKillAbove && player.y <= e.y + kKillBelow) {
        killPlayer(player, kind.deathMessage);
        audio::playSound(audio::SOUND_AJ);  // two cries start together
    }
}

// A stunned enemy gets up and walks off the other way; a kind with a life span ends.
void runTimers(EnemySlot& e, const EnemyKind& kind) {
    switch (kind.stomp) {
    case STOMP_STUN:
        if (e.counter > kind.stoppedFrames && e.dx == 0) e.dx = -e.savedDx;
        break;
    case STOMP_NONE:
    case STOMP_SQUASH:
    case STOMP_DIE: break;
    }
    if (kind.lifeFrames > 0 && e.counter >= kind.lifeFrames) e.active = 0;
}

}  // namespace

bool spawnEnemy(int32_t x, int32_t y, EnemyType type) {
    const EnemyKind& kind = enemyKind(type);
    for (EnemySlot& e : life.enemies) {
        if (e.active) continue;
        e = {};
        e.active = 1;
        e.x = x;
        e.y = y;
        e.type = type;
        e.dx = -kind.speed;
        e.savedDx = kind.stomp == STOMP_STUN ? -kind.speed : 0;
        e.stompable = kind.stomp != STOMP_NONE;
        return true;
    }
    return false;
}

void updateEnemy(EnemySlot& e, PlayerState& player, int32_t cameraX) {
    if (!e.active) return;
    const EnemyKind& kind = enemyKind(e.type);
    ++e.counter;
    if (e.dx == 0) {
        if (kind.stomp == STOMP_SQUASH && e.counter == kind.stoppedFrames) e.active = 0;
    } else {
        moveAndTurn(e);
    }
    fall(e, kind);
    touchPlayer(e, kind, player);
    runTimers(e, enemyKind(e.type));  // a stomp may have changed the kind

    if (e.x + kDespawnBehind < cameraX || cameraX < e.x - kDespawnAhead || e.y > kDespawnBelowY)
        e.active = 0;
}

int32_t enemyFrame(const EnemySlot& e) {
    if (!e.active) return kNoPicture;
    const EnemyKind& kind = enemyKind(e.type);
    if (e.dx == 0) {
        switch (kind.stomp) {
        case STOMP_SQUASH:
            if (e.counter > kSquashedBlinkFrom && (e.counter & 8) == 0) return kNoPicture;
            return kind.stopped;
        case STOMP_STUN: return e.counter < kGettingUpFrom ? kind.stopped : kind.gettingUp;
        case STOMP_NONE:
        case STOMP_DIE: break;
        }
    }
    const EnemyCycle& cycle = e.dx > 0 ? kind.right : kind.left;
    return cycle[size_t(e.counter / kind.period) % kEnemyCycle];
}

}  // namespace world
