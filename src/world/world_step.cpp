// The world update of one frame. Everything that moves in the world moves here, in a fixed
// order, from the held controls alone.

#include "world/world_step.h"

#include <algorithm>
#include <cstddef>

namespace world {

void updateTileEffects() {
    for (TileEffect& effect : tileEffects) updateTileEffect(effect);
}

void updateEnemies(PlayerState& player) {
    for (EnemySlot& enemy : enemies) updateEnemy(enemy, player, level.cameraX);
}

void stepPlayFrame(PlayerState& player, const Controls& controls) {
    updateTileEffects();
    updateEnemies(player);
    if (!player.alive) return;
    updatePlayer(player, controls.left, controls.right, controls.jump, controls.down,
                 level.cameraX);
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
    snapshot.level = level;
    snapshot.run = run;
    snapshot.enemies = enemies;
    snapshot.tileEffects = tileEffects;
    return snapshot;
}

void restoreWorld(const WorldSnapshot& snapshot) {
    const size_t count = size_t(snapshot.width) * kMapRows;
    if (levelMap.width != snapshot.width || !levelMap.cells)
        levelMap.cells = std::make_unique<TileCode[]>(count);
    levelMap.width = snapshot.width;
    if (count) std::copy_n(snapshot.cells.get(), count, levelMap.cells.get());
    level = snapshot.level;
    run = snapshot.run;
    enemies = snapshot.enemies;
    tileEffects = snapshot.tileEffects;
}

}  // namespace world
