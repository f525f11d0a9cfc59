// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The edits on a level of two blocks with a legend line of its own, a comment between rows
// and one after a row: each changes just the text it should and undoes and redoes byte for
// byte; refused edits change nothing; a long chain of edits undoes and redoes step by step,
// and changes joined into one undo and redo in one step.

#include "edit_fixture.h"
#include "level_edits.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>

using namespace edit_fixture;
using trolkedit::Document;
using trolkedit::EditResult;

namespace {

using Lines = std::vector<std::string>;

// Block one, columns 0..9: lines 4..9 and 11..16 (a comment at line 10, another after row 3);
// block two, columns 10..20: lines 19..30.
Lines baseLines() {
    Lines lines = {"; two blocks", "legend E 187    ; withered tree, top left", "", "map"};
    for (int row = 0; row < 12; ++row) {
        if (row == 6) lines.push_back("; between rows");
        lines.push_back(row >= 10  ? "##########"
                        : row == 3 ? "..........    ; row three"
                                   : "..........");
    }
    lines.insert(lines.end(), {"", "map"});
    for (int row = 0; row < 12; ++row) lines.push_back(row >= 10 ? "###########" : "...........");
    return lines;
}

std::string textOf(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Changes every row line of block one, or of block two.
void blockOne(Lines& l, const std::function<void(std::string&)>& change) {
    for (int row = 0; row < 12; ++row) change(l[size_t(row < 6 ? 4 + row : 5 + row)]);
}
void blockTwo(Lines& l, const std::function<void(std::string&)>& change) {
    for (int row = 0; row < 12; ++row) change(l[size_t(19 + row)]);
}

TEST(LevelEdits, EachEditChangesItsTextAndUndoesAndRedoesByteForByte) {
    struct EditCase {
        std::string name;
        edit_fixture::Edit edit;
        std::function<void(Lines&)> expect;  // what the edit makes of the base lines
        int width;
    };
    const std::vector<EditCase> cases = {
        {"paint", {PAINT, {2, 0}, {}, 0, '*'}, [](Lines& l) { l[4] = "..*......."; }, 21},
        {"paint a code no character has: a legend line after the level's own",
         {PAINT_CODE, {0, 0}, {}, 188},
         [](Lines& l) {
             l[4] = "$.........";
             l.insert(l.begin() + 2, "legend $ 188");
         },
         21},
        {"erase", {ERASE, {0, 10}}, [](Lines& l) { l[15] = ".#########"; }, 21},
        {"fill across both blocks",
         {FILL, {11, 1}, {8, 0}, 0, '*'},
         [](Lines& l) {
             l[4] = l[5] = "........**";
             l[19] = l[20] = "**.........";
         },
         21},
        {"insert two columns inside block one; the comment keeps its column",
         {INSERT, {3, 0}, {}, 2},
         [](Lines& l) {
             blockOne(l, [](std::string& row) { row.insert(3, ".."); });
             l[7] = "............  ; row three";
         },
         23},
        {"insert before block two's first column: block two grows",
         {INSERT, {10, 0}, {}, 1},
         [](Lines& l) { blockTwo(l, [](std::string& row) { row.insert(0, "."); }); },
         22},
        {"insert at the right end: the last block grows",
         {INSERT, {21, 0}, {}, 3},
         [](Lines& l) { blockTwo(l, [](std::string& row) { row += "..."; }); },
         24},
        {"delete across the seam; the comment keeps its column",
         {DELETE, {8, 0}, {}, 5},
         [](Lines& l) {
             blockOne(l, [](std::string& row) { row.erase(8, 2); });
             blockTwo(l, [](std::string& row) { row.erase(0, 3); });
             l[7] = "........      ; row three";
         },
         16},
        {"delete block two: it goes with the blank line before it",
         {DELETE, {10, 0}, {}, 11},
         [](Lines& l) { l.erase(l.begin() + 17, l.end()); },
         10},
        {"delete block one: it goes with one of the blank lines around it",
         {DELETE, {0, 0}, {}, 10},
         [](Lines& l) { l.erase(l.begin() + 3, l.begin() + 18); },
         11},
    };
    const std::string original = textOf(baseLines());
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = edit_fixture::open(original);
        const EditResult result = apply(doc, c.edit);
        ASSERT_EQ(result.outcome, trolkedit::EDIT_CHANGED) << result.why;
        Lines expected = baseLines();
        c.expect(expected);
        EXPECT_EQ(trolkedit::documentText(doc), textOf(expected));
        EXPECT_EQ(doc.level.width, c.width);
        ASSERT_TRUE(trolkedit::undo(doc));
        EXPECT_EQ(trolkedit::documentText(doc), original);
        EXPECT_FALSE(trolkedit::undo(doc));
        ASSERT_TRUE(trolkedit::redo(doc));
        EXPECT_EQ(trolkedit::documentText(doc), textOf(expected));
    }
}

TEST(LevelEdits, RefusedOrEmptyEditsChangeNothing) {
    // A level whose own legend takes every character but the three its text shows.
    std::string crowded;
    for (char c = '!'; c <= '~'; ++c)
        if (std::string(";.#E").find(c) == std::string::npos)
            crowded += "legend " + std::string(1, c) + " 200\n";
    const std::string base = textOf(baseLines());
    const std::vector<std::tuple<std::string, edit_fixture::Edit, std::string>> cases = {
        {base, {PAINT, {0, 0}, {}, 0, '$'}, "the character '$' is not in the legend"},
        {base, {PAINT, {21, 0}, {}, 0, '*'}, "column 21, row 0 is not in the level"},
        {base, {FILL, {0, 0}, {3, 12}, 0, '*'}, "column 3, row 12 is not in the level"},
        {base, {PAINT_CODE, {0, 0}, {}, 256}, "a tile code is 0 to 255, not 256"},
        {crowded + base,
         {PAINT_CODE, {0, 0}, {}, 201},
         "no character is left for a legend line of code 201"},
        {base, {INSERT, {22, 0}, {}, 1}, "there is no column 22"},
        {base, {DELETE, {0, 0}, {}, 21}, "a level keeps at least one column"},
        {base, {DELETE, {20, 0}, {}, 2}, "columns 20 to 21 are not all in the level"},
        {base, {PAINT, {0, 11}, {}, 0, '#'}, ""},  // as it is: nothing to do
        {base, {ERASE, {0, 0}}, ""},
    };
    for (const auto& [text, edit, why] : cases) {
        SCOPED_TRACE(why);
        Document doc = edit_fixture::open(text);
        const EditResult result = apply(doc, edit);
        EXPECT_EQ(result.outcome,
                  why.empty() ? trolkedit::EDIT_UNCHANGED : trolkedit::EDIT_REFUSED);
        EXPECT_EQ(result.why, why);
        EXPECT_EQ(trolkedit::documentText(doc), text);
        EXPECT_FALSE(trolkedit::undo(doc));
    }
}

// A new code takes a free character; a level that has used them all gives one of the shared
// characters its map does not show a meaning of its own.
TEST(LevelEdits, ACodeIsPaintedWithTheSharedLegendsCharacterUnlessTheLevelTookIt) {
    struct CharacterCase {
        std::string legendLines;
        int code;
        char character;  // that stands for the code; 0: none
    };
    const std::vector<CharacterCase> cases = {
        {"", 0, '.'},
        {"", 41, '*'},
        {"", 187, 'E'},
        {"legend 4 29\n", 29, '4'},
        {"legend 4 29\n", 205, 0},  // the shared 4 is an oak's piece, but not in this level
        {"legend $ 21\n", 21, '#'},
        {"", 188, 0},
        {"", 121, 'G'},  // the hat guy's second marker, from the enemy kind table
        {"legend G 187\n", 121, 0},
    };
    for (const CharacterCase& c : cases) {
        const Document doc = edit_fixture::open(c.legendLines + textOf(baseLines()));
        EXPECT_EQ(trolkedit::characterForCode(doc, c.code), c.character) << c.code;
    }
    std::string allTaken;
    Document plain = edit_fixture::open(textOf(baseLines()));
    for (char c = '!'; c <= '~'; ++c)
        if (c != ';' && plain.level.legend.codeOf(c) < 0)
            allTaken += "legend " + std::string(1, c) + " 200\n";
    Document doc = edit_fixture::open(allTaken + textOf(baseLines()));
    ASSERT_EQ(paintCode(doc, {5, 5}, 201).outcome, trolkedit::EDIT_CHANGED);
    EXPECT_EQ(trolkedit::characterAt(doc, {5, 5}), '!');  // the first one no cell shows
    EXPECT_EQ(trolkedit::codeAt(doc, {5, 5}), 201);
}

// The enemies' characters come from the enemy kind table, not from the level: a level without
// legend lines of its own gets its first one above its first map block.
TEST(LevelEdits, TheFirstLegendLineOfALevelGoesAboveItsFirstMap) {
    Lines lines = baseLines();
    lines.erase(lines.begin() + 1);
    Document doc = edit_fixture::open(textOf(lines));
    ASSERT_EQ(paintCode(doc, {0, 0}, 188).outcome, trolkedit::EDIT_CHANGED);
    lines[3] = "$.........";
    lines.insert(lines.begin() + 2, "legend $ 188");
    EXPECT_EQ(trolkedit::documentText(doc), textOf(lines));
}

TEST(LevelEdits, AnyNumberOfEditsUndoAndRedoStepByStep) {
    Document doc = edit_fixture::open(textOf(baseLines()));
    std::vector<std::string> texts{trolkedit::documentText(doc)};
    const char brushes[] = {'*', 'B', '#', '.', '?', '^', 'b'};
    uint32_t seed = 12345;
    auto next = [&](int below) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % uint32_t(below));
    };
    for (int step = 0; step < 300; ++step) {
        const int w = doc.level.width;
        const trolkedit::Cell a{next(w), next(12)}, b{next(w), next(12)};
        const EditKind kind = w == 1 ? INSERT : EditKind(next(DELETE + 1));
        const int number = kind == DELETE ? 1 : kind == INSERT ? 1 + next(3) : 160 + next(8);
        const EditResult result = apply(
            doc,
            {kind, {kind == INSERT ? next(w + 1) : a.column, a.row}, b, number, brushes[next(7)]});
        ASSERT_NE(result.outcome, trolkedit::EDIT_REFUSED) << step << ": " << result.why;
        if (result.outcome == trolkedit::EDIT_CHANGED)
            texts.push_back(trolkedit::documentText(doc));
    }
    for (size_t i = texts.size() - 1; i > 0; --i) {
        ASSERT_TRUE(trolkedit::undo(doc));
        ASSERT_EQ(trolkedit::documentText(doc), texts[i - 1]) << i;
    }
    EXPECT_FALSE(trolkedit::undo(doc));
    for (size_t i = 1; i < texts.size(); ++i) {
        ASSERT_TRUE(trolkedit::redo(doc));
        ASSERT_EQ(trolkedit::documentText(doc), texts[i]) << i;
    }
    // The last ten changes joined (a stroke of the mouse) undo and redo in one step.
    ASSERT_GT(texts.size(), 12u);
    trolkedit::joinChanges(doc, doc.undoStack.size() - 10);
    ASSERT_TRUE(trolkedit::undo(doc));
    EXPECT_EQ(trolkedit::documentText(doc), texts[texts.size() - 11]);
    ASSERT_TRUE(trolkedit::undo(doc));
    EXPECT_EQ(trolkedit::documentText(doc), texts[texts.size() - 12]);
    ASSERT_TRUE(trolkedit::redo(doc));
    ASSERT_TRUE(trolkedit::redo(doc));
    EXPECT_EQ(trolkedit::documentText(doc), texts.back());
    // A new edit after an undo drops what could have been redone.
    ASSERT_TRUE(trolkedit::undo(doc));
    ASSERT_EQ(paintCode(doc, {0, 0}, 255).outcome, trolkedit::EDIT_CHANGED);
    EXPECT_FALSE(trolkedit::redo(doc));
}

}  // namespace
