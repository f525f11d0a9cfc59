// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Review images: PNG pictures for people, never read by the game. Contact sheets show every
// tile three times enlarged with its index above it, transparent pixels as a dark checker;
// mock-up screens put tiles, background, moon, HUD and fonts together the way the game
// composes a frame, so the styles can be judged as a whole.

#include "image.h"
#include "text_source.h"
#include "tile_sheet.h"

#include <string>

namespace gfx {

// Writes a PNG, each pixel enlarged `scale` times; key pixels as a checker when `checker`.
bool writePng(const std::string& path, const Image& image, int scale, bool checker);
// The contact sheet of a tile sheet.
Image contactSheet(const TileSheet& tiles);
// Small digits (3 x 5) for labels, at `scale`.
void drawLabel(Image& target, int x, int y, int value, int scale, Rgb colour);

// What a mock-up screen is made of.
struct MockupParts {
    const Image* tiles = nullptr;       // tile sheet
    const Image* background = nullptr;  // none for the handheld style
    const Image* moon = nullptr;
    const Image* smallFont = nullptr;
    const Image* bigFont = nullptr;
    const Image* logo = nullptr;  // set: a title screen instead of a level with its HUD
    bool handheld = false;        // grey bars instead of red and blue
};

// A 320 x 240 screen of a map source (legend of characters to tile indices, then "map" and
// twelve rows), seen from cameraX.
bool renderMockup(TextSource& source, const MockupParts& parts, int cameraX, Image& screen,
                  std::string& error);

}  // namespace gfx
