// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The level text format: levels written as 12 rows of characters, one character per cell,
// turned into tile codes through a legend. The enemy kind table gives the enemies' markers
// their characters, a shared legend file the usual ones; a level may add or redefine
// characters for itself, so any code 0..255 can be written.
//
//   ; a comment (a line whose first non-blank character is ';')
//   legend k 130        ; the character k stands for tile code 130 in this level
//   map                 ; a block of exactly 12 rows follows, top row first
//   ....................
//   ...                 (12 rows of equal length)
//   map                 ; a further block continues the level to its right
//
// A row ends at the first blank; after it only a comment may follow. The compiler writes the
// level file (2-byte little-endian width - 1, then width x 12 bytes column by column); the
// checker refuses levels the game cannot play. content/levels/FORMAT.md describes it all.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace level_text {

constexpr int kRows = 12;
constexpr char kCommentChar = ';';

// A problem found in a file, with the line and column (both from 1) it points at.
struct Diagnostic {
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;

    // "file:line:column: error: message"
    std::string text() const;
};

using Diagnostics = std::vector<Diagnostic>;

// Where a legend character was defined.
struct LegendEntry {
    int code = -1;  // 0..255, or -1 when the character has no meaning
    std::string file;
    int line = 0;
};

// Where the enemies' marker characters are defined: each row of the enemy kind table gives
// its markers their characters, so every legend starts with them.
constexpr const char* kEnemyLegendFile = "src/world/enemy_kinds.h";

// The enemies' marker characters, from the enemy kind table (line 0 of kEnemyLegendFile).
std::array<LegendEntry, 128> enemyLegend();

// Characters 33..126 (all printable ones but ';') and the tile codes they stand for. A legend
// starts with the enemies' characters; legend files add the others, and may give any of them
// another meaning.
struct Legend {
    std::array<LegendEntry, 128> entries = enemyLegend();

    // The code of a character, or -1.
    int codeOf(char c) const;
};

// Whether a character may stand for a cell: printable ASCII without the blank and ';'.
bool isCellCharacter(char c);

// A compiled level: its cells column-major and where each cell was written.
struct CompiledLevel {
    std::string file;
    int32_t width = 0;                       // columns
    std::vector<uint8_t> cells;              // width * 12 codes, column c row r at c * 12 + r
    std::vector<std::array<int, 2>> places;  // line and column of each cell's character
    Legend legend;  // the shared legend with the level's own lines over it, as compiled
};

// Reads legend lines (a legend file is a level file without maps) into the legend; a file may
// not define a character twice. False with diagnostics on errors.
bool readLegend(std::string_view text, std::string_view file, Legend& legend, Diagnostics& errors);
// Compiles a level text with the shared legend and the level's own legend lines (which win).
// False with diagnostics on errors.
bool compileLevel(std::string_view text, std::string_view file, const Legend& shared,
                  CompiledLevel& level, Diagnostics& errors);
// Refuses levels the game cannot play: narrower than 21 columns, wider than 65536, no solid
// cell below the restart point or below a checkpoint, items without exactly one exit door,
// cells that show an actor's picture or none at all. False with diagnostics.
bool checkLevel(const CompiledLevel& level, Diagnostics& errors);
// The level file bytes.
std::vector<uint8_t> levelFileBytes(const CompiledLevel& level);

// What an actor picture shows ("the player", "a blob", ...), or empty when the code is no
// actor picture or is an enemy marker. The checker refuses these codes in levels.
std::string_view actorPictureOf(int code);

// The shared legend of the game's levels (content/levels/legend.txt of the source tree).
std::string sharedLegendPath();
// Reads a whole text file; false when it cannot be read.
bool readTextFile(const std::string& path, std::string& text);
// Compiles a level text with the legend file at legendPath; the level file bytes, or empty
// with diagnostics. For tests and tools that build levels in memory.
std::vector<uint8_t> compileWithLegendFile(std::string_view text, const std::string& legendPath,
                                           Diagnostics& errors, bool check = true);
// The same with the shared legend.
std::vector<uint8_t> compileWithSharedLegend(std::string_view text, Diagnostics& errors,
                                             bool check = true);

}  // namespace level_text
