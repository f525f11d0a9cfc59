// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One complete picture of the game world: the black sky, the background scrolling at half
// speed with the moon in front of it, the tile layer with the moving water surface, the
// enemies, the player, and on top the HUD and the overlays. The title, the levels and every
// screen that shows the world behind its own text draw through here. Drawing only reads the
// world; showing the picture and pacing the frame are the game flow's.

#include <cstdint>

#include "video/hud.h"
#include "world/enemies.h"
#include "world/player.h"

namespace video {

constexpr int kViewColumns = 21;    // columns that cover 320 pixels at any offset
constexpr int kStaticPicture = -1;  // frame counter of a still picture: last water pair, no player

extern int moonX;  // world x of the moon in background pixels, placed anew for every life

// Draws the whole frame for frame counter n, with this menu over it.
void drawFrame(int n, const world::PlayerState& player, const MenuView& menu);
// Puts the moon somewhere over the current level (chance only touches looks).
void placeMoon();
// The visible part of the level map.
void drawTileLayer(int n);
// One tile image at a world position, when the 16 x 16 box touches the view.
void drawTileAt(int32_t x, int32_t y, int32_t tile);
// One enemy with the picture it shows this frame.
void drawEnemy(const world::EnemySlot& enemy);
// The player's frame, while it is alive.
void drawActor(const world::PlayerState& player);

}  // namespace video
