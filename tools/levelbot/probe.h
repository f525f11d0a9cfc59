// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A closer look at the spot where a search got stuck: can the hero reach the target it was
// after at all, moving frame by frame with every combination of controls, with the enemies
// taken out of the level? When not, the level has a place nobody can reach, which the bot can
// tell the designer outright; when it can, the enemies or the timing stand in the way.
//
// Every state the hero can get into is visited once (breadth first); the grid is followed
// too, so broken bricks, crumbled blocks, closed trap doors and the scrolled view count.

#include "world/world_step.h"

#include <cstdint>

namespace levelbot {

enum class Reach {
    Yes,      // some way of moving gets there
    No,       // none does
    Unknown,  // too many states to look at them all
};

// Whether the hero, from the world and player given, can bring its centre into the cell
// (column, row) (`corner`: its top-left corner, as the door asks) without enemies, looking at
// no more than `maxStates` states.
Reach reachWithoutEnemies(const world::WorldSnapshot& world, const world::PlayerState& player,
                          int32_t column, int32_t row, bool corner, int64_t maxStates);

}  // namespace levelbot
