// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tile layer visits exactly 21 x 12 cells, from column cameraX >> 4 on, and culls by
// position before blitting. Cells outside the map and codes without a picture draw nothing.
// The water surface cells (160, 161) show the left and right frame of the current water pair,
// which changes every 8 frames, so all surfaces of a level move in step.

#include "video/scene.h"

#include <cstdlib>

#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/tiles.h"

namespace video {

int moonX = 0;

namespace {

// The sky, the background repeating every W pixels with its bottom on row 191, the moon,
// and the black HUD area.
void drawBackground() {
    if (!backgroundImage) {
        fillRect(display.backBuffer, 0, 0, kScreenWidth, kScreenHeight, display.colorBlack);
        return;
    }
    const int w = backgroundImage->w;
    const int h = backgroundImage->h;
    const int top = kPlayAreaHeight - h;
    const int parallax = world::life.cameraX >> 1;
    fillRect(display.backBuffer, 0, 0, kScreenWidth, top, display.colorBlack);
    const int s = parallax % w;
    if (s + kScreenWidth - 1 < w) {
        blitArea(backgroundImage, s, 0, kScreenWidth, h, 0, top);
    } else {
        blitArea(backgroundImage, s, 0, w - s, h, 0, top);
        if (w - s <= kScreenWidth - 1)
            blitArea(backgroundImage, 0, 0, kScreenWidth - (w - s), h, w - s, top);
    }
    if (moonImage) blitAt(moonImage, moonX - parallax, 0);
    fillRect(display.backBuffer, 0, kPlayAreaHeight, kScreenWidth, kScreenHeight - kPlayAreaHeight,
             display.colorBlack);
}

}  // namespace

void drawFrame(int n, const world::PlayerState& player, const MenuView& menu) {
    drawBackground();
    if (world::run.levelCounter > 0) drawHudBars();
    drawTileLayer(n);
    for (const world::EnemySlot& enemy : world::life.enemies) drawEnemy(enemy);
    if (n > kIntroFrames) drawActor(player);
    drawOverlays(n, player, menu);
}

void placeMoon() {
    // The moon needs a level wider than itself by two pixels at least; else it stands at 0.
    const int range =
        (world::levelMap.width * world::kTileSize - (moonImage ? moonImage->w : 0)) / 2;
    moonX = range > 0 ? std::rand() % range : 0;
}

void drawTileLayer(int n) {
    const int phase = (n >> 2) & 6;
    const int32_t cameraX = world::life.cameraX;
    const int32_t first = cameraX >> 4;
    const int32_t offset = (cameraX & world::kCellMask) - cameraX;
    for (int d = 0; d < kViewColumns; ++d) {
        const int32_t screenX = world::kTileSize * d + offset;
        if (screenX < -(world::kTileSize - 1) || screenX > kScreenWidth - 1) continue;
        for (int r = 0; r < world::kMapRows; ++r) {
            const world::TileCode v = world::cellOfGrid(first + d, r);
            SDL_Surface* picture = nullptr;
            if (v == world::TILE_WATER_SURFACE_LEFT || v == world::TILE_WATER_SURFACE_RIGHT)
                picture = waterFrames[size_t(v - world::TILE_WATER_SURFACE_LEFT + phase)];
            else if (world::hasTileImage(v)) picture = tileImages[size_t(v)];
            if (picture) blitAt(picture, screenX, world::kTileSize * r);
        }
    }
}

void drawTileAt(int32_t x, int32_t y, int32_t tile) {
    const int32_t cameraX = world::life.cameraX;
    if (x + world::kTileSize < cameraX || x > cameraX + kScreenWidth) return;
    if (y < -(world::kTileSize - 1) || y > kPlayAreaHeight) return;
    if (!world::hasTileImage(tile)) return;
    blitAt(tileImages[size_t(tile)], x - cameraX, y);
}

void drawEnemy(const world::EnemySlot& enemy) {
    if (!enemy.active) return;
    const int32_t frame = world::enemyFrame(enemy);
    if (frame >= 0) drawTileAt(enemy.x, enemy.y, frame);
}

void drawActor(const world::PlayerState& player) {
    if (player.alive) drawTileAt(player.x, player.y, player.frame);
}

}  // namespace video
