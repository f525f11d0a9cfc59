// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The checker's findings land on the cells at fault and follow every change; the status
// counts count what the game counts.

#include "edit_fixture.h"
#include "level_counts.h"

#include <gtest/gtest.h>
#include <tuple>

using trolkedit::Cell;
using trolkedit::Document;

namespace {

// 22 columns: an item at column 4, row 9, the door at columns 17..18, rows 8..9, ground below;
// then each (column, row, character) written over it.
std::string level(const std::vector<std::tuple<int, int, char>>& cells, int width = 22) {
    std::vector<std::string> rows(12, std::string(size_t(width), '.'));
    rows[10] = rows[11] = std::string(size_t(width), '#');
    rows[8].replace(17, 2, "[]");
    rows[9].replace(17, 2, "()");
    rows[9][4] = '*';
    for (const auto& [column, row, c] : cells) rows[size_t(row)][size_t(column)] = c;
    return edit_fixture::blockOf(rows);
}

TEST(LevelCheck, EachBrokenRuleIsFoundAtItsCell) {
    const std::vector<std::tuple<std::string, std::string, Cell, std::string>> cases = {
        {"", level({}, 20), Cell{0, 0},
         "the level is 20 columns wide; the view always shows 21, so a level needs at least 21"},
        {"", level({{1, 10, '.'}, {1, 11, '.'}}), Cell{1, 6},
         "no solid cell below the restart point (column 1, rows 7 to 11): the player could not "
         "be placed"},
        {"", level({{10, 5, 'C'}, {10, 10, '.'}, {10, 11, '.'}}), Cell{10, 5},
         "no solid cell below this checkpoint: a restart here could not place the player"},
        {"", level({{17, 8, '.'}, {18, 8, '.'}, {17, 9, '.'}, {18, 9, '.'}}), Cell{4, 9},
         "items need an exit door (27 28 above 47 48), but the level has none"},
        {"", level({{7, 8, '['}, {8, 8, ']'}, {7, 9, '('}, {8, 9, ')'}}), Cell{17, 8},
         "a second exit door top-left cell (27): a level with items has exactly one door"},
        {"", level({{18, 8, '.'}}), Cell{17, 8},
         "the exit door is not a whole 2 x 2 block: 27 28 above 47 48"},
        {"legend $ 10\n", level({{6, 3, '$'}}), Cell{6, 3},
         "code 10 is a picture of a blob and would stand still as scenery"},
        {"legend $ 250\n", level({{6, 3, '$'}}), Cell{6, 3},
         "code 250 has no picture (the tile sheet ends at 239)"},
    };
    EXPECT_TRUE(edit_fixture::open(level({})).findings.empty());
    for (const auto& [legend, text, cell, message] : cases) {
        const Document doc = edit_fixture::open(legend + text);
        ASSERT_EQ(doc.findings.size(), 1u) << message;
        EXPECT_EQ(doc.findings[0].cell, cell) << message;
        EXPECT_EQ(doc.findings[0].message, message);
    }
}

TEST(LevelCheck, TheFindingsFollowEveryChangeAndItsUndo) {
    Document doc = edit_fixture::open(level({{12, 3, 'C'}}));
    ASSERT_TRUE(doc.findings.empty());
    ASSERT_EQ(trolkedit::fill(doc, {12, 10}, {12, 11}, '.').outcome, trolkedit::EDIT_CHANGED);
    ASSERT_EQ(doc.findings.size(), 1u);
    EXPECT_EQ(doc.findings[0].cell, (Cell{12, 3}));
    ASSERT_EQ(trolkedit::deleteColumns(doc, 18, 1).outcome, trolkedit::EDIT_CHANGED);
    ASSERT_EQ(doc.findings.size(), 2u);  // and the door has lost its right half
    EXPECT_EQ(doc.findings[1].cell, (Cell{17, 8}));
    ASSERT_TRUE(trolkedit::undo(doc));
    ASSERT_TRUE(trolkedit::undo(doc));
    EXPECT_TRUE(doc.findings.empty());
    ASSERT_TRUE(trolkedit::redo(doc));
    EXPECT_EQ(doc.findings.size(), 1u);
}

TEST(LevelCheck, TheCountsAreWhatTheGameCounts) {
    Document doc = edit_fixture::open(level({{4, 2, 'v'},
                                             {10, 2, '*'},
                                             {14, 2, 'b'},
                                             {18, 2, 'h'},
                                             {2, 5, '+'},
                                             {7, 5, '*'},
                                             {10, 5, 'C'},
                                             {15, 5, 'g'},
                                             {18, 5, 'G'},
                                             {7, 7, 'p'},
                                             {16, 7, 'C'}}));
    trolkedit::LevelCounts counts = trolkedit::countLevel(doc.level);
    EXPECT_EQ(counts.width, 22);
    EXPECT_EQ(counts.items, 3);
    EXPECT_EQ(counts.extraLives, 1);
    EXPECT_EQ(counts.enemies, 6);
    EXPECT_EQ(counts.start, (Cell{1, 6}));
    EXPECT_EQ(counts.checkpoints, (std::vector<Cell>{{10, 5}, {16, 7}}));
    EXPECT_EQ(counts.door, (Cell{17, 8}));
    // With several doors the game takes the last one in the file, column by column.
    ASSERT_EQ(trolkedit::fill(doc, {2, 0}, {3, 0}, '[').outcome, trolkedit::EDIT_CHANGED);
    EXPECT_EQ(trolkedit::countLevel(doc.level).door, (Cell{17, 8}));
    ASSERT_EQ(trolkedit::paint(doc, {20, 0}, '[').outcome, trolkedit::EDIT_CHANGED);
    EXPECT_EQ(trolkedit::countLevel(doc.level).door, (Cell{20, 0}));
    ASSERT_EQ(trolkedit::fill(doc, {0, 0}, {21, 9}, '.').outcome, trolkedit::EDIT_CHANGED);
    counts = trolkedit::countLevel(doc.level);
    EXPECT_EQ(counts.items + counts.extraLives + counts.enemies, 0);
    EXPECT_TRUE(counts.checkpoints.empty());
    EXPECT_FALSE(counts.door.has_value());
}

}  // namespace
