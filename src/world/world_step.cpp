// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The world update of one frame. Everything that moves in the world moves here, in a fixed
// order, from the held controls alone.

#include "world/world_step.h"

#include <algorithm>
#include <cstddef>

namespace world {

void updateTileEffects() {
    for (TileEffect& effect : life.tileEffects) updateTileEffect(effect);
}

void updateEnemies(PlayerState& player) {
    for (EnemySlot& enemy : life.enemies) updateEnemy(enemy, player, life.cameraX);
}

void stepPlayFrame(PlayerState& player, const Controls& controls) {
    updateTileEffects();
    updateEnemies(player);
    if (!player.alive) return;
    updatePlayer(player, controls, life.cameraX);
    updateTimeAndAir(player);
}

void stepTitleFrame(PlayerState& player) {
    updateTileEffects();
    updateEnemies(player);
    scrollView(1);
}

WorldSnapshot saveWorld() {
    WorldSnapshot snapshot;
    const size_t count = size_t(levelMap.width) * kMapRows;
    snapshot.width = levelMap.width;
    snapshot.cells = std::make_unique<TileCode[]>(count);
    if (count) std::copy_n(levelMap.cells.get(), count, snapshot.cells.get());
    snapshot.run = run;
    snapshot.level = level;
    snapshot.life = life;
    return snapshot;
}

void restoreWorld(const WorldSnapshot& snapshot) {
    const size_t count = size_t(snapshot.width) * kMapRows;
    if (levelMap.width != snapshot.width || !levelMap.cells)
        levelMap.cells = std::make_unique<TileCode[]>(count);
    levelMap.width = snapshot.width;
    if (count) std::copy_n(snapshot.cells.get(), count, levelMap.cells.get());
    run = snapshot.run;
    level = snapshot.level;
    life = snapshot.life;
}

}  // namespace world
