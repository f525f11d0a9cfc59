// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The level checker's rules on the cells of the map: levelc's checkLevel names the file, line
// and column of the character at fault; here that place is turned back into the level's cell,
// so a window can mark it on the map and put the checker's words on its status line.

#include "level_text.h"

#include <optional>
#include <string>
#include <vector>

namespace trolkedit {

// A cell of the level: column from the left end, row 0 at the top.
struct Cell {
    int column = 0;
    int row = 0;

    bool operator==(const Cell&) const = default;
};

// A rule of the level checker the level breaks, at the cell it is about. A fault of the whole
// level (too narrow, too wide) names the cell the checker points at, its first or its last;
// a fault at no cell at all names none.
struct Finding {
    std::optional<Cell> cell;
    std::string message;  // the checker's own words
};

// The checker's findings on a compiled level, each at its cell, in the checker's order.
std::vector<Finding> checkCells(const level_text::CompiledLevel& level);

}  // namespace trolkedit
