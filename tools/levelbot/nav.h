// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A coarse map of where the hero can go, for the level bot's sense of direction: how many
// frames, roughly, it takes to bring the hero's centre from any cell into a target cell, going
// round walls, up onto ledges and over pits as a jump allows.
//
// The map is a graph over cells, each with a rise budget (how many more cells the hero can
// still climb before it must come down): standing on ground gives a budget of three cells (a
// jump rises 50 pixels), walking, jumping and falling move one cell at a time, and spikes and
// the space below the level are closed. A brick opens to a rise from right below it, a
// crumbling block to a hero standing on it. Enemies are not in it: it only guides the search,
// which plays the real rules.

#include "world/player.h"
#include "world/tiles.h"

#include <cstdint>
#include <vector>

namespace levelbot {

constexpr int32_t kNavRowsAbove = 3;  // rows above the screen the hero may jump into
constexpr int32_t kNavRows = world::kMapRows + kNavRowsAbove;
constexpr int32_t kRiseBudget = 3;  // cells a jump climbs
constexpr int32_t kNavBudgets = kRiseBudget + 1;
constexpr int32_t kFar = 1 << 20;  // frames from here up: the map knows no way

// What a cell is to the map.
enum NavCell : uint8_t {
    NAV_CLOSED,     // solid, spikes, a spike trap
    NAV_OPEN,       // the hero's centre may be there
    NAV_BRICK,      // opens when hit from right below
    NAV_CRUMBLING,  // opens under a hero standing on it
};

struct NavMap {
    int32_t width = 0;                   // columns
    std::vector<uint8_t> cells;          // per cell (rows -3..11): its NavCell
    std::vector<uint8_t> standing;       // per cell: open, with solid ground right below
    std::vector<int32_t> incomingFirst;  // per node: where its incoming edges start in the lists
    std::vector<int32_t> incomingFrom;   // the node each incoming edge comes from
    std::vector<int32_t> incomingCost;   // and its cost in frames

    int32_t nodeCount() const { return width * kNavRows * kNavBudgets; }
    // The node of a cell (row from -3) with a rise budget; standing cells always have the full
    // budget.
    int32_t node(int32_t column, int32_t row, int32_t budget) const;
    NavCell cellAt(int32_t column, int32_t row) const;
    bool isOpen(int32_t column, int32_t row) const { return cellAt(column, row) == NAV_OPEN; }
    bool isStanding(int32_t column, int32_t row) const;
};

// Frames from every node to a target cell. Where the map knows no way the value is kFar plus
// twice the frames of a flight through every cell that is not closed, so that it still
// points towards the target.
using DistanceField = std::vector<int32_t>;

// The map of the level as the world grid holds it now.
NavMap buildNavMap();
// The frames from every node into the cell (column, row).
DistanceField distancesTo(const NavMap& map, int32_t column, int32_t row);
// The node the player is at: the cell of its centre, with the budget its ground or its rise
// leaves it; -1 below the level.
int32_t playerNode(const NavMap& map, const world::PlayerState& player);

}  // namespace levelbot
