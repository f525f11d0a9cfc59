// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The palette flows like text: each group is a block (its name, then its entries in rows of at
// most 17), blocks go left to right and start a new row of blocks where the window ends, and
// a row of blocks is as high as its highest block.

#include "layout.h"

#include <algorithm>

namespace trolkedit {

namespace {

constexpr int kBlockGap = 12;

struct Block {
    int width = 0;
    int height = 0;
};

Block blockOf(const PaletteGroup& group) {
    const int count = int(group.entries.size());
    const int columns = std::min(count, kPaletteBlockColumns);
    const int rows = (count + kPaletteBlockColumns - 1) / kPaletteBlockColumns;
    return {std::max(int(group.name.size()) * kGlyphSize, columns * kPaletteSpotWidth),
            kPaletteLabelHeight + rows * kPaletteSpotHeight};
}

// Lays the blocks out from (left, top); the height they take.
int placePalette(Layout& layout, const std::vector<PaletteGroup>& groups, int top) {
    int x = kMargin, y = top, rowHeight = 0;
    for (const PaletteGroup& group : groups) {
        if (group.entries.empty()) continue;
        const Block block = blockOf(group);
        if (x > kMargin && x + block.width > layout.width - kMargin) {
            x = kMargin;
            y += rowHeight;
            rowHeight = 0;
        }
        layout.labels.push_back({x, y, group.name});
        for (size_t i = 0; i < group.entries.size(); ++i) {
            const PaletteEntry& entry = group.entries[i];
            const int column = int(i) % kPaletteBlockColumns, row = int(i) / kPaletteBlockColumns;
            layout.spots.push_back(
                {{x + column * kPaletteSpotWidth,
                  y + kPaletteLabelHeight + row * kPaletteSpotHeight, kCellSize, kCellSize},
                 entry.character,
                 entry.code});
        }
        x += block.width + kBlockGap;
        rowHeight = std::max(rowHeight, block.height);
    }
    return y + rowHeight - top;
}

}  // namespace

Layout layoutFor(int width, int scale, const std::vector<PaletteGroup>& groups) {
    Layout layout;
    layout.width = width;
    layout.scale = scale;
    layout.map = {0, 0, width, kMapRowsHigh * scale};
    layout.ruler = {0, layout.map.h, width, kRulerHeight};
    const int paletteTop = layout.ruler.y + layout.ruler.h + kMargin;
    const int paletteHeight = placePalette(layout, groups, paletteTop);
    layout.palette = {0, paletteTop, width, paletteHeight};
    layout.status = {0, paletteTop + paletteHeight + kMargin, width,
                     kStatusLines * kStatusLineHeight + kMargin};
    layout.height = layout.status.y + layout.status.h;
    return layout;
}

int viewPixels(const Layout& layout) { return layout.map.w / layout.scale; }

int lastViewX(const Layout& layout, int columns) {
    return std::max(0, columns * kCellSize - viewPixels(layout));
}

std::optional<Cell> cellAt(const Layout& layout, int viewX, int columns, int px, int py) {
    if (!layout.map.contains(px, py)) return std::nullopt;
    const Cell cell{(viewX + (px - layout.map.x) / layout.scale) / kCellSize,
                    (py - layout.map.y) / layout.scale / kCellSize};
    if (cell.column >= columns) return std::nullopt;
    return cell;
}

Rect cellRect(const Layout& layout, int viewX, Cell cell) {
    const int size = kCellSize * layout.scale;
    return {layout.map.x + (cell.column * kCellSize - viewX) * layout.scale,
            layout.map.y + cell.row * size, size, size};
}

const PaletteSpot* spotAt(const Layout& layout, int px, int py) {
    for (const PaletteSpot& spot : layout.spots) {
        const Rect area{spot.tile.x, spot.tile.y, kPaletteSpotWidth, kPaletteSpotHeight};
        if (area.contains(px, py)) return &spot;
    }
    return nullptr;
}

int statusLineY(const Layout& layout, int line) {
    return layout.status.y + kMargin / 2 + line * kStatusLineHeight;
}

}  // namespace trolkedit
