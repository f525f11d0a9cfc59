#pragma once
// What every tile code means to the rules, and the point queries through which the player,
// the enemies and the run flow read the grid. No tile test compares a box with a box: each
// rule asks about single probe pixels of a 16 x 16 actor box.
//
// Edge rules: the left and right ends of the level are walls of unlimited height, the space
// above the level continues the top row, and below the level nothing is solid. Cells outside
// the grid read as empty (code 0), so no rule fed by cellAt fires outside the level.

#include <cstdint>

namespace world {

using TileCode = int32_t;

constexpr int32_t kTileSize = 16;                           // pixels per tile side
constexpr int32_t kMapRows = 12;                            // cells per level column
constexpr int32_t kPlayfieldHeight = kMapRows * kTileSize;  // 192 pixels
constexpr int32_t kViewWidth = 320;                         // pixels of the level in view
constexpr int32_t kTileImageCount = 240;                    // codes 1..239 have a picture
constexpr int32_t kCellMask = ~(kTileSize - 1);             // clears a pixel's low four bits

// The codes the rules know. Codes not named here have no rule: empty, non-solid space.
enum TileId : TileCode {
    TILE_EMPTY = 0,
    TILE_BLOB_MARKER = 9,
    TILE_HOGLET_MARKER = 13,
    TILE_CHECKPOINT = 17,         // untouched: touching it moves the restart point
    TILE_CHECKPOINT_TAKING = 18,  // frame of the checkpoint animation
    TILE_CHECKPOINT_TAKEN = 19,
    TILE_BUMP_BLOCK = 20,  // solid; hit from below it bumps (80, 100, 120, back to 20)
    TILE_BLOCK = 21,
    TILE_CRUMBLING = 22,  // solid; stood on it crumbles (180..183, then empty)
    TILE_BLOCK_2 = 23,
    TILE_EXTRA_LIFE = 26,
    TILE_DOOR_TOP_LEFT = 27,  // the open exit door, 2 x 2: 27 28 / 47 48
    TILE_DOOR_TOP_RIGHT = 28,
    TILE_BAT_MARKER = 33,
    TILE_CLOSED_DOOR_TOP_LEFT = 38,  // the closed exit door: 38 39 / 58 59
    TILE_CLOSED_DOOR_TOP_RIGHT = 39,
    TILE_BRICK = 40,  // solid; hit from below it breaks (200..203, then empty), one point
    TILE_ITEM = 41,
    TILE_BLOCK_3 = 43,
    TILE_BLOCK_4 = 44,
    TILE_DOOR_BOTTOM_LEFT = 47,
    TILE_DOOR_BOTTOM_RIGHT = 48,  // under the player's top-left corner: the level is done
    TILE_PIRANHA_MARKER = 53,
    TILE_CLOSED_DOOR_BOTTOM_LEFT = 58,
    TILE_CLOSED_DOOR_BOTTOM_RIGHT = 59,  // under the player's top-left corner: items forgotten
    TILE_BLOCK_5 = 63,
    TILE_BLOCK_6 = 64,
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
    TILE_SOLID_FIRST = 128,  // 128..136 solid blocks
    TILE_SOLID_LAST = 136,
    TILE_SPIKES_2 = 140,
    TILE_WATER_2 = 145,
    TILE_WATER_3 = 146,
    TILE_WATER_SURFACE_LEFT = 160,  // 160 and 161 show the animated water surface
    TILE_WATER_SURFACE_RIGHT = 161,
    TILE_WATER_LAST = 166,     // 160..166 are water
    TILE_CRUMBLE_FIRST = 180,  // 180..183 crumbling frames, solid
    TILE_CRUMBLE_LAST = 183,
    TILE_BREAK_FIRST = 200,  // 200..203 breaking-brick frames, solid
    TILE_BREAK_LAST = 203,
};

// Membership in the solid set: 20..23, 40, 43, 44, 63, 64, 69, 89, 128..136, 180..183,
// 200..203.
constexpr bool isSolidCode(TileCode code) {
    switch (code) {
    case 20:
    case 21:
    case 22:
    case 23:
    case TILE_BRICK:
    case 43:
    case 44:
    case 63:
    case 64:
    case TILE_TRAP_DOOR_CLOSED:
    case TILE_TRAP_DOOR_CLOSING: return true;
    default:
        return (code >= TILE_SOLID_FIRST && code <= TILE_SOLID_LAST) ||
               (code >= TILE_CRUMBLE_FIRST && code <= TILE_CRUMBLE_LAST) ||
               (code >= TILE_BREAK_FIRST && code <= TILE_BREAK_LAST);
    }
}
// The spike set: 105 and 140.
constexpr bool isSpikeCode(TileCode code) { return code == TILE_SPIKES || code == TILE_SPIKES_2; }
// The water set: 85, 145, 146, 160..166.
constexpr bool isWaterCode(TileCode code) {
    return code == TILE_WATER || code == TILE_WATER_2 || code == TILE_WATER_3 ||
           (code >= TILE_WATER_SURFACE_LEFT && code <= TILE_WATER_LAST);
}
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
