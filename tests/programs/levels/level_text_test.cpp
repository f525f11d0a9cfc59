// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level text compiler and checker in process: the bytes it writes, the legend rules, and
// every refusal with the place it points at.

#include "level_text.h"
#include "world/tiles.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Twelve rows: `row` repeated, the bottom row solid ground.
std::string block(std::string_view row, std::string_view ground = "") {
    std::string text = "map\n";
    for (int i = 0; i < 11; ++i) text += std::string(row) + "\n";
    text += std::string(ground.empty() ? std::string(row.size(), '#') : std::string(ground));
    return text + "\n";
}

level_text::Legend sharedLegend() {
    std::string text;
    EXPECT_TRUE(level_text::readTextFile(level_text::sharedLegendPath(), text));
    level_text::Legend legend;
    level_text::Diagnostics errors;
    EXPECT_TRUE(level_text::readLegend(text, "legend.txt", legend, errors));
    return legend;
}

// Compiles and checks; the messages as "line:column: message", empty when all is well.
std::vector<std::string> problems(std::string_view text, bool check = true) {
    level_text::CompiledLevel level;
    level_text::Diagnostics errors;
    if (level_text::compileLevel(text, "t.lvl", sharedLegend(), level, errors) && check)
        level_text::checkLevel(level, errors);
    std::vector<std::string> lines;
    for (const auto& e : errors)
        lines.push_back(std::to_string(e.line) + ":" + std::to_string(e.column) + ": " + e.message);
    return lines;
}

std::vector<uint8_t> compiled(std::string_view text) {
    level_text::CompiledLevel level;
    level_text::Diagnostics errors;
    EXPECT_TRUE(level_text::compileLevel(text, "t.lvl", sharedLegend(), level, errors))
        << (errors.empty() ? "" : errors[0].text());
    return level_text::levelFileBytes(level);
}

TEST(LevelCompiler, WritesTheWidthAndTheCellsColumnByColumn) {
    const std::string text = "; a small level\n"
                             "legend z 250\n"
                             "map\n"
                             "z....................  ; the top row\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             ".....................\n"
                             "*...................B\n"
                             "#...................[\n";
    std::vector<uint8_t> expected(2 + 21 * 12, 0);
    expected[0] = 20;
    expected[2 + 0] = 250;                 // column 0, row 0
    expected[2 + 10] = world::TILE_ITEM;   // column 0, row 10
    expected[2 + 11] = world::TILE_BLOCK;  // column 0, row 11
    expected[2 + 20 * 12 + 10] = world::TILE_BRICK;
    expected[2 + 20 * 12 + 11] = world::TILE_DOOR_TOP_LEFT;
    EXPECT_EQ(compiled(text), expected);
}

TEST(LevelCompiler, JoinsMapBlocksLeftToRightAndWritesWideHeaders) {
    std::string text = block(std::string(200, '.')) + "; the next part\n" +
                       block(std::string(100, '.'), std::string(99, '.') + "*");
    const std::vector<uint8_t> bytes = compiled(text);
    ASSERT_EQ(bytes.size(), 2u + 300 * 12);
    EXPECT_EQ(bytes[0], 299 & 0xFF);
    EXPECT_EQ(bytes[1], 299 >> 8);
    EXPECT_EQ(bytes[2 + 199 * 12 + 11], world::TILE_BLOCK);
    EXPECT_EQ(bytes[2 + 200 * 12 + 11], 0);
    EXPECT_EQ(bytes[2 + 299 * 12 + 11], world::TILE_ITEM);
}

TEST(LevelCompiler, ALevelsOwnLegendLinesWinOverTheSharedOnes) {
    const std::vector<uint8_t> bytes =
        compiled("legend # 130\nlegend k 0\nlegend K 255\n" + block("kK###################"));
    EXPECT_EQ(bytes[2 + 0], 0);
    EXPECT_EQ(bytes[2 + 12], 255);
    EXPECT_EQ(bytes[2 + 2 * 12], 130);
    EXPECT_EQ(bytes[2 + 2 * 12 + 11], 130);
}

TEST(LevelCompiler, PointsAtEveryMistakeInTheText) {
    const std::string row = ".....................";
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"legend k 256\n" + block(row), "1:10: the legend of 'k' needs a tile code from 0 to 255"},
        {"legend k 1x\n" + block(row), "1:10: the legend of 'k' needs a tile code from 0 to 255"},
        {"legend k\n" + block(row), "1:9: the legend of 'k' needs a tile code from 0 to 255"},
        {"legend kk 3\n" + block(row),
         "1:8: a legend character is one printable character other than ';'"},
        {"legend\n" + block(row), "1:7: legend line without a character"},
        {"legend k 3 4\n" + block(row),
         "1:12: only a comment (starting with ';') may follow a legend line"},
        {"legend k 3\nlegend k 4\n" + block(row),
         "2:8: the character 'k' is already defined at line 1"},
        {"maps\n", "1:1: expected 'legend', 'map' or a comment (a map block has exactly 12 rows)"},
        {"; nothing\n", "1:1: no map: a level needs at least one block of 12 rows"},
        {block(".....Z..............."), "2:6: the character 'Z' is not in the legend"},
        {"map\n" + row + " #\n", "2:23: only a comment (starting with ';') may follow a map row"},
        {"map\n" + row + "\n\n", "3:1: empty line in a map block; a block has exactly 12 rows "
                                 "(write empty cells as characters)"},
        {"map\n" + row + "\n", "1:1: this map block has 1 rows; a block has exactly 12"},
        {block(row) + row + "\n",
         "14:1: expected 'legend', 'map' or a comment (a map block has exactly 12 rows)"},
        {"map\n" + row + "\n..\n" + block(row).substr(4 + 2 * 22),
         "3:3: this row has 2 cells, the first row of its block 21"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> found = problems(c.text, false);
        ASSERT_FALSE(found.empty()) << c.text;
        EXPECT_EQ(found[0], c.message) << c.text;
    }
}

TEST(LevelCompiler, TheSharedLegendHoldsNoMapsAndLeavesTheEnemiesCharactersAlone) {
    const struct {
        std::string text;
        std::string message;  // empty: read without a fault
    } cases[] = {
        {"legend k 111\n", ""},
        {"legend k 111\nmap\n", "2:1: a legend file holds no maps"},
        {"legend b 111\n",
         "1:8: the character 'b' marks the blob in the enemy kind table (src/world/enemy_kinds.h); "
         "the shared legend cannot give it another meaning"},
        {"legend G 0\n",
         "1:8: the character 'G' marks the hat guy in the enemy kind table "
         "(src/world/enemy_kinds.h); the shared legend cannot give it another meaning"},
    };
    for (const auto& c : cases) {
        level_text::Legend legend;
        level_text::Diagnostics errors;
        EXPECT_EQ(level_text::readLegend(c.text, "legend.txt", legend, errors), c.message.empty());
        const std::string found = errors.empty() ? ""
                                                 : std::to_string(errors[0].line) + ":" +
                                                       std::to_string(errors[0].column) + ": " +
                                                       errors[0].message;
        EXPECT_EQ(found, c.message) << c.text;
    }
    // A level's own line may still give an enemy's character another meaning.
    EXPECT_EQ(compiled("legend b 111\n" + block("b....................."))[2], 111);
}

TEST(LevelCompiler, CommentsMayStandAnywhereOutsideTheRows) {
    const std::string text = "   ; indented comment\n"
                             "legend k 130 ; the k\n"
                             "map ; first part\n"
                             "k....................\n"
                             "; between rows\n" +
                             block(".....................").substr(4 + 22);
    EXPECT_TRUE(problems(text, false).empty());
}

// Nine empty rows, then rows 9, 10 and 11 as given (lines 11, 12 and 13 of the text).
std::string bottom(std::string_view r9, std::string_view r10, std::string_view r11) {
    std::string text = "map\n";
    for (int i = 0; i < 9; ++i) text += std::string(r9.size(), '.') + "\n";
    return text + std::string(r9) + "\n" + std::string(r10) + "\n" + std::string(r11) + "\n";
}

TEST(LevelChecker, RefusesLevelsTheGameCannotPlay) {
    const std::string row = ".....................";
    const std::string ground = "#####################";
    const std::string secondDoor =
        "11:18: a second exit door top-left cell (27): a level with items has exactly one door";
    const struct {
        std::string text;
        std::vector<std::string> messages;
    } cases[] = {
        {block("...................."),
         {"2:1: the level is 20 columns wide; the view always shows 21, so a level needs at "
          "least 21"}},
        {block(row, "#.###################"),
         {"8:2: no solid cell below the restart point (column 1, rows 7 to 11): the player "
          "could not be placed"}},
        {bottom(row, "...#...C.............", "#######...###########"),
         {"12:8: no solid cell below this checkpoint: a restart here could not place the "
          "player"}},
        {bottom(row, ".....*...............", ground),
         {"12:6: items need an exit door (27 28 above 47 48), but the level has none"}},
        {bottom(".....*...[]......[]..", ".........()......()..", ground), {secondDoor}},
        {bottom(".....*......[].......", "............((.......", ground),
         {"11:13: the exit door is not a whole 2 x 2 block: 27 28 above 47 48"}},
        {bottom("....................[", "....................(", ground.substr(1) + "*"),
         {"11:21: the exit door is not a whole 2 x 2 block: 27 28 above 47 48"}},
        // Without items a level needs no door at all, and may hold several.
        {bottom(".........[]......[]..", ".........()......()..", ground), {}},
        {block(".......C.............", ground), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(problems(c.text), c.messages) << c.text;
}

TEST(LevelChecker, RefusesActorPicturesAndCodesWithoutAPictureButTakesMarkers) {
    const struct {
        int code;
        std::string refusal;  // empty: accepted
    } cases[] = {
        {1, "a picture of the player"},
        {8, "a picture of the player"},
        {24, "a picture of the player"},
        {65, "a picture of the player"},
        {68, "a picture of the player"},
        {10, "a picture of a blob"},
        {12, "a picture of a blob"},
        {14, "a picture of a hoglet"},
        {16, "a picture of a hoglet"},
        {34, "a picture of a bat"},
        {35, "a picture of a bat"},
        {37, "a picture of a bat"},
        {57, "a picture of a bat"},
        {54, "a picture of a piranha"},
        {56, "a picture of a piranha"},
        {122, "a picture of a hat guy"},
        {126, "a picture of a hat guy"},
        {141, "a picture of a hat guy"},
        {144, "a picture of a hat guy"},
        {240, "has no picture"},
        {255, "has no picture"},
        {9, ""},
        {13, ""},
        {33, ""},
        {53, ""},
        {67, ""},
        {121, ""},
        {0, ""},
        {17, ""},
        {239, ""},
        {140, ""},
        {145, ""},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> found =
            problems("legend z " + std::to_string(c.code) + "\n" + block("....z................"));
        if (c.refusal.empty()) {
            EXPECT_TRUE(found.empty()) << c.code << ": " << found[0];
        } else {
            ASSERT_EQ(found.size(), 11u) << c.code;  // one per cell written with it
            EXPECT_NE(found[0].find(c.refusal), std::string::npos) << found[0];
            EXPECT_EQ(found[0].rfind("3:5: code " + std::to_string(c.code), 0), 0u) << found[0];
        }
    }
}

TEST(SharedLegend, GivesEveryRuleCodeACharacterAndOnlyCodesALevelMayHold) {
    const level_text::Legend legend = sharedLegend();
    std::vector<bool> written(256, false);
    for (int c = 0; c < 128; ++c) {
        const int code = legend.codeOf(char(c));
        if (code < 0) continue;
        EXPECT_TRUE(level_text::actorPictureOf(code).empty()) << char(c) << " " << code;
        EXPECT_LT(code, 240) << char(c);  // the tile sheet holds 240 pictures
        written[size_t(code)] = true;
    }
    // The codes with a rule that a level file holds.
    for (int code : {0,   9,   13,  17,  20,  21,  22,  23,  26,  27,  28,  33, 40,  41,
                     43,  44,  47,  48,  53,  63,  64,  67,  69,  85,  87,  88, 105, 121,
                     128, 129, 130, 131, 132, 133, 134, 135, 136, 140, 160, 161})
        EXPECT_TRUE(written[size_t(code)]) << "no character for code " << code;
    EXPECT_EQ(legend.codeOf(';'), -1);
    EXPECT_EQ(legend.codeOf(' '), -1);
}

}  // namespace
