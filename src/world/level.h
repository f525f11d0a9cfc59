// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The level grid: how a level file is read into it, the view that scrolls over it and the
// column scan that brings its enemies to life.
//
// A level file is a 2-byte little-endian value (columns minus one) followed by one byte per
// cell, column by column, twelve rows each, top row first. The grid is loaded afresh for every
// life, so everything a life changed in it (broken bricks, taken items, closed trap doors) is
// undone by a death, except what the restart point leaves out of reach.
//
// The view never scrolls back: cameraX only grows during a life, and enemies are created from
// their marker cells when the column holding them comes within 16 pixels of the view's right
// edge. The view stops with its right edge one pixel short of the end of the level.

#include "world/tiles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace world {

constexpr int32_t kMinLevelWidth = 21;     // the view always shows parts of 21 columns
constexpr int32_t kMaxLevelWidth = 65536;  // the header holds columns minus one in 16 bits
constexpr int32_t kLevelHeaderSize = 2;
// The longest level file there can be: the header and 65536 columns of 12 cells.
constexpr size_t kMaxLevelFileBytes = size_t(kLevelHeaderSize) + size_t(kMaxLevelWidth) * kMapRows;
constexpr int32_t kRestartStartX = 16;  // restart point of a new level
constexpr int32_t kRestartStartY = 100;
constexpr int kLevelCount = 17;  // the title level and the sixteen levels of a run

// The level files in play order; entry 0 is the title level that scrolls by itself.
constexpr std::array<const char*, kLevelCount> levelNames = {
    "plan0", "beginner", "plan8", "plan2", "plan6", "planc", "plan1", "plan3", "plan4",
    "plan7", "plana",    "plan9", "planb", "plan5", "pland", "plane", "planf"};

constexpr const char* kTestMapPath = "maps/test.bin";  // the test map of the test mode
constexpr const char* kCantLoadFile = "Can't load file";

// The grid: `width` columns of 12 codes, column-major (column c, row r is cells[c * 12 + r]).
struct LevelMap {
    int32_t width = 0;                  // columns
    std::unique_ptr<TileCode[]> cells;  // width * 12 codes, or none before the first load
};

extern LevelMap levelMap;

// Why level bytes are no playable level.
enum LevelFault : int {
    LEVEL_OK = 0,
    LEVEL_NO_DATA,    // empty, or shorter than the two header bytes
    LEVEL_SHORT,      // fewer cell bytes than the header promises
    LEVEL_NARROW,     // fewer than 21 columns: the view could not be shown
    LEVEL_NO_GROUND,  // no solid cell below the restart point: nobody could stand there
};

// A short English description of a fault, for tools.
std::string_view levelFaultText(LevelFault fault);
// Checks level file bytes without touching any state.
[[nodiscard]] LevelFault checkLevelBytes(const uint8_t* bytes, size_t size);
// The part of startLife that reads the level: the grid, the items to take and the door
// (closed while items remain), the checkpoint of the restart point shown as taken, the view
// ending on the restart point and the enemies of the columns in view. The bytes must have
// passed checkLevelBytes.
void parseLevel(const uint8_t* bytes, size_t size);
// Frees the grid (shutdown).
void freeLevel();

enum DoorState { DOOR_CLOSED, DOOR_OPEN };
// Writes the exit door's four cells (2 x 2 from doorCell), open or closed.
void setDoor(DoorState state);

// Advances the view by n pixels, one at a time, scanning the column 336 pixels right of the
// view after each pixel (also when the view is already at the end of the level).
void scrollView(int32_t n);
// Creates the enemies of the marker cells in the column holding world pixel x and rewrites
// the markers: an enemy's marker becomes what its kind leaves (water for a piranha, else
// empty), a spike-trap marker becomes an armed trap.
void spawnColumn(int32_t x);

// Where a 16 x 16 box with top-left (x, y) comes to rest when it drops straight down: the
// first y at or below the given one whose feet probe (x, y + 16) is solid. None when the
// column holds no solid cell below it (below the level nothing is solid).
std::optional<int32_t> restingY(int32_t x, int32_t y);

}  // namespace world
