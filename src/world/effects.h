// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Tile effects animate one map cell through a fixed sequence of codes: a brick breaking, a
// block crumbling, a bumped block, a spike trap springing, a trap door closing, a checkpoint
// being taken, a pick-up vanishing. They are the only way the grid changes over time.
//
// Sixteen slots; each update writes one code into the cell and the last code ends the effect.
// Starting an effect where one already runs restarts that one with the new type.

#include <array>
#include <cstdint>

namespace world {

enum EffectType : int32_t {
    EFFECT_NONE = 0,
    EFFECT_BRICK = 1,       // 200, 200, 201, 201, 202, 202, 203, 203, 0, 0, 0
    EFFECT_CRUMBLE = 2,     // 180, 180, 181, 181, 182, 182, 183, 183, 0, 0, 0
    EFFECT_SPIKE_TRAP = 4,  // 0, 0, 87, 87, 105, 105, 105
    EFFECT_BUMP = 5,        // 80, 80, 100, 100, 120, 120, 20, 20, 20
    EFFECT_TRAP_DOOR = 6,   // 89, 89, 89, 89, 69
    EFFECT_CHECKPOINT = 7,  // 17 six times, 18 six times, 19 four times
    EFFECT_PICK_UP = 8,     // 0
};

struct TileEffect {
    int32_t x = 0;  // pixel position of the animated cell (a cell's top-left)
    int32_t y = 0;
    int32_t t = 0;  // updates since the effect started or was restarted
    EffectType type = EFFECT_NONE;
    int32_t active = 0;  // 1 while it runs; 0 = free slot

    bool operator==(const TileEffect&) const = default;
};

constexpr int kTileEffectSlots = 16;

// Restarts an active effect at exactly (x, y) with the new type (false), or starts one in the
// first free slot (true); false and nothing happens when the table is full. Callers play
// their sound only on true.
bool startTileEffect(int32_t x, int32_t y, EffectType type);
// Whether an active effect animates the cell at exactly (x, y).
bool tileEffectAt(int32_t x, int32_t y);
// One frame of one effect: writes its code for the current t into its cell and ends it after
// the last code.
void updateTileEffect(TileEffect& effect);

}  // namespace world
