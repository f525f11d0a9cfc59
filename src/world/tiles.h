// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What every tile code means to the rules: a name for each code they test, and the tile table
// of what each code is to an actor's body (solid, spikes, water). Then the point queries
// through which the player, the enemies and the run flow read the grid. No tile test compares
// a box with a box: each rule asks about single probe pixels of a 16 x 16 actor box.
//
// Edge rules: the left and right ends of the level are walls of unlimited height, the space
// above the level continues the top row, and below the level nothing is solid. Cells outside
// the grid read as empty (code 0), so no rule fed by cellAt fires outside the level.

#include <array>
#include <cstddef>
#include <cstdint>

namespace world {

using TileCode = int32_t;

constexpr int32_t kTileSize = 16;                           // pixels per tile side
constexpr int32_t kMapRows = 12;                            // cells per level column
constexpr int32_t kPlayfieldHeight = kMapRows * kTileSize;  // 192 pixels
constexpr int32_t kViewWidth = 320;                         // pixels of the level in view
constexpr int32_t kTileImageCount = 240;                    // codes 1..239 have a picture
constexpr int32_t kCellMask = ~(kTileSize - 1);             // clears a pixel's low four bits

// The codes the rules know, and the pictures the HUD shows. Codes not named here have no rule:
// empty, non-solid space.
enum TileId : TileCode {
    TILE_EMPTY = 0,
    TILE_BLOB_MARKER = 9,
    TILE_HOGLET_MARKER = 13,
    TILE_CHECKPOINT = 17,         // untouched: touching it moves the restart point
    TILE_CHECKPOINT_TAKING = 18,  // frame of the checkpoint animation
    TILE_CHECKPOINT_TAKEN = 19,
    TILE_BUMP_BLOCK = 20,  // solid; hit from below it bumps (80, 100, 120, back to 20)
    TILE_BLOCK = 21,       // meadow ground
    TILE_CRUMBLING = 22,   // solid; stood on it crumbles (180..183, then empty)
    TILE_BLOCK_2 = 23,     // earth
    TILE_EXTRA_LIFE = 26,
    TILE_DOOR_TOP_LEFT = 27,  // the open exit door, 2 x 2: 27 28 / 47 48
    TILE_DOOR_TOP_RIGHT = 28,
    TILE_BAT_MARKER = 33,
    TILE_CLOSED_DOOR_TOP_LEFT = 38,  // the closed exit door: 38 39 / 58 59
    TILE_CLOSED_DOOR_TOP_RIGHT = 39,
    TILE_BRICK = 40,  // solid; hit from below it breaks (200..203, then empty), one point
    TILE_ITEM = 41,
    TILE_COIN = 42,     // no rule: the HUD's score icon
    TILE_BLOCK_3 = 43,  // castle masonry
    TILE_BLOCK_4 = 44,  // cave rock
    TILE_DOOR_BOTTOM_LEFT = 47,
    TILE_DOOR_BOTTOM_RIGHT = 48,  // under the player's top-left corner: the level is done
    TILE_PIRANHA_MARKER = 53,
    TILE_CLOSED_DOOR_BOTTOM_LEFT = 58,
    TILE_CLOSED_DOOR_BOTTOM_RIGHT = 59,  // under the player's top-left corner: items forgotten
    TILE_BLOCK_5 = 63,                   // wooden crate
    TILE_BLOCK_6 = 64,                   // riveted iron plate
    TILE_HAT_GUY_MARKER = 67,
    TILE_TRAP_DOOR_CLOSED = 69,  // solid
    TILE_BUMP_1 = 80,            // the bump frames are passable
    TILE_WATER = 85,             // also what a piranha marker leaves behind
    TILE_SPIKE_TRAP_ARMED = 86,  // stepped on: 0, 87, then spikes
    TILE_SPIKE_TRAP = 87,        // the marker in a level file; the middle frame of a springing trap
    TILE_TRAP_DOOR_OPEN = 88,    // passable; closes behind the player: 89, then 69
    TILE_TRAP_DOOR_CLOSING = 89,  // solid
    TILE_BUMP_2 = 100,
    TILE_SPIKES = 105,
    TILE_BUMP_3 = 120,
    TILE_HAT_GUY_MARKER_2 = 121,
    TILE_SOLID_FIRST = 128,  // 128..136 solid blocks: ground ends, battlement, moss, graveyard,
    TILE_SOLID_LAST = 136,   // deck, soil, slate roof, ice
    TILE_SPIKES_2 = 140,     // hanging from a ceiling
    TILE_WATER_2 = 145,
    TILE_WATER_3 = 146,
    TILE_WATER_SURFACE_LEFT = 160,  // 160 and 161 show the animated water surface
    TILE_WATER_SURFACE_RIGHT = 161,
    TILE_WATER_LAST = 166,     // 160..166 are water
    TILE_CRUMBLE_FIRST = 180,  // 180..183 crumbling frames, solid
    TILE_CRUMBLE_2 = 181,
    TILE_CRUMBLE_3 = 182,
    TILE_CRUMBLE_LAST = 183,
    TILE_BREAK_FIRST = 200,  // 200..203 breaking-brick frames, solid
    TILE_BREAK_2 = 201,
    TILE_BREAK_3 = 202,
    TILE_BREAK_LAST = 203,
};

constexpr int32_t kTileCodeCount = 256;  // a level cell holds one byte: codes 0..255

// What a cell is to an actor's body.
enum TileBody : uint8_t {
    BODY_NONE,    // nothing: every code no row of the tile table names
    BODY_SOLID,   // blocks every actor (the solid set)
    BODY_SPIKES,  // kills the player when a corner of its box is inside (the spike set)
    BODY_WATER,   // drains the player's air (the water set)
};

// A row of the tile table: the codes first..last and what they are to a body.
struct TileKind {
    TileCode first = TILE_EMPTY;
    TileCode last = TILE_EMPTY;
    TileBody body = BODY_NONE;
};

// The tile table: every code that is more than air to a body. A tile of an existing kind is
// its name above and one row here.
constexpr auto kTileKinds = std::to_array<TileKind>({
    {TILE_BUMP_BLOCK, TILE_BUMP_BLOCK, BODY_SOLID},                // bumps when hit from below
    {TILE_BLOCK, TILE_BLOCK, BODY_SOLID},                          // meadow ground
    {TILE_CRUMBLING, TILE_CRUMBLING, BODY_SOLID},                  // crumbles once stood on
    {TILE_BLOCK_2, TILE_BLOCK_2, BODY_SOLID},                      // earth
    {TILE_BRICK, TILE_BRICK, BODY_SOLID},                          // breaks when hit from below
    {TILE_BLOCK_3, TILE_BLOCK_3, BODY_SOLID},                      // castle masonry
    {TILE_BLOCK_4, TILE_BLOCK_4, BODY_SOLID},                      // cave rock
    {TILE_BLOCK_5, TILE_BLOCK_5, BODY_SOLID},                      // wooden crate
    {TILE_BLOCK_6, TILE_BLOCK_6, BODY_SOLID},                      // riveted iron plate
    {TILE_TRAP_DOOR_CLOSED, TILE_TRAP_DOOR_CLOSED, BODY_SOLID},    // a shut trap door
    {TILE_TRAP_DOOR_CLOSING, TILE_TRAP_DOOR_CLOSING, BODY_SOLID},  // a trap door swinging shut
    {TILE_SOLID_FIRST, TILE_SOLID_LAST, BODY_SOLID},               // ground ends ... ice
    {TILE_CRUMBLE_FIRST, TILE_CRUMBLE_LAST, BODY_SOLID},           // a block crumbling
    {TILE_BREAK_FIRST, TILE_BREAK_LAST, BODY_SOLID},               // a brick breaking
    {TILE_SPIKES, TILE_SPIKES, BODY_SPIKES},                       // spikes on a plate
    {TILE_SPIKES_2, TILE_SPIKES_2, BODY_SPIKES},                   // spikes from a ceiling
    {TILE_WATER, TILE_WATER, BODY_WATER},                          // water
    {TILE_WATER_2, TILE_WATER_2, BODY_WATER},                      // deep water
    {TILE_WATER_3, TILE_WATER_3, BODY_WATER},                      // deep water with bubbles
    {TILE_WATER_SURFACE_LEFT, TILE_WATER_LAST, BODY_WATER},        // surface, bubbles, sand...
});

// What each code is to a body, worked out from the rows.
constexpr std::array<TileBody, kTileCodeCount> kTileBodies = [] {
    std::array<TileBody, kTileCodeCount> bodies{};
    for (const TileKind& kind : kTileKinds)
        for (TileCode code = kind.first; code <= kind.last; ++code)
            bodies[size_t(code)] = kind.body;
    return bodies;
}();

// Every row names codes 0..255 and a body, and no code stands in two rows.
constexpr bool tileKindsAreSound() {
    std::array<int, kTileCodeCount> rows{};
    for (const TileKind& kind : kTileKinds) {
        if (kind.body == BODY_NONE || kind.first > kind.last || kind.first < 0 ||
            kind.last >= kTileCodeCount)
            return false;
        for (TileCode code = kind.first; code <= kind.last; ++code)
            if (++rows[size_t(code)] > 1) return false;
    }
    return true;
}
static_assert(tileKindsAreSound(), "a row of the tile table is empty, reversed or overlaps one");

// What a code is to a body; codes outside 0..255 are nothing.
constexpr TileBody tileBody(TileCode code) {
    return code >= 0 && code < kTileCodeCount ? kTileBodies[size_t(code)] : BODY_NONE;
}
// Membership in the solid set: 20..23, 40, 43, 44, 63, 64, 69, 89, 128..136, 180..183,
// 200..203.
constexpr bool isSolidCode(TileCode code) { return tileBody(code) == BODY_SOLID; }
// The spike set: 105 and 140.
constexpr bool isSpikeCode(TileCode code) { return tileBody(code) == BODY_SPIKES; }
// The water set: 85, 145, 146, 160..166.
constexpr bool isWaterCode(TileCode code) { return tileBody(code) == BODY_WATER; }
// Whether a cell of this code shows a picture of the tile sheet (240 and above show nothing).
constexpr bool hasTileImage(TileCode code) { return code > 0 && code < kTileImageCount; }

// The code of the cell holding pixel (x, y); 0 outside the grid.
TileCode cellAt(int32_t x, int32_t y);
// The code in column `column`, row `row`; 0 outside the grid (for drawing code that walks
// columns).
TileCode cellOfGrid(int32_t column, int32_t row);
// Writes a cell when row (taken unsigned) < 12 and 0 <= column < width; else does nothing.
void setCell(int32_t column, int32_t row, TileCode code);
// Writes the cell of element index `index` (column * 12 + row) when it lies in the grid.
void setCellIndex(int32_t index, TileCode code);
// Solid test with the edge rules: walls left and right of the level, row 0 continued upwards,
// nothing solid below the level.
bool isSolidAt(int32_t x, int32_t y);
// Spike test: false outside the grid.
bool isSpikeAt(int32_t x, int32_t y);
// Water test of a 16 x 16 box with top-left (x, y), at its centre; false outside the grid.
bool isWaterAt(int32_t x, int32_t y);

}  // namespace world
