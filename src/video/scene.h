#pragma once
// One complete picture of the game world: the black sky, the background scrolling at half
// speed with the moon in front of it, the tile layer with the moving water surface, the
// enemies, the player, and on top the HUD and the overlays. The title, the levels and every
// screen that shows the world behind its own text draw through here.

#include <cstdint>

#include "world/enemies.h"
#include "world/player.h"

namespace video {

constexpr int kViewColumns = 21;    // columns that cover 320 pixels at any offset
constexpr int kStaticPicture = -1;  // frame counter of a still picture: last water pair, no player

// Draws the whole frame for frame counter n; with `present`, shows it (unless the frame
// clock said to skip drawing) and paces the frame. Without it the caller draws more,
// presents and paces itself. Nothing is drawn on frames marked skipDraw.
void drawFrame(int n, const world::PlayerState& player, bool present);
// The visible part of the level map.
void drawTileLayer(int n);
// One tile image at a world position, when the 16 x 16 box touches the view.
void drawTileAt(int32_t x, int32_t y, int32_t tile);
// One enemy with the picture it shows this frame.
void drawEnemy(const world::EnemySlot& enemy);
// The player's frame, while it is alive.
void drawActor(const world::PlayerState& player);

}  // namespace video
