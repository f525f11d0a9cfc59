// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The counts walk the cells in file order, column by column, as the game's level load does.

#include "level_counts.h"

#include "world/enemy_kinds.h"
#include "world/level.h"
#include "world/tiles.h"

namespace trolkedit {

LevelCounts countLevel(const level_text::CompiledLevel& level) {
    LevelCounts counts;
    counts.width = level.width;
    counts.start = {world::kRestartStartX / world::kTileSize,
                    world::kRestartStartY / world::kTileSize};
    for (size_t i = 0; i < level.cells.size(); ++i) {
        const Cell cell{int(i) / level_text::kRows, int(i) % level_text::kRows};
        switch (level.cells[i]) {
        case world::TILE_ITEM: ++counts.items; break;
        case world::TILE_EXTRA_LIFE: ++counts.extraLives; break;
        case world::TILE_CHECKPOINT: counts.checkpoints.push_back(cell); break;
        case world::TILE_DOOR_TOP_LEFT: counts.door = cell; break;
        default: counts.enemies += world::enemyOfMarker(level.cells[i]) != world::ENEMY_NONE; break;
        }
    }
    return counts;
}

}  // namespace trolkedit
