// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Pictures of levels drawn by the game's own drawing code, without a window: one view as the
// player sees it, or the whole level side by side with every enemy standing at its marker.
// For reviewing levels and for the README.

#include <cstdint>
#include <string>
#include <vector>

#include "video/graphics.h"

namespace level_render {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 8-bit R, G, B, row after row

    // Sets one pixel, when it lies inside.
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b);
};

// Brings up a headless 320 x 240 display and loads the pictures of graphics style 0, 1 or 2
// from ./data; false with a reason when the data is not there.
bool openGraphics(video::GraphicsStyle style, std::string& error);
// Loads level file bytes for a new life at the start of the level; false with a reason.
bool openLevel(const std::vector<uint8_t>& levelBytes, std::string& error);
// The full 320 x 240 picture with the view's left edge at cameraX (clamped to the level),
// at frame n, with the HUD of level `levelNumber` and, when `withPlayer`, the player at the
// restart point.
Picture renderView(int cameraX, int n, int levelNumber, bool withPlayer);
// The whole level (width x 16 by 192 pixels), every enemy at its marker, at frame n.
Picture renderOverview(int n);

}  // namespace level_render
