// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The counters of a run and the one rule for points and lives: points stop at 9999, and each
// new hundred reached gives an extra life, one per addition however many hundreds it passes,
// up to 99 lives. Items are the collectibles: when the last counted one is taken the exit
// door opens.

#include <cstdint>
#include <string_view>

namespace world {

struct PlayerState;

constexpr int32_t kMaxScore = 9999;
constexpr int32_t kMaxLives = 99;
constexpr int32_t kStartLives = 6;
constexpr int32_t kLifeFrames = 7000;  // frames a life may last
constexpr int32_t kMaxAir = 500;       // frames of air
constexpr int32_t kItemPoints = 1;
constexpr int32_t kBrickPoints = 1;
constexpr int32_t kStompPoints = 3;

// Adds n >= 1 points: nothing at 9999, capped at 9999, one extra life (with its sound) when
// the hundreds went up and fewer than 99 lives are left.
void addScore(int32_t n);
// One item taken: a point, one item less, and the door opens (clearing the forgotten-items
// reminder) when the count reaches exactly 0.
void collectItem(PlayerState& player);
// One more life with its sound, unless there are 99 already.
void grantExtraLife();

}  // namespace world
