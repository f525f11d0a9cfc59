// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Tile effects. Each update writes one code into the effect's cell, chosen by the frames t
// since it started; the effect ends as it writes its last code. The effect table lists each
// type's codes, each written for the same number of frames, and the frame it ends on:
//   bricks and crumbling blocks: their four frames two updates each, then empty three times,
//   spike traps: 0, 87, then spikes 105 three times,
//   bump blocks: 80, 100, 120, then the block 20 three times,
//   trap doors: 89 for four updates, then 69,
//   checkpoints: 17 and 18 for six updates each, then 19 four times,
//   pick-ups: 0 at once.

#include "world/effects.h"
#include "world/lifetimes.h"

#include "world/tiles.h"

#include <algorithm>
#include <cstddef>

namespace world {

namespace {

constexpr size_t kMaxEffectCodes = 6;

// A row of the effect table: code i is written on updates i * framesEach up to the one
// before (i + 1) * framesEach; the update `frames` - 1 is the last, and writes the code its
// time gives.
struct EffectKind {
    EffectType type = EFFECT_NONE;
    int32_t framesEach = 1;
    int32_t frames = 1;
    std::array<TileCode, kMaxEffectCodes> codes{};
};

// clang-format off
constexpr std::array<EffectKind, 7> kEffectKinds = {{
    // A brick hit from below cracks, bursts and flies apart.
    {EFFECT_BRICK, 2, 11,
     {TILE_BREAK_FIRST, TILE_BREAK_2, TILE_BREAK_3, TILE_BREAK_LAST, TILE_EMPTY, TILE_EMPTY}},
    // A crumbling block stood on falls apart.
    {EFFECT_CRUMBLE, 2, 11,
     {TILE_CRUMBLE_FIRST, TILE_CRUMBLE_2, TILE_CRUMBLE_3, TILE_CRUMBLE_LAST, TILE_EMPTY,
      TILE_EMPTY}},
    // An armed spike trap stepped on springs its spikes.
    {EFFECT_SPIKE_TRAP, 2, 7, {TILE_EMPTY, TILE_SPIKE_TRAP, TILE_SPIKES, TILE_SPIKES}},
    // A bump block hit from below rises, stands at the top of its bump and settles.
    {EFFECT_BUMP, 2, 9,
     {TILE_BUMP_1, TILE_BUMP_2, TILE_BUMP_3, TILE_BUMP_BLOCK, TILE_BUMP_BLOCK}},
    // A trap door left behind swings shut.
    {EFFECT_TRAP_DOOR, 4, 5, {TILE_TRAP_DOOR_CLOSING, TILE_TRAP_DOOR_CLOSED}},
    // A checkpoint touched raises its flag.
    {EFFECT_CHECKPOINT, 6, 16, {TILE_CHECKPOINT, TILE_CHECKPOINT_TAKING, TILE_CHECKPOINT_TAKEN}},
    // An item or an extra life taken leaves its cell empty.
    {EFFECT_PICK_UP, 1, 1, {TILE_EMPTY}},
}};
// clang-format on

// Each type has one row, and its last update reads a code of the row.
constexpr bool effectKindsAreSound() {
    for (size_t i = 0; i < kEffectKinds.size(); ++i) {
        const EffectKind& kind = kEffectKinds[i];
        if (kind.type == EFFECT_NONE || kind.framesEach <= 0 || kind.frames <= 0 ||
            size_t((kind.frames - 1) / kind.framesEach) >= kMaxEffectCodes)
            return false;
        for (size_t j = 0; j < i; ++j)
            if (kEffectKinds[j].type == kind.type) return false;
    }
    return true;
}
static_assert(effectKindsAreSound(), "an effect row is missing its frames or stands twice");

// The code an effect writes at frame t, and whether it is its last.
struct EffectFrame {
    TileCode code = 0;
    bool last = true;
};

EffectFrame effectFrame(EffectType type, int32_t t) {
    for (const EffectKind& kind : kEffectKinds) {
        if (kind.type != type) continue;
        const int32_t step = std::clamp(t, 0, kind.frames - 1) / kind.framesEach;
        return {kind.codes[size_t(step)], t >= kind.frames - 1};
    }
    return {TILE_EMPTY, true};  // a type without a row ends at once, emptying its cell
}

}  // namespace

bool startTileEffect(int32_t x, int32_t y, EffectType type) {
    for (TileEffect& effect : life.tileEffects) {
        if (effect.active && effect.x == x && effect.y == y) {
            effect.t = 0;
            effect.type = type;
            return false;
        }
    }
    for (TileEffect& effect : life.tileEffects) {
        if (!effect.active) {
            effect = {x, y, 0, type, 1};
            return true;
        }
    }
    return false;
}

bool tileEffectAt(int32_t x, int32_t y) {
    for (const TileEffect& effect : life.tileEffects)
        if (effect.active && effect.x == x && effect.y == y) return true;
    return false;
}

void updateTileEffect(TileEffect& effect) {
    if (!effect.active) return;
    if (effect.type == EFFECT_NONE) {  // no sequence: nothing to write
        effect.active = 0;
        return;
    }
    const EffectFrame frame = effectFrame(effect.type, effect.t);
    ++effect.t;
    if (frame.last) effect.active = 0;
    setCell(effect.x >> 4, effect.y >> 4, frame.code);
}

}  // namespace world
