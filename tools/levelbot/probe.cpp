// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The breadth-first look at a spot without enemies. A visited state is the hero's position,
// speed, jump latch and trap door, together with the world it is in; worlds are kept once
// each and told apart by the view, the item count, the running tile effects and the cells
// around the view, so most steps stay in the world they came from.

#include "probe.h"

#include "world/lifetimes.h"
#include "world_copy.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace levelbot {

namespace {

constexpr int64_t kMostWorlds = 2000;  // snapshots kept before giving up
constexpr int32_t kFurthestRight =
    world::kViewWidth;  // no need to wander further right of the target

// Every combination a frame may hold: left and right never together.
constexpr std::array<world::Controls, 12> kEveryCombination = {{
    {false, false, false, false},
    {false, true, false, false},
    {true, false, false, false},
    {false, false, true, false},
    {false, true, true, false},
    {true, false, true, false},
    {false, false, false, true},
    {false, true, false, true},
    {true, false, false, true},
    {false, false, true, true},
    {false, true, true, true},
    {true, false, true, true},
}};

// Worlds are told apart by the cells of the stretch the look covers, the running tile
// effects and the item count, not by the view: a world keeps the view of the first state
// that came into it. The hero may then step a little further left than the view would let
// it, never less far, so a "no" still holds.
uint64_t worldKey(const GridWindow& stretch) {
    KeyHasher h;
    h.add(world::life.itemsLeft);
    for (const world::TileEffect& effect : world::life.tileEffects)
        if (effect.active)
            h.add(int64_t(effect.x) << 32 | int64_t(effect.y) << 8 | effect.type << 5 | effect.t);
    const world::TileCode* cells = world::levelMap.cells.get() + stretch.first;
    for (size_t i = 0; i < stretch.count; ++i) h.add(cells[i]);
    return h.value();
}

uint64_t stateKey(const world::PlayerState& p, int32_t worldIndex) {
    KeyHasher h;
    h.add(p.x);
    h.add(p.y);
    h.add(p.vy);
    h.add(p.jumpLatched);
    h.add(p.onTrapDoor ? (int64_t(p.trapDoorX) << 16 | p.trapDoorY) : -1);
    h.add(worldIndex);
    return h.value();
}

}  // namespace

Reach reachWithoutEnemies(const world::WorldSnapshot& start, const world::PlayerState& player,
                          int32_t column, int32_t row, bool corner, int64_t maxStates) {
    auto there = [&](const world::PlayerState& p) {
        const int32_t offset = corner ? 0 : world::kTileSize / 2;
        return ((p.x + offset) >> 4) == column && ((p.y + offset) >> 4) == row;
    };
    if (there(player)) return Reach::Yes;

    world::restoreWorld(start);
    world::life.enemies = {};
    world::life.timeLeft = world::kLifeFrames;  // time and air are no question here
    world::life.airLeft = world::kMaxAir;
    const int32_t furthest = column * world::kTileSize + kFurthestRight;
    const int32_t firstColumn = std::max((world::life.cameraX >> 4) - 2, 0);
    const int32_t lastColumn = std::min((furthest >> 4) + 2, world::levelMap.width);
    const GridWindow stretch{size_t(firstColumn) * world::kMapRows,
                             size_t(std::max(lastColumn - firstColumn, 0)) * world::kMapRows};
    std::vector<world::WorldSnapshot> worlds;
    worlds.push_back(world::saveWorld());
    std::vector<uint64_t> worldKeys{worldKey(stretch)};
    std::unordered_map<uint64_t, int32_t> worldOf{{worldKeys[0], 0}};

    struct Node {
        world::PlayerState player;
        int32_t world = 0;
    };
    std::deque<Node> queue{{player, 0}};
    std::unordered_set<uint64_t> seen{stateKey(player, 0)};
    int32_t loaded = 0;  // the world in the grid before the last step
    world::restoreWorld(worlds[0]);
    GridWindow window = stepWindow(1);
    while (!queue.empty()) {
        const Node node = queue.front();
        queue.pop_front();
        for (const world::Controls& controls : kEveryCombination) {
            if (loaded == node.world) {
                undoStep(worlds[size_t(node.world)], window);
            } else {
                world::restoreWorld(worlds[size_t(node.world)]);
                window = stepWindow(1);
                loaded = node.world;
            }
            world::PlayerState p = node.player;
            world::stepPlayFrame(p, controls);
            world::life.enemies = {};  // those of the columns that came into view
            if (!p.alive || p.dying || p.x > furthest) continue;
            if (there(p)) return Reach::Yes;

            int32_t index = node.world;
            const uint64_t key = worldKey(stretch);
            if (key != worldKeys[size_t(index)]) {
                const auto [at, added] = worldOf.try_emplace(key, int32_t(worlds.size()));
                if (added) {
                    if (int64_t(worlds.size()) >= kMostWorlds) return Reach::Unknown;
                    world::life.timeLeft = world::kLifeFrames;
                    world::life.airLeft = world::kMaxAir;
                    worlds.push_back(world::saveWorld());
                    worldKeys.push_back(key);
                }
                index = at->second;
            }
            if (!seen.insert(stateKey(p, index)).second) continue;
            if (int64_t(seen.size()) > maxStates) return Reach::Unknown;
            queue.push_back({p, index});
        }
    }
    return Reach::No;
}

}  // namespace levelbot
