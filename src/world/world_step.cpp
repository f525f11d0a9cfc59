// The world update of one frame. Everything that moves in the world moves here, in a fixed
// order, from the held controls alone.

#include "world/world_step.h"

#include "world/effects.h"
#include "world/enemies.h"
#include "world/level.h"

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

}  // namespace world
