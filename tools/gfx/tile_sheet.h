// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A tile sheet: 320 x 192 pixels, 20 x 12 tiles of 16 x 16; tile i lies at
// (16 (i mod 20), 16 (i div 20)). Tile 0 is never drawn and unused tiles stay key.
//
// Every tile comes from one piece. A piece made for one style replaces, in that style, the
// piece that serves all styles; two pieces claiming the same tile for the same styles are a
// fault. Derived tiles are taken from the finished tile they name, in the same style.

#include "image.h"
#include "palette.h"
#include "pixel_art.h"

#include <array>
#include <string>
#include <vector>

namespace gfx {

constexpr int kSheetColumns = 20;
constexpr int kSheetRows = 12;
constexpr int kTileCount = kSheetColumns * kSheetRows;
constexpr int kSheetWidth = kSheetColumns * kTileSize;
constexpr int kSheetHeight = kSheetRows * kTileSize;

struct TileSheet {
    Image sheet;                                // kSheetWidth x kSheetHeight
    std::array<std::string, kTileCount> names;  // what each tile shows; empty when unused
};

// Builds the sheet of one style from all tile pieces (other kinds are ignored).
bool buildTileSheet(const std::vector<Piece>& pieces, const Palette& palette, int style,
                    TileSheet& result, std::string& error);
// The 16 x 16 picture of tile i.
Image tileOf(const Image& sheet, int index);

}  // namespace gfx
