// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Point queries on the grid. Cells outside the grid read as 0; the solid test treats the
// level's two ends as walls, continues row 0 upwards and finds nothing below row 11.

#include "world/tiles.h"

#include "world/level.h"

namespace world {

namespace {

int32_t levelPixelWidth() { return levelMap.width * kTileSize; }

bool insideGrid(int32_t x, int32_t y) {
    return x >= 0 && x < levelPixelWidth() && y >= 0 && y < kPlayfieldHeight;
}

TileCode codeAtPixel(int32_t x, int32_t y) {
    return levelMap.cells[size_t(x >> 4) * kMapRows + size_t(y >> 4)];
}

}  // namespace

TileCode cellAt(int32_t x, int32_t y) { return insideGrid(x, y) ? codeAtPixel(x, y) : 0; }

TileCode cellOfGrid(int32_t column, int32_t row) {
    if (column < 0 || column >= levelMap.width || row < 0 || row >= kMapRows) return 0;
    return levelMap.cells[size_t(column) * kMapRows + size_t(row)];
}

void setCell(int32_t column, int32_t row, TileCode code) {
    if (uint32_t(row) >= uint32_t(kMapRows) || column < 0 || column >= levelMap.width) return;
    levelMap.cells[size_t(column) * kMapRows + size_t(row)] = code;
}

void setCellIndex(int32_t index, TileCode code) {
    if (index >= 0 && index < levelMap.width * kMapRows) levelMap.cells[size_t(index)] = code;
}

bool isSolidAt(int32_t x, int32_t y) {
    if (x < 0 || x >= levelPixelWidth()) return true;
    if (y < 0) y = 0;
    if (y >= kPlayfieldHeight) return false;
    return isSolidCode(codeAtPixel(x, y));
}

bool isSpikeAt(int32_t x, int32_t y) { return insideGrid(x, y) && isSpikeCode(codeAtPixel(x, y)); }

bool isWaterAt(int32_t x, int32_t y) {
    const int32_t cx = x + kTileSize / 2, cy = y + kTileSize / 2;
    return insideGrid(cx, cy) && isWaterCode(codeAtPixel(cx, cy));
}

}  // namespace world
