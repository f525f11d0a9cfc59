// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's level text: every shipped level loads and saves byte for byte and comes back
// after each edit and its undo, an edit changes only its bytes whatever the layout, damaged
// files open with one line and leave the disk alone, and the test mode's level file is what
// the game reads.

#include "edit_fixture.h"
#include "level_edits.h"
#include "support/test_support.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using trolkedit::Document;

namespace {

std::string fileText(const fs::path& path) {
    const std::vector<uint8_t> bytes = test_support::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// How many bytes of two texts differ; -1 when their lengths do.
int differences(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return -1;
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

TEST(LevelDocument, EveryShippedLevelSavesByteForByteAndComesBackAfterEachEdit) {
    // The game's seventeen levels (the title level and the sixteen) and the test map.
    const char* levels[] = {"plan0", "beginner", "plan8", "plan2", "plan6", "planc",
                            "plan1", "plan3",    "plan4", "plan7", "plana", "plan9",
                            "planb", "plan5",    "pland", "plane", "planf", "test"};
    test_support::ScratchDirectory scratch;
    for (const char* name : levels) {
        const fs::path source = test_support::sourceDirectory() / "content/levels" / name;
        const std::string original = fileText(source.string() + ".lvl");
        test_support::writeText(std::string(name) + ".lvl", original);
        Document doc;
        std::string message;
        ASSERT_TRUE(trolkedit::openLevel(std::string(name) + ".lvl", doc, message)) << message;
        EXPECT_TRUE(doc.findings.empty()) << name;
        ASSERT_TRUE(trolkedit::saveLevel(doc, message)) << message;
        EXPECT_EQ(fileText(std::string(name) + ".lvl"), original) << name;
        // Painted, filled, a new code, columns in and out: the bytes changed, -1 for a new length.
        using namespace edit_fixture;
        const int w = doc.level.width;
        const std::pair<Edit, int> edits[] = {
            {{PAINT, {w / 2, 0}, {}, 0, '*'}, 1},    {{FILL, {2, 1}, {4, 2}, 0, 'B'}, 6},
            {{PAINT_CODE, {w - 1, 0}, {}, 239}, -1}, {{INSERT, {w / 2, 0}, {}, 3}, -1},
            {{DELETE, {w - 2, 0}, {}, 1}, -1},
        };
        for (const auto& [edit, changedBytes] : edits) {
            SCOPED_TRACE(std::string(name) + ": " + std::to_string(edit.kind));
            ASSERT_EQ(apply(doc, edit).outcome, trolkedit::EDIT_CHANGED);
            const std::string edited = trolkedit::documentText(doc);
            EXPECT_EQ(differences(edited, original), changedBytes);
            ASSERT_TRUE(trolkedit::undo(doc));
            EXPECT_EQ(trolkedit::documentText(doc), original);
            EXPECT_FALSE(trolkedit::isModified(doc));
            ASSERT_TRUE(trolkedit::redo(doc));
            EXPECT_EQ(trolkedit::documentText(doc), edited);
            ASSERT_TRUE(trolkedit::undo(doc));
        }
    }
}

// CR LF endings, a last line without one, rows written further in and comments after rows
// are kept: painting one cell changes exactly its byte.
TEST(LevelDocument, PaintingChangesOnlyTheCellsByteWhateverTheLayout) {
    auto level = [](const std::string& indent, const std::string& end, const std::string& after) {
        std::string text = "; a level\t; with a comment" + end + "map   ; block one" + end;
        for (int row = 0; row < 12; ++row)
            text += indent + std::string(22, row < 10 ? '.' : '#') + (row == 3 ? after : "") + end;
        return text;
    };
    const std::string texts[] = {
        level("", "\r\n", ""),
        level("    ", "\n", ""),
        level("", "\n", "   ; a comment"),
        level("", "\n", "").substr(0, level("", "\n", "").size() - 1),         // no last ending
        level("", "\n", "").substr(0, level("", "\n", "").size() - 1) + "\r",  // a lone CR
    };
    for (const std::string& original : texts) {
        SCOPED_TRACE(original);
        Document doc = edit_fixture::open(original);
        EXPECT_EQ(trolkedit::documentText(doc), original);
        ASSERT_EQ(trolkedit::paint(doc, {5, 3}, '*').outcome, trolkedit::EDIT_CHANGED);
        const std::string edited = trolkedit::documentText(doc);
        ASSERT_EQ(differences(edited, original), 1);
        const size_t at = size_t(
            std::mismatch(edited.begin(), edited.end(), original.begin()).first - edited.begin());
        EXPECT_EQ(edited[at], '*');
        EXPECT_EQ(std::count(edited.begin(), edited.begin() + std::ptrdiff_t(at), '\n'), 5);
        EXPECT_EQ(at, edited.find_first_not_of(' ', edited.rfind('\n', at) + 1) + 5);
        EXPECT_EQ(trolkedit::codeAt(doc, {5, 3}), 41);
        ASSERT_TRUE(trolkedit::undo(doc));
        EXPECT_EQ(trolkedit::documentText(doc), original);
    }
}

TEST(LevelDocument, ADamagedOrUnknownFileOpensWithOneLineAndTheDiskUntouched) {
    auto level = [](int rows, const std::string& last) {
        std::string text = "map\n";
        for (int row = 1; row < rows; ++row) text += std::string(21, '.') + "\n";
        return text + last + "\n";
    };
    struct DamageCase {
        std::string file;  // empty: there is no file
        std::string text;
        std::string says;
    };
    const std::vector<DamageCase> damages = {
        {"dollar.lvl", level(12, "####$################"),
         "dollar.lvl:13:5: error: the character '$' is not in the legend"},
        {"short.lvl", level(11, std::string(21, '.')),
         "short.lvl:1:1: error: this map block has 11 rows; a block has exactly 12"},
        {"uneven.lvl", level(12, "####"),
         "uneven.lvl:13:5: error: this row has 4 cells, the first row of its block 21"},
        {"code.lvl", "legend $ 300\n" + level(12, std::string(21, '.')),
         "code.lvl:1:10: error: the legend of '$' needs a tile code from 0 to 255"},
        {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "picture.png:1:1: error: expected 'legend', 'map' or a comment"},
        {"", "", "missing.lvl: cannot read the level"},
    };
    for (const DamageCase& damage : damages) {
        test_support::ScratchDirectory scratch;
        const std::string path = damage.file.empty() ? "missing.lvl" : damage.file;
        if (!damage.file.empty()) test_support::writeText(path, damage.text);
        const auto writtenAt =
            damage.file.empty() ? fs::file_time_type{} : fs::last_write_time(path);
        Document doc;
        std::string message;
        EXPECT_FALSE(trolkedit::openLevel(path, doc, message));
        EXPECT_EQ(message.rfind(damage.says, 0), 0u) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()),
                  damage.file.empty() ? 0 : 1);
        if (!damage.file.empty()) {
            EXPECT_EQ(fileText(path), damage.text);
            EXPECT_EQ(fs::last_write_time(path), writtenAt);
        }
    }
}

TEST(LevelDocument, AFileWithoutAMapOpensAsANewLevelWrittenOnlyWhenSaved) {
    for (const std::string text : {"", "; my level\nlegend $ 187\n", "; no line ending"}) {
        test_support::ScratchDirectory scratch;
        test_support::writeText("new.lvl", text);
        Document doc;
        std::string message;
        ASSERT_TRUE(trolkedit::openLevel("new.lvl", doc, message)) << message;
        EXPECT_EQ(doc.level.width, 21);
        EXPECT_TRUE(doc.findings.empty());
        EXPECT_TRUE(trolkedit::isModified(doc));
        EXPECT_EQ(fileText("new.lvl"), text);
        const std::string shown = trolkedit::documentText(doc);
        EXPECT_EQ(shown.rfind(text, 0), 0u);
        ASSERT_TRUE(trolkedit::saveLevel(doc, message)) << message;
        EXPECT_FALSE(trolkedit::isModified(doc));
        EXPECT_EQ(fileText("new.lvl"), shown);
    }
}

TEST(LevelDocument, SavingFollowsALinkAndLeavesAReadOnlyFileAlone) {
    test_support::ScratchDirectory scratch;
    const std::string original =
        edit_fixture::blockOf(std::vector<std::string>(12, std::string(21, '#')));
    test_support::writeText("real.lvl", original);
    fs::create_symlink("real.lvl", "linked.lvl");
    test_support::writeText("kept.lvl", original);
    fs::permissions("kept.lvl", fs::perms::owner_read);
    for (const char* path : {"linked.lvl", "kept.lvl"}) {
        Document doc;
        std::string message;
        ASSERT_TRUE(trolkedit::openLevel(path, doc, message));
        ASSERT_EQ(trolkedit::paint(doc, {0, 0}, 'B').outcome, trolkedit::EDIT_CHANGED);
        const bool saved = trolkedit::saveLevel(doc, message);
        EXPECT_EQ(saved, path == std::string("linked.lvl")) << message;
        EXPECT_EQ(trolkedit::isModified(doc), !saved);
    }
    EXPECT_TRUE(fs::is_symlink("linked.lvl"));
    EXPECT_EQ(fileText("real.lvl"), "map\nB" + original.substr(5));
    EXPECT_EQ(fileText("kept.lvl"), original);
    EXPECT_FALSE(fs::exists("kept.lvl.tmp"));
}

TEST(LevelDocument, WritesTheTestModesLevelFileOnlyForALevelTheCheckerPasses) {
    test_support::ScratchDirectory scratch;
    std::vector<std::string> rows(12, "......................");
    rows[8] = ".................[]...";
    rows[9] = "....*............()...";
    rows[10] = rows[11] = "######################";
    Document doc = edit_fixture::open(edit_fixture::blockOf(rows));
    EXPECT_EQ(trolkedit::testMapPath("run"), "run/maps/test.bin");
    std::string message;
    ASSERT_TRUE(trolkedit::writeLevelFile(doc, trolkedit::testMapPath("run"), message)) << message;
    const std::vector<uint8_t> bytes = test_support::readFile("run/maps/test.bin");
    ASSERT_EQ(bytes.size(), 2u + 22u * 12u);
    EXPECT_EQ(bytes[0], 21);  // width - 1, little-endian
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2 + 4 * 12 + 9], 41);   // the item, column 4, row 9
    EXPECT_EQ(bytes[2 + 17 * 12 + 8], 27);  // the door's top-left cell

    ASSERT_EQ(trolkedit::erase(doc, {18, 8}).outcome, trolkedit::EDIT_CHANGED);
    EXPECT_FALSE(trolkedit::writeLevelFile(doc, "other.bin", message));
    EXPECT_EQ(message, "not written: the exit door is not a whole 2 x 2 block: 27 28 above 47 48");
    EXPECT_FALSE(fs::exists("other.bin"));
}

}  // namespace
