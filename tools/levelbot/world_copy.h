// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Copies of the world for searches that try many futures of one moment: snapshots refilled
// in place, steps undone by copying back only the part of the grid a step can change, and a
// hash of the cells around the view.

#include "world/world_step.h"

#include <cstddef>
#include <cstdint>

namespace levelbot {

// Mixes values into a 64-bit hash.
class KeyHasher {
  public:
    void add(int64_t value) {
        hash_ ^= uint64_t(value) + 0x9e3779b97f4a7c15ull + (hash_ << 6) + (hash_ >> 2);
    }
    uint64_t value() const {
        uint64_t z = hash_ + 0x9e3779b97f4a7c15ull;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }

  private:
    uint64_t hash_ = 0;
};

// A run of cells of the grid, by cell index.
struct GridWindow {
    size_t first = 0;
    size_t count = 0;
};

// The cells a step of `frames` frames can change: from a little left of the view (tile effects
// still running where the hero was) to the column scanned for enemies once the view has
// scrolled as far as the step can scroll it. Nothing else of the grid changes in a step but
// the door.
GridWindow stepWindow(int32_t frames);
// Puts the world back as the snapshot holds it, after a step played from it: the step's
// window of the grid, the door and the records.
void undoStep(const world::WorldSnapshot& snapshot, const GridWindow& window);
// saveWorld into a snapshot that may already hold a grid of the right size, without making a
// new one.
void saveWorldInto(world::WorldSnapshot& snapshot);
// A hash of the cells from two columns left of the view to four right of it.
uint64_t viewCellsHash();

}  // namespace levelbot
