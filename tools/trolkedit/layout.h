// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the editor's window puts things. From the top: the map view (the twelve rows of the
// level at the view's scale, one or two window pixels per level pixel), a ruler with the column
// numbers, the palette (each group of the legend under its name, every entry a tile with its
// character below), and the status lines. Window pixels are turned into cells of the level and
// entries of the palette here, and cells back into window pixels; nothing here draws.

#include "level_check.h"
#include "palette.h"

#include <optional>
#include <string>
#include <vector>

namespace trolkedit {

constexpr int kWindowWidth = 960;
constexpr int kCellSize = 16;  // level pixels per cell side
constexpr int kMapRowsHigh = 12 * kCellSize;
constexpr int kRulerHeight = 12;
constexpr int kStatusLines = 5;
constexpr int kStatusLineHeight = 11;
constexpr int kGlyphSize = 8;           // the small font's glyphs
constexpr int kPaletteSpotWidth = 20;   // a tile of 16 and the gap to the next
constexpr int kPaletteSpotHeight = 28;  // the tile, its character below, a gap
constexpr int kPaletteLabelHeight = 10;
constexpr int kPaletteBlockColumns = 17;  // a group wider than this wraps
constexpr int kMargin = 4;

struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    bool operator==(const Rect&) const = default;
};

// One entry of the palette: where its tile is drawn (its character goes below).
struct PaletteSpot {
    Rect tile;
    char character = 0;
    int code = 0;
};

// A group's name over its entries.
struct PaletteLabel {
    int x = 0;
    int y = 0;
    std::string text;
};

struct Layout {
    int width = kWindowWidth;
    int height = 0;
    int scale = 2;  // window pixels per level pixel in the map view: 1 or 2
    Rect map;
    Rect ruler;
    Rect palette;
    Rect status;
    std::vector<PaletteSpot> spots;
    std::vector<PaletteLabel> labels;
};

// The layout of a window `width` pixels wide with the map at `scale` and this palette.
Layout layoutFor(int width, int scale, const std::vector<PaletteGroup>& groups);
// How many level pixels the map view shows across.
int viewPixels(const Layout& layout);
// The rightmost view position for a level of `columns` columns; 0 when the level fits.
int lastViewX(const Layout& layout, int columns);
// The cell of the level under a window pixel, when the pixel is on the map and the cell lies
// in the level.
std::optional<Cell> cellAt(const Layout& layout, int viewX, int columns, int px, int py);
// Where a cell lies in the window (it may lie partly or wholly outside the map view).
Rect cellRect(const Layout& layout, int viewX, Cell cell);
// The palette entry under a window pixel, or none.
const PaletteSpot* spotAt(const Layout& layout, int px, int py);
// The top of a status line (0 the first).
int statusLineY(const Layout& layout, int line);

}  // namespace trolkedit
