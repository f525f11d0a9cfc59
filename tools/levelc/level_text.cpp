// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level text compiler and checker. Everything is read line by line; every message names
// the file, line and column it is about, and the compiler goes on after an error so that one
// run shows all of them.

#include "level_text.h"

#include "world/enemy_kinds.h"
#include "world/level.h"
#include "world/player.h"
#include "world/tiles.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace level_text {

namespace {

constexpr int kMaxCode = 255;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One line of a text with its number, without its line ending.
struct Line {
    std::string_view text;
    int number = 0;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({line, number++});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

size_t skipBlanks(std::string_view s, size_t at) {
    while (at < s.size() && isBlank(s[at])) ++at;
    return at;
}

size_t wordEnd(std::string_view s, size_t at) {
    while (at < s.size() && !isBlank(s[at])) ++at;
    return at;
}

bool onlyCommentFrom(std::string_view s, size_t at) {
    at = skipBlanks(s, at);
    return at == s.size() || s[at] == kCommentChar;
}

void report(Diagnostics& errors, std::string_view file, int line, int column, std::string message) {
    errors.push_back({std::string(file), line, column, std::move(message)});
}

std::string quoted(char c) { return std::string("'") + c + "'"; }

// The enemy kind whose marker a character stands for, or nullptr.
const world::EnemyKind* enemyOfCharacter(char c) {
    for (const world::EnemyKind& kind : world::kEnemyKinds)
        for (const world::EnemyMarker& marker : kind.markers)
            if (marker.code != world::TILE_EMPTY && marker.legend == c) return &kind;
    return nullptr;
}

// A legend line: "legend <character> <code>", after the word legend at `at`. A level's own
// lines may give any character another meaning; the shared legend may not take an enemy's,
// which would change the marker in every level at once.
void readLegendLine(const Line& line, size_t at, std::string_view file, bool shared, Legend& legend,
                    std::vector<bool>& definedHere, Diagnostics& errors) {
    const std::string_view s = line.text;
    const size_t charAt = skipBlanks(s, at);
    const size_t charEnd = wordEnd(s, charAt);
    if (charAt == s.size()) {
        report(errors, file, line.number, int(at) + 1, "legend line without a character");
        return;
    }
    if (charEnd - charAt != 1 || !isCellCharacter(s[charAt])) {
        report(errors, file, line.number, int(charAt) + 1,
               "a legend character is one printable character other than ';'");
        return;
    }
    const char c = s[charAt];
    const size_t codeAt = skipBlanks(s, charEnd);
    const size_t codeEnd = wordEnd(s, codeAt);
    int code = -1;
    if (codeAt < codeEnd && codeEnd - codeAt <= 3) {
        code = 0;
        for (size_t i = codeAt; i < codeEnd && code >= 0; ++i)
            code = (s[i] >= '0' && s[i] <= '9') ? code * 10 + (s[i] - '0') : -1;
    }
    if (code < 0 || code > kMaxCode) {
        report(errors, file, line.number, int(codeAt) + 1,
               "the legend of " + quoted(c) + " needs a tile code from 0 to 255");
        return;
    }
    if (!onlyCommentFrom(s, codeEnd)) {
        report(errors, file, line.number, int(skipBlanks(s, codeEnd)) + 1,
               "only a comment (starting with ';') may follow a legend line");
        return;
    }
    if (const world::EnemyKind* kind = shared ? enemyOfCharacter(c) : nullptr) {
        report(errors, file, line.number, int(charAt) + 1,
               "the character " + quoted(c) + " marks the " + std::string(kind->name) +
                   " in the enemy kind table (" + kEnemyLegendFile +
                   "); the shared legend cannot give it another meaning");
        return;
    }
    LegendEntry& entry = legend.entries[size_t(c)];
    if (definedHere[size_t(c)]) {
        report(errors, file, line.number, int(charAt) + 1,
               "the character " + quoted(c) + " is already defined at line " +
                   std::to_string(entry.line));
        return;
    }
    definedHere[size_t(c)] = true;
    entry = {code, std::string(file), line.number};
}

// One row of a map block as written.
struct Row {
    std::string_view text;
    int line = 0;
    int column = 0;  // of the row's first character
};

struct Block {
    int line = 0;  // of the word map
    std::vector<Row> rows;
};

// Reads legend lines and map blocks; maps are only allowed when `blocks` is given (a level),
// and without them the text is the shared legend.
void readText(std::string_view text, std::string_view file, Legend& legend,
              std::vector<Block>* blocks, Diagnostics& errors) {
    std::vector<bool> definedHere(legend.entries.size(), false);
    Block* open = nullptr;
    for (const Line& line : splitLines(text)) {
        const std::string_view s = line.text;
        const size_t first = skipBlanks(s, 0);
        if (open) {
            if (first == s.size()) {
                report(errors, file, line.number, 1,
                       "empty line in a map block; a block has exactly 12 rows (write empty "
                       "cells as characters)");
                open = nullptr;
                continue;
            }
            if (s[first] == kCommentChar) continue;
            const size_t end = wordEnd(s, first);
            if (!onlyCommentFrom(s, end))
                report(errors, file, line.number, int(skipBlanks(s, end)) + 1,
                       "only a comment (starting with ';') may follow a map row");
            open->rows.push_back({s.substr(first, end - first), line.number, int(first) + 1});
            if (int(open->rows.size()) == kRows) open = nullptr;
            continue;
        }
        if (first == s.size() || s[first] == kCommentChar) continue;
        const size_t end = wordEnd(s, first);
        const std::string_view word = s.substr(first, end - first);
        if (word == "legend") {
            readLegendLine(line, end, file, !blocks, legend, definedHere, errors);
        } else if (word == "map" && blocks) {
            if (!onlyCommentFrom(s, end))
                report(errors, file, line.number, int(skipBlanks(s, end)) + 1,
                       "only a comment (starting with ';') may follow the word map");
            blocks->push_back({line.number, {}});
            open = &blocks->back();
        } else if (word == "map") {
            report(errors, file, line.number, int(first) + 1, "a legend file holds no maps");
        } else {
            report(errors, file, line.number, int(first) + 1,
                   "expected 'legend', 'map' or a comment (a map block has exactly 12 rows)");
        }
    }
    if (open)
        report(errors, file, open->line, 1,
               "this map block has " + std::to_string(open->rows.size()) +
                   " rows; a block has exactly 12");
}

// The grid of a compiled level, for the checks.
struct Grid {
    const CompiledLevel& level;

    int code(int column, int row) const {
        return level.cells[size_t(column) * kRows + size_t(row)];
    }
    bool solid(int column, int row) const { return world::isSolidCode(code(column, row)); }
    // Whether column `column` holds a solid cell in rows fromRow..11.
    bool groundFrom(int column, int fromRow) const {
        if (column < 0 || column >= level.width) return true;  // the level's ends are walls
        for (int row = fromRow < 0 ? 0 : fromRow; row < kRows; ++row)
            if (solid(column, row)) return true;
        return false;
    }
    void report(Diagnostics& errors, int column, int row, std::string message) const {
        const auto& place = level.places[size_t(column) * kRows + size_t(row)];
        level_text::report(errors, level.file, place[0], place[1], std::move(message));
    }
};

void checkGround(const Grid& grid, Diagnostics& errors) {
    const CompiledLevel& level = grid.level;
    // The restart point of a new level, and the one every checkpoint leaves: the player drops
    // from there onto the first solid cell of its column.
    const int startColumn = world::kRestartStartX / world::kTileSize;
    const int startRow = world::kRestartStartY / world::kTileSize;
    const int firstFeetRow = (world::kRestartStartY + world::kTileSize) / world::kTileSize;
    if (!grid.groundFrom(startColumn, firstFeetRow))
        grid.report(errors, startColumn, startRow,
                    "no solid cell below the restart point (column " + std::to_string(startColumn) +
                        ", rows " + std::to_string(firstFeetRow) +
                        " to 11): the player could not be placed");
    for (int column = 0; column < level.width; ++column)
        for (int row = 0; row < kRows; ++row)
            if (grid.code(column, row) == world::TILE_CHECKPOINT &&
                !grid.groundFrom(column, row + 1))
                grid.report(errors, column, row,
                            "no solid cell below this checkpoint: a restart here could not "
                            "place the player");
}

void checkDoor(const Grid& grid, Diagnostics& errors) {
    const CompiledLevel& level = grid.level;
    int items = 0, doors = 0, firstItem = -1, door = -1;
    for (int i = 0; i < level.width * kRows; ++i) {
        if (level.cells[size_t(i)] == world::TILE_ITEM && items++ == 0) firstItem = i;
        if (level.cells[size_t(i)] == world::TILE_DOOR_TOP_LEFT) {
            if (++doors == 1) door = i;
        }
    }
    if (items == 0) return;
    if (doors == 0) {
        grid.report(errors, firstItem / kRows, firstItem % kRows,
                    "items need an exit door (27 28 above 47 48), but the level has none");
        return;
    }
    if (doors > 1) {
        for (int i = door + 1; i < level.width * kRows; ++i)
            if (level.cells[size_t(i)] == world::TILE_DOOR_TOP_LEFT)
                grid.report(errors, i / kRows, i % kRows,
                            "a second exit door top-left cell (27): a level with items has "
                            "exactly one door");
        return;
    }
    const int column = door / kRows, row = door % kRows;
    const bool whole = column + 1 < level.width && row + 1 < kRows &&
                       grid.code(column + 1, row) == world::TILE_DOOR_TOP_RIGHT &&
                       grid.code(column, row + 1) == world::TILE_DOOR_BOTTOM_LEFT &&
                       grid.code(column + 1, row + 1) == world::TILE_DOOR_BOTTOM_RIGHT;
    if (!whole)
        grid.report(errors, column, row,
                    "the exit door is not a whole 2 x 2 block: 27 28 above 47 48");
}

void checkPictures(const Grid& grid, Diagnostics& errors) {
    const CompiledLevel& level = grid.level;
    for (int column = 0; column < level.width; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int code = grid.code(column, row);
            const std::string_view actor = actorPictureOf(code);
            if (!actor.empty())
                grid.report(errors, column, row,
                            "code " + std::to_string(code) + " is a picture of " +
                                std::string(actor) + " and would stand still as scenery");
            else if (code >= world::kTileImageCount)
                grid.report(errors, column, row,
                            "code " + std::to_string(code) +
                                " has no picture (the tile sheet ends at 239)");
        }
    }
}

// Which pictures the actors show: the player's frames, and every picture of every enemy
// kind's row. Marker codes are left out: they are what a level holds to create an enemy.
struct ActorPictures {
    std::array<std::string, kMaxCode + 1> names{};

    void name(int32_t picture, const std::string& actor) {
        if (picture >= 0 && picture <= kMaxCode) names[size_t(picture)] = actor;
    }

    ActorPictures() {
        for (int32_t frame = world::kFrameWalkRight; frame < world::kFrameWalkLeft + 4; ++frame)
            name(frame, "the player");
        for (int32_t frame : {world::kFrameRest, world::kFrameStandRight, world::kFrameStandLeft})
            name(frame, "the player");
        for (const world::EnemyKind& kind : world::kEnemyKinds) {
            const std::string actor = "a " + std::string(kind.name);
            for (const world::EnemyCycle* cycle : {&kind.left, &kind.right})
                for (int32_t picture : *cycle) name(picture, actor);
            name(kind.stopped, actor);
            name(kind.gettingUp, actor);
        }
        for (const world::EnemyKind& kind : world::kEnemyKinds)
            for (const world::EnemyMarker& marker : kind.markers)
                if (marker.code != world::TILE_EMPTY) names[size_t(marker.code)].clear();
    }
};

}  // namespace

std::string Diagnostic::text() const {
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": error: " + message;
}

std::array<LegendEntry, 128> enemyLegend() {
    std::array<LegendEntry, 128> entries;
    for (const world::EnemyKind& kind : world::kEnemyKinds)
        for (const world::EnemyMarker& marker : kind.markers)
            if (marker.code != world::TILE_EMPTY)
                entries[size_t(marker.legend)] = {marker.code, kEnemyLegendFile, 0};
    return entries;
}

int Legend::codeOf(char c) const { return isCellCharacter(c) ? entries[size_t(c)].code : -1; }

bool isCellCharacter(char c) { return c > ' ' && c <= '~' && c != kCommentChar; }

std::string_view actorPictureOf(int code) {
    static const ActorPictures pictures;
    if (code < 0 || code > kMaxCode) return {};
    return pictures.names[size_t(code)];
}

bool readLegend(std::string_view text, std::string_view file, Legend& legend, Diagnostics& errors) {
    const size_t before = errors.size();
    readText(text, file, legend, nullptr, errors);
    return errors.size() == before;
}

bool compileLevel(std::string_view text, std::string_view file, const Legend& shared,
                  CompiledLevel& level, Diagnostics& errors) {
    const size_t before = errors.size();
    Legend legend = shared;
    std::vector<Block> blocks;
    readText(text, file, legend, &blocks, errors);
    if (blocks.empty() && errors.size() == before)
        report(errors, file, 1, 1, "no map: a level needs at least one block of 12 rows");

    level = {};
    level.file = std::string(file);
    level.legend = legend;
    for (const Block& block : blocks) {
        if (int(block.rows.size()) != kRows) continue;
        const size_t width = block.rows[0].text.size();
        bool even = true;
        for (const Row& row : block.rows) {
            if (row.text.size() != width) {
                report(errors, file, row.line, row.column + int(row.text.size()),
                       "this row has " + std::to_string(row.text.size()) +
                           " cells, the first row of its block " + std::to_string(width));
                even = false;
            }
        }
        if (!even) continue;
        for (size_t column = 0; column < width; ++column) {
            for (const Row& row : block.rows) {
                const char c = row.text[column];
                const int code = legend.codeOf(c);
                if (code < 0)
                    report(errors, file, row.line, row.column + int(column),
                           "the character " + quoted(c) + " is not in the legend");
                level.cells.push_back(uint8_t(code < 0 ? 0 : code));
                level.places.push_back({row.line, row.column + int(column)});
            }
            ++level.width;
        }
    }
    return errors.size() == before;
}

bool checkLevel(const CompiledLevel& level, Diagnostics& errors) {
    const size_t before = errors.size();
    if (level.width == 0) {
        report(errors, level.file, 1, 1, "the level has no columns");
        return false;
    }
    const Grid grid{level};
    if (level.width < world::kMinLevelWidth)
        grid.report(errors, 0, 0,
                    "the level is " + std::to_string(level.width) +
                        " columns wide; the view always shows 21, so a level needs at least 21");
    if (level.width > world::kMaxLevelWidth)
        grid.report(errors, world::kMaxLevelWidth, 0,
                    "the level is " + std::to_string(level.width) +
                        " columns wide; a level file holds at most 65536");
    checkGround(grid, errors);
    checkDoor(grid, errors);
    checkPictures(grid, errors);
    return errors.size() == before;
}

std::vector<uint8_t> levelFileBytes(const CompiledLevel& level) {
    std::vector<uint8_t> bytes(2 + level.cells.size());
    const uint32_t header = uint32_t(level.width - 1);
    bytes[0] = uint8_t(header & 0xFF);
    bytes[1] = uint8_t(header >> 8 & 0xFF);
    std::copy(level.cells.begin(), level.cells.end(), bytes.begin() + 2);
    return bytes;
}

std::string sharedLegendPath() { return LEVEL_TEXT_SHARED_LEGEND; }

bool readTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}

std::vector<uint8_t> compileWithLegendFile(std::string_view text, const std::string& legendPath,
                                           Diagnostics& errors, bool check) {
    std::string legendText;
    if (!readTextFile(legendPath, legendText)) {
        report(errors, legendPath, 0, 0, "cannot read the legend file");
        return {};
    }
    Legend legend;
    CompiledLevel level;
    if (!readLegend(legendText, legendPath, legend, errors) ||
        !compileLevel(text, "<level>", legend, level, errors) ||
        (check && !checkLevel(level, errors)))
        return {};
    return levelFileBytes(level);
}

std::vector<uint8_t> compileWithSharedLegend(std::string_view text, Diagnostics& errors,
                                             bool check) {
    return compileWithLegendFile(text, sharedLegendPath(), errors, check);
}

}  // namespace level_text
