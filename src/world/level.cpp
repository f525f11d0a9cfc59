// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Level loading, the view and the column scan that brings enemies to life.
//
// A load sets up everything for a new life: the grid, the exit door (closed while counted
// items remain), the item count (items more than one column left of the restart point are out
// of reach and not counted, unless the level ends less than a screen after that column), the
// checkpoint of the restart point shown as taken, the view ending on the restart point, and
// the enemies of every column from there to 16 pixels beyond the view's right edge.
//
// Level bytes are read through a bounded reader: a file shorter than its header promises, or
// narrower than the 21 columns the view always shows, is refused as a whole.

#include "world/level.h"

#include "archive/byte_reader.h"
#include "world/enemies.h"
#include "world/lifetimes.h"

#include <algorithm>

namespace world {

LevelMap levelMap;

namespace {

constexpr int32_t kScanAhead = kViewWidth + kTileSize;  // columns are scanned 16 pixels early
constexpr int32_t kInitialScrollSteps = kViewWidth;

int32_t levelPixelWidth() { return levelMap.width * kTileSize; }

// One pixel of view movement: forward while the view's right edge is more than one pixel
// short of the level's end, then the column 336 pixels right of the view is scanned.
void scrollOnePixel() {
    if (life.cameraX + kViewWidth < levelPixelWidth() - 1) ++life.cameraX;
    spawnColumn(life.cameraX + kScanAhead);
}

}  // namespace

std::string_view levelFaultText(LevelFault fault) {
    switch (fault) {
    case LEVEL_OK: return "a playable level";
    case LEVEL_NO_DATA: return "no level data";
    case LEVEL_SHORT: return "fewer cells than the header promises";
    case LEVEL_NARROW: return "narrower than 21 columns";
    case LEVEL_NO_GROUND: return "no ground below the restart point";
    }
    return "unknown fault";
}

LevelFault checkLevelBytes(const uint8_t* bytes, size_t size) {
    archive::ByteReader reader(bytes, bytes ? size : 0);
    const int32_t width = int32_t(reader.u16le()) + 1;
    if (reader.failed()) return LEVEL_NO_DATA;
    if (reader.remaining() < size_t(width) * kMapRows) return LEVEL_SHORT;
    if (width < kMinLevelWidth) return LEVEL_NARROW;
    return LEVEL_OK;
}

void parseLevel(const uint8_t* bytes, size_t size) {
    archive::ByteReader reader(bytes, size);
    const int32_t width = int32_t(reader.u16le()) + 1;
    const int32_t cellCount = width * kMapRows;
    const uint8_t* cellBytes = reader.take(size_t(cellCount));

    levelMap.cells.reset();
    levelMap.cells = std::make_unique<TileCode[]>(size_t(cellCount));
    levelMap.width = width;

    // Items from one column left of the restart point on are counted: the view of a new life
    // starts there and the player cannot go left of it. Near the end of a level the view stops
    // short of that column and shows columns left of it, whose items the player can take as
    // well; then every item is counted from the column that a player at the view's left edge
    // touches (standing one pixel left of it, taking items 8 pixels into its box).
    const int32_t start = std::max(level.restartX - kTileSize, 0);
    const int32_t lastView = width * kTileSize - kViewWidth - 1;
    const int32_t countFrom = start <= lastView ? start : lastView - kTileSize / 2;
    for (int32_t i = 0; i < cellCount; ++i) {
        const TileCode code = cellBytes[i];
        levelMap.cells[size_t(i)] = code;
        if (code == TILE_DOOR_TOP_LEFT) life.doorCell = i;  // the last one is the door
        if (code == TILE_ITEM && (i / kMapRows) * kTileSize >= countFrom) ++life.itemsLeft;
    }

    if (life.itemsLeft > 0) {
        setDoor(DOOR_CLOSED);
    }

    // The checkpoint the player restarts on shows as taken.
    if (level.restartX >= 0 && level.restartX < levelPixelWidth() && level.restartY >= 0 &&
        level.restartY < kPlayfieldHeight &&
        cellAt(level.restartX, level.restartY) == TILE_CHECKPOINT)
        setCell(level.restartX >> 4, level.restartY >> 4, TILE_CHECKPOINT_TAKEN);

    // The view starts a full screen left of the restart point and is scrolled onto it, so
    // every column from the restart point to the view's right edge is scanned once.
    life.cameraX = start - kViewWidth;
    for (int32_t x = start; x <= start + kViewWidth; x += kTileSize) spawnColumn(x);
    for (int32_t i = 0; i < kInitialScrollSteps; ++i) scrollOnePixel();
}

void freeLevel() { levelMap = {}; }

void setDoor(DoorState state) {
    const bool open = state == DOOR_OPEN;
    setCellIndex(life.doorCell, open ? TILE_DOOR_TOP_LEFT : TILE_CLOSED_DOOR_TOP_LEFT);
    setCellIndex(life.doorCell + kMapRows, open ? TILE_DOOR_TOP_RIGHT : TILE_CLOSED_DOOR_TOP_RIGHT);
    setCellIndex(life.doorCell + 1, open ? TILE_DOOR_BOTTOM_LEFT : TILE_CLOSED_DOOR_BOTTOM_LEFT);
    setCellIndex(life.doorCell + kMapRows + 1,
                 open ? TILE_DOOR_BOTTOM_RIGHT : TILE_CLOSED_DOOR_BOTTOM_RIGHT);
}

void scrollView(int32_t n) {
    for (int32_t i = 0; i < n; ++i) scrollOnePixel();
}

void spawnColumn(int32_t x) {
    if (x >= levelPixelWidth() || x < 0) return;
    const int32_t column = x >> 4;
    for (int32_t row = 0; row < kMapRows; ++row) {
        const int32_t y = row * kTileSize;
        const TileCode code = cellOfGrid(column, row);
        if (const EnemyType type = enemyOfMarker(code); type != ENEMY_NONE) {
            spawnEnemy(x, y, type);
            setCell(column, row, enemyKind(type).leaves);
        } else if (code == TILE_SPIKE_TRAP) {
            setCell(column, row, TILE_SPIKE_TRAP_ARMED);
        }
    }
}

std::optional<int32_t> restingY(int32_t x, int32_t y) {
    // Above the level every pixel row reads row 0: one test stands for all of them.
    if (y + kTileSize < 0) {
        if (isSolidAt(x, y + kTileSize)) return y;
        y = -kTileSize;
    }
    for (; y + kTileSize < kPlayfieldHeight; ++y)
        if (isSolidAt(x, y + kTileSize)) return y;
    // Below the level nothing is solid, except beyond its two ends.
    if (isSolidAt(x, y + kTileSize)) return y;
    return std::nullopt;
}

}  // namespace world
