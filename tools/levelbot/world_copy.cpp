// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Copies of the world and the hash of the cells around the view.

#include "world_copy.h"
#include "world/lifetimes.h"

#include <algorithm>
#include <array>

namespace levelbot {

namespace {

constexpr int32_t kViewColumns = world::kViewWidth / world::kTileSize;
constexpr int32_t kHashColumns = kViewColumns + 6;  // two left of the view, four right of it
constexpr int32_t kScrollPerFrame = 2;              // the most the view scrolls in a frame

// Two sets of odd 32-bit weights for the cells around the view: two weighted sums of 32 bits,
// which the compiler can take many cells at a time.
constexpr size_t kWindowCells = size_t(kHashColumns) * world::kMapRows;
using CellWeights = std::array<uint32_t, kWindowCells>;
constexpr CellWeights cellWeights(uint64_t seed) {
    CellWeights weights{};
    for (uint32_t& w : weights) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        w = uint32_t(seed >> 16) | 1;
    }
    return weights;
}
constexpr CellWeights kCellWeightsA = cellWeights(0x243f6a8885a308d3ull);
constexpr CellWeights kCellWeightsB = cellWeights(0x13198a2e03707344ull);

}  // namespace

GridWindow stepWindow(int32_t frames) {
    constexpr int32_t kBehind = 4 * world::kTileSize;
    constexpr int32_t kAhead = world::kViewWidth + 3 * world::kTileSize;
    int32_t left = world::life.cameraX - kBehind;
    for (const world::TileEffect& effect : world::life.tileEffects)
        if (effect.active) left = std::min(left, effect.x);
    const int32_t right = world::life.cameraX + kAhead + kScrollPerFrame * frames;
    const int32_t first = std::clamp(left >> 4, 0, world::levelMap.width);
    const int32_t last = std::clamp((right >> 4) + 1, first, world::levelMap.width);
    return {size_t(first) * world::kMapRows, size_t(last - first) * world::kMapRows};
}

void undoStep(const world::WorldSnapshot& snapshot, const GridWindow& window) {
    std::copy_n(snapshot.cells.get() + window.first, window.count,
                world::levelMap.cells.get() + window.first);
    const int32_t cellCount = world::levelMap.width * world::kMapRows;
    const int32_t door = snapshot.life.doorCell;
    for (int32_t cell : {door, door + 1, door + world::kMapRows, door + world::kMapRows + 1})
        if (cell >= 0 && cell < cellCount)
            world::levelMap.cells[size_t(cell)] = snapshot.cells[size_t(cell)];
    world::run = snapshot.run;
    world::level = snapshot.level;
    world::life = snapshot.life;
}

void saveWorldInto(world::WorldSnapshot& snapshot) {
    if (!snapshot.cells || snapshot.width != world::levelMap.width) {
        snapshot = world::saveWorld();
        return;
    }
    std::copy_n(world::levelMap.cells.get(), size_t(world::levelMap.width) * world::kMapRows,
                snapshot.cells.get());
    snapshot.run = world::run;
    snapshot.level = world::level;
    snapshot.life = world::life;
}

uint64_t viewCellsHash() {
    const int32_t first = std::max((world::life.cameraX >> 4) - 2, 0);
    const int32_t last = std::min(first + kHashColumns, world::levelMap.width);
    const world::TileCode* cells = world::levelMap.cells.get() + size_t(first) * world::kMapRows;
    const size_t count = size_t(std::max(last - first, 0)) * world::kMapRows;
    uint32_t sumA = 0, sumB = 0;
    for (size_t i = 0; i < count; ++i) {
        sumA += uint32_t(cells[i]) * kCellWeightsA[i];
        sumB += uint32_t(cells[i]) * kCellWeightsB[i];
    }
    return uint64_t(sumA) << 32 | sumB;
}

}  // namespace levelbot
