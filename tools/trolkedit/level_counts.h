// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the editor's status line counts in a level: the items the door waits for, the extra
// lives, the enemy markers, the width, where lives start (the level start and every
// checkpoint) and where the exit door stands.

#include "level_check.h"
#include "level_text.h"

#include <optional>
#include <vector>

namespace trolkedit {

struct LevelCounts {
    int width = 0;       // columns
    int items = 0;       // item cells (code 41): every one must be taken before the door opens
    int extraLives = 0;  // extra life cells (code 26)
    int enemies = 0;     // enemy markers (the codes of the enemy kind table)
    Cell start;          // where a new level's first life drops in from (column 1, row 6)
    std::vector<Cell> checkpoints;  // untouched checkpoints (code 17), in column order
    std::optional<Cell> door;       // the door's top-left cell (code 27); the last one when
                                    // there are several, as the game takes it
};

// The counts of a compiled level.
LevelCounts countLevel(const level_text::CompiledLevel& level);

}  // namespace trolkedit
