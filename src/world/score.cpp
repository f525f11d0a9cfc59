// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Points, lives and items. Every source of points goes through addScore, so the cap and the
// extra life for each new hundred hold for bricks, items, stomps and the level-end bonuses
// alike.

#include "world/score.h"

#include "audio/sound.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/tiles.h"

namespace world {

namespace {

constexpr int32_t kPointsPerLife = 100;

}  // namespace

void addScore(int32_t n) {
    if (run.score >= kMaxScore) return;
    const int32_t old = run.score;
    run.score = old + n;
    if (run.score > kMaxScore) run.score = kMaxScore;
    if (run.score / kPointsPerLife > old / kPointsPerLife && run.lives < kMaxLives) {
        audio::playSound(audio::SOUND_TADA);
        ++run.lives;
    }
}

void collectItem(PlayerState& player) {
    addScore(kItemPoints);
    --life.itemsLeft;
    if (life.itemsLeft != 0) return;
    audio::playSound(audio::SOUND_KLACK);
    setDoor(DOOR_OPEN);
    player.forgotItems = 0;
}

void grantExtraLife() {
    if (run.lives > kMaxLives - 1) return;
    audio::playSound(audio::SOUND_TADA);
    ++run.lives;
}

}  // namespace world
