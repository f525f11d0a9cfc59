// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The coarse map of where the hero can go. Costs are frames: walking one cell takes 8 (2
// pixels a frame), rising one cell about 5, falling one about 4, a diagonal step 8. Breaking
// through a brick costs a bump, the wait while it breaks and a second jump; falling through a
// crumbling block the wait while it crumbles. Spike traps are closed: they spring under a hero
// who walks into them, so the map goes over them.

#include "nav.h"

#include "world/level.h"
#include "world/tiles.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace levelbot {

namespace {

constexpr int32_t kWalkCost = 8;
constexpr int32_t kRiseCost = 5;
constexpr int32_t kFallCost = 4;
constexpr int32_t kDiagonalCost = 8;
constexpr int32_t kBreakCost = 30;
constexpr int32_t kCrumbleCost = 14;
constexpr int32_t kNoFlight = 1 << 18;  // no way even flying

struct Edge {
    int32_t from;
    int32_t to;
    int32_t cost;
};

// The code the rules see for a cell, rows above the screen reading row 0.
world::TileCode codeOf(int32_t column, int32_t row) {
    return world::cellOfGrid(column, std::max(row, 0));
}

NavCell cellKind(world::TileCode code, int32_t row) {
    if (row >= 0 && code == world::TILE_BRICK) return NAV_BRICK;
    if (row >= 0 && code == world::TILE_CRUMBLING) return NAV_CRUMBLING;
    if (world::isSolidCode(code)) return NAV_CLOSED;
    if (row < 0) return NAV_OPEN;  // no spikes above the screen
    const bool deadly = world::isSpikeCode(code) || code == world::TILE_SPIKE_TRAP_ARMED ||
                        code == world::TILE_SPIKE_TRAP;
    return deadly ? NAV_CLOSED : NAV_OPEN;
}

// A rise into (column, row): into open air, or through a brick right above.
void addRise(const NavMap& map, std::vector<Edge>& edges, int32_t from, int32_t column, int32_t row,
             int32_t budget) {
    if (map.cellAt(column, row) == NAV_BRICK)
        edges.push_back({from, map.node(column, row, budget), kBreakCost});
    else if (map.isOpen(column, row))
        edges.push_back({from, map.node(column, row, budget), kRiseCost});
}

// A step into (column, row) with the budget left; standing cells give the full budget back.
void addStep(const NavMap& map, std::vector<Edge>& edges, int32_t from, int32_t column, int32_t row,
             int32_t budget, int32_t cost) {
    if (!map.isOpen(column, row)) return;
    edges.push_back({from, map.node(column, row, budget), cost});
}

// A diagonal step must not cut a solid corner: one of the two cells beside it is open.
void addDiagonal(const NavMap& map, std::vector<Edge>& edges, int32_t from, int32_t column,
                 int32_t row, int32_t dc, int32_t dr, int32_t budget) {
    if (!map.isOpen(column + dc, row) && !map.isOpen(column, row + dr)) return;
    addStep(map, edges, from, column + dc, row + dr, budget, kDiagonalCost);
}

// Frames from every cell to the target cell moving freely through the cells that are not
// closed, a walking step's cost per cell; kNoFlight where even that finds no way.
std::vector<int32_t> flyingFrames(const NavMap& map, int32_t column, int32_t row) {
    std::vector<int32_t> frames(size_t(map.width) * kNavRows, kNoFlight);
    std::vector<std::pair<int32_t, int32_t>> queue;
    if (column < 0 || column >= map.width || row < -kNavRowsAbove || row >= world::kMapRows)
        return frames;
    frames[size_t(column * kNavRows + row + kNavRowsAbove)] = 0;
    queue.push_back({column, row});
    for (size_t at = 0; at < queue.size(); ++at) {
        const auto [c, r] = queue[at];
        const int32_t next = frames[size_t(c * kNavRows + r + kNavRowsAbove)] + kWalkCost;
        for (const auto& [dc, dr] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            if (map.cellAt(c + dc, r + dr) == NAV_CLOSED) continue;
            int32_t& there = frames[size_t((c + dc) * kNavRows + r + dr + kNavRowsAbove)];
            if (there <= next) continue;
            there = next;
            queue.push_back({c + dc, r + dr});
        }
    }
    return frames;
}

}  // namespace

int32_t NavMap::node(int32_t column, int32_t row, int32_t budget) const {
    if (isStanding(column, row)) budget = kRiseBudget;
    return ((column * kNavRows) + row + kNavRowsAbove) * kNavBudgets + budget;
}

NavCell NavMap::cellAt(int32_t column, int32_t row) const {
    if (column < 0 || column >= width || row < -kNavRowsAbove || row >= world::kMapRows)
        return NAV_CLOSED;
    return NavCell(cells[size_t(column * kNavRows + row + kNavRowsAbove)]);
}

bool NavMap::isStanding(int32_t column, int32_t row) const {
    if (column < 0 || column >= width || row < -kNavRowsAbove || row >= world::kMapRows)
        return false;
    return standing[size_t(column * kNavRows + row + kNavRowsAbove)];
}

NavMap buildNavMap() {
    NavMap map;
    map.width = world::levelMap.width;
    const size_t cells = size_t(map.width) * kNavRows;
    map.cells.assign(cells, NAV_CLOSED);
    map.standing.assign(cells, 0);
    for (int32_t column = 0; column < map.width; ++column)
        for (int32_t row = -kNavRowsAbove; row < world::kMapRows; ++row) {
            const size_t at = size_t(column * kNavRows + row + kNavRowsAbove);
            map.cells[at] = cellKind(codeOf(column, row), row);
        }
    // The hero stands on either foot: with its centre in a cell it can stand on the ground
    // below that cell or below the cells left and right of it, where its box reaches.
    auto solidBelow = [&](int32_t column, int32_t row) {
        return column >= 0 && column < map.width && row + 1 < world::kMapRows &&
               world::isSolidCode(codeOf(column, row + 1));
    };
    for (int32_t column = 0; column < map.width; ++column)
        for (int32_t row = -kNavRowsAbove; row < world::kMapRows; ++row) {
            const size_t at = size_t(column * kNavRows + row + kNavRowsAbove);
            const bool onFoot = (solidBelow(column - 1, row) && map.isOpen(column - 1, row)) ||
                                (solidBelow(column + 1, row) && map.isOpen(column + 1, row));
            map.standing[at] = map.cells[at] != NAV_CLOSED && (solidBelow(column, row) || onFoot);
        }

    std::vector<Edge> edges;
    for (int32_t column = 0; column < map.width; ++column)
        for (int32_t row = -kNavRowsAbove; row < world::kMapRows; ++row) {
            // Broken bricks and crumbled blocks are air once the hero is in them.
            if (map.cellAt(column, row) == NAV_CLOSED) continue;
            if (map.isStanding(column, row)) {
                const int32_t from = map.node(column, row, kRiseBudget);
                for (int32_t dc : {-1, 1}) {
                    // Walking off a ledge leaves nothing to climb with.
                    addStep(map, edges, from, column + dc, row, 0, kWalkCost);
                    addDiagonal(map, edges, from, column, row, dc, -1, kRiseBudget - 1);
                }
                addRise(map, edges, from, column, row - 1, kRiseBudget - 1);
                if (map.cellAt(column, row + 1) == NAV_CRUMBLING)
                    edges.push_back({from, map.node(column, row + 1, 0), kCrumbleCost});
                continue;
            }
            for (int32_t budget = 0; budget < kNavBudgets; ++budget) {
                const int32_t from = map.node(column, row, budget);
                if (budget > 0) {
                    addRise(map, edges, from, column, row - 1, budget - 1);
                    for (int32_t dc : {-1, 1}) {
                        addDiagonal(map, edges, from, column, row, dc, -1, budget - 1);
                        addStep(map, edges, from, column + dc, row, budget - 1, kWalkCost);
                    }
                }
                addStep(map, edges, from, column, row + 1, 0, kFallCost);
                for (int32_t dc : {-1, 1}) addDiagonal(map, edges, from, column, row, dc, 1, 0);
            }
        }

    // The distance fields are searched backwards, so the edges are kept by their end.
    const int32_t nodes = map.nodeCount();
    map.incomingFirst.assign(size_t(nodes) + 1, 0);
    for (const Edge& e : edges) ++map.incomingFirst[size_t(e.to) + 1];
    for (int32_t i = 0; i < nodes; ++i)
        map.incomingFirst[size_t(i) + 1] += map.incomingFirst[size_t(i)];
    map.incomingFrom.resize(edges.size());
    map.incomingCost.resize(edges.size());
    std::vector<int32_t> fill(map.incomingFirst.begin(), map.incomingFirst.end() - 1);
    for (const Edge& e : edges) {
        const size_t at = size_t(fill[size_t(e.to)]++);
        map.incomingFrom[at] = e.from;
        map.incomingCost[at] = e.cost;
    }
    return map;
}

DistanceField distancesTo(const NavMap& map, int32_t column, int32_t row) {
    DistanceField distance(size_t(map.nodeCount()), kFar);
    using Entry = std::pair<int32_t, int32_t>;  // frames, node
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    if (column >= 0 && column < map.width && row >= -kNavRowsAbove && row < world::kMapRows)
        for (int32_t budget = 0; budget < kNavBudgets; ++budget) {
            const int32_t target =
                ((column * kNavRows) + row + kNavRowsAbove) * kNavBudgets + budget;
            distance[size_t(target)] = 0;
            queue.push({0, target});
        }
    while (!queue.empty()) {
        const auto [frames, node] = queue.top();
        queue.pop();
        if (frames > distance[size_t(node)]) continue;
        for (int32_t i = map.incomingFirst[size_t(node)]; i < map.incomingFirst[size_t(node) + 1];
             ++i) {
            const int32_t from = map.incomingFrom[size_t(i)];
            const int32_t via = frames + map.incomingCost[size_t(i)];
            if (via < distance[size_t(from)]) {
                distance[size_t(from)] = via;
                queue.push({via, from});
            }
        }
    }

    // Where the map knows no way, the way as the crow flies through the cells that are not
    // closed, at twice the cost, above kFar: a target the hero can only reach by means the map
    // does not know (a bounce off an enemy) still draws the search towards it.
    const std::vector<int32_t> flying = flyingFrames(map, column, row);
    for (int32_t c = 0; c < map.width; ++c)
        for (int32_t r = -kNavRowsAbove; r < world::kMapRows; ++r)
            for (int32_t budget = 0; budget < kNavBudgets; ++budget) {
                const size_t node =
                    size_t(((c * kNavRows) + r + kNavRowsAbove) * kNavBudgets + budget);
                if (distance[node] >= kFar)
                    distance[node] = kFar + 2 * flying[size_t(c * kNavRows + r + kNavRowsAbove)];
            }
    return distance;
}

int32_t playerNode(const NavMap& map, const world::PlayerState& player) {
    const int32_t centreX = player.x + world::kTileSize / 2;
    const int32_t centreY = player.y + world::kTileSize / 2;
    if (centreY >= world::kPlayfieldHeight) return -1;
    const int32_t column = std::clamp(centreX >> 4, 0, map.width - 1);
    const int32_t row = std::max(centreY >> 4, -kNavRowsAbove);

    int32_t budget = 0;
    const int32_t feetY = player.y + world::kTileSize;
    if (world::isSolidAt(player.x, feetY) ||
        world::isSolidAt(player.x + world::kTileSize - 1, feetY)) {
        budget = kRiseBudget;
    } else if (player.vy < 0) {
        int32_t rise = 0;  // pixels the jump still climbs
        for (int32_t vy = player.vy; vy < 0; ++vy) rise -= vy / 4;
        budget = std::min((rise + world::kTileSize - 1) / world::kTileSize, kRiseBudget);
    }
    return map.node(column, row, budget);
}

}  // namespace levelbot
