// One frame of an enemy, in this order: the frame counter; the horizontal step and the turn
// (an enemy reverses whenever either side is blocked after its step, also at the level's two
// ends); gravity for walkers and the landing snap for all; the contact with the player;
// the stun and dying timers; and the despawn when it is far from the view or below the level.
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

constexpr int32_t kHatGuySpeed = 2;
constexpr int32_t kWalkSpeed = 1;
constexpr int32_t kFlyerVy = 1;  // flyers and swimmers hold this vertical speed
constexpr int32_t kEnemyRestingVy = 3;
constexpr int32_t kLastBox = kTileSize - 1;
constexpr int32_t kStompReach = 15;  // a stomp comes from at most 15 pixels above
constexpr int32_t kKillAbove = 9;    // a touch kills from 9 pixels above
constexpr int32_t kKillBelow = 10;   // to 10 pixels below
constexpr int32_t kSquashedBlinkFrom = 63;
constexpr int32_t kHatGuyGetUpPicture = 186;  // frames stunned before it shows getting up

bool walks(EnemyType type) {
    switch (type) {
    case ENEMY_BLOB:
    case ENEMY_HOGLET:
    case ENEMY_HAT_GUY: return true;
    case ENEMY_NONE:
    case ENEMY_BAT:
    case ENEMY_DYING_BAT:
    case ENEMY_PIRANHA: return false;
    }
    return false;
}

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

void fall(EnemySlot& e) {
    if (walks(e.type)) {
        e.y += e.vy / 3;
        ++e.vy;
    } else {
        e.vy = kFlyerVy;
    }
    if (isSolidAt(e.x, e.y + kTileSize) || isSolidAt(e.x + kLastBox, e.y + kTileSize)) {
        e.vy = kEnemyRestingVy;
        e.y &= kCellMask;
    }
}

void stomp(EnemySlot& e, PlayerState& player) {
    switch (e.type) {
    case ENEMY_BLOB:
        e.dx = 0;
        e.counter = 0;
        audio::playSound(audio::SOUND_BLUBB);
        addScore(kStompPoints);
        break;
    case ENEMY_BAT:
        audio::playSound(audio::SOUND_BAT);
        e.counter = 0;
        e.dx = 0;
        e.type = ENEMY_DYING_BAT;
        addScore(kStompPoints);
        break;
    case ENEMY_HAT_GUY:
        audio::playSound(audio::SOUND_KLACK);
        e.savedDx = e.dx;
        e.counter = 0;
        e.dx = 0;
        if (++e.hits == 1) addScore(kStompPoints);
        break;
    case ENEMY_NONE:
    case ENEMY_HOGLET:
    case ENEMY_DYING_BAT:
    case ENEMY_PIRANHA: break;
    }
    player.bounce = 1;
}

void touchPlayer(EnemySlot& e, PlayerState& player) {
    if (!player.alive || player.dying || e.dx == 0) return;
    if (player.x < e.x - kLastBox || player.x > e.x + kTileSize) return;
    if (player.y < e.y && player.y >= e.y - kStompReach && player.vy > kStompSpeed && e.stompable) {
        stomp(e, player);
    } else if (player.y >= e.y - kKillAbove && player.y <= e.y + kKillBelow) {
        killPlayer(player, kEnemyDeathMessages[size_t(e.type)]);
        audio::playSound(audio::SOUND_AJ);  // two cries start together
    }
}

}  // namespace

bool spawnEnemy(int32_t x, int32_t y, EnemyType type) {
    for (EnemySlot& e : life.enemies) {
        if (e.active) continue;
        e = {};
        e.active = 1;
        e.x = x;
        e.y = y;
        e.type = type;
        e.dx = type == ENEMY_HAT_GUY ? -kHatGuySpeed : -kWalkSpeed;
        e.savedDx = type == ENEMY_HAT_GUY ? -kHatGuySpeed : 0;
        e.stompable = type == ENEMY_BLOB || type == ENEMY_BAT || type == ENEMY_HAT_GUY;
        return true;
    }
    return false;
}

void updateEnemy(EnemySlot& e, PlayerState& player, int32_t cameraX) {
    if (!e.active) return;
    ++e.counter;
    if (e.dx == 0) {
        if (e.type == ENEMY_BLOB && e.counter == kBlobGoneFrames) e.active = 0;
    } else {
        moveAndTurn(e);
    }
    fall(e);
    touchPlayer(e, player);

    if (e.counter > kHatGuyStunFrames && e.type == ENEMY_HAT_GUY && e.dx == 0) e.dx = -e.savedDx;
    if (e.counter >= kDyingBatFrames && e.type == ENEMY_DYING_BAT) e.active = 0;

    if (e.x + kDespawnBehind < cameraX || cameraX < e.x - kDespawnAhead || e.y > kDespawnBelowY)
        e.active = 0;
}

int32_t enemyFrame(const EnemySlot& e) {
    if (!e.active) return -1;
    switch (e.type) {
    case ENEMY_BLOB: {
        if (e.dx != 0) {
            constexpr std::array<int32_t, 4> kBlobWalk = {9, 10, 11, 10};
            return kBlobWalk[size_t((e.counter / 6) & 3)];
        }
        if (e.counter > kSquashedBlinkFrom && (e.counter & 8) == 0) return -1;
        return 12;
    }
    case ENEMY_HOGLET: return e.dx + 14 + ((e.counter & 15) >> 3);
    case ENEMY_BAT: {
        constexpr std::array<int32_t, 4> kBatFlap = {33, 57, 34, 57};
        return kBatFlap[size_t((e.counter / 6) & 3)];
    }
    case ENEMY_DYING_BAT: return e.counter / 4 + 35;
    case ENEMY_PIRANHA: return e.dx + 54 + ((e.counter / 15) & 1);
    case ENEMY_HAT_GUY:
        if (e.dx >= 1) return 121 + ((e.counter & 15) >> 2);
        if (e.dx == 0) return e.counter < kHatGuyGetUpPicture ? 125 : 126;
        return 144 - ((e.counter & 15) >> 2);
    case ENEMY_NONE: break;
    }
    return -1;
}

}  // namespace world
