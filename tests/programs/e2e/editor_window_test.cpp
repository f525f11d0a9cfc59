// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The level editor in a real window, driven with synthetic keys and the mouse: a painted item
// counted on the status line, the text saved and compiled by levelc, a play from a checkpoint
// in the game's own picture with escape back to the map, and a small level proved with its
// way drawn over the map. Texts are looked for on the screenshot as the game's small font
// draws them.

#include "layout.h"
#include "level_text.h"
#include "window_fixture.h"

#include "video/display.h"
#include "video/graphics.h"

#include <functional>
#include <gtest/gtest.h>
#include <list>

namespace fs = std::filesystem;

namespace e2e {

namespace {

constexpr bool kBig = true;
constexpr bool kSmall = false;
constexpr int kStatusRows = 80;  // the status lines lie in the window's last rows
constexpr int kGlyph = 8;

// `columns` columns over ground: items in columns 4 and 15, a checkpoint in column 10 (and one
// in column 25 in a wider level), the door at the end.
std::string walkLevel(int columns) {
    std::vector<std::string> rows(12, std::string(size_t(columns), '.'));
    rows[8].replace(size_t(columns - 5), 2, "[]");
    rows[9].replace(size_t(columns - 5), 2, "()");
    rows[9][4] = rows[9][15] = '*';
    rows[9][10] = 'C';
    if (columns > 30) rows[9][25] = 'C';
    rows[10] = rows[11] = std::string(size_t(columns), '#');
    std::string text = "; a walk\nmap\n";
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// Whether the 5-6-5 bits of a screenshot's pixel are those of the expected pixel.
bool sameAt16Bits(const uint8_t* shot, const uint8_t* expected) {
    return (shot[0] >> 3) == (expected[0] >> 3) && (shot[1] >> 2) == (expected[1] >> 2) &&
           (shot[2] >> 3) == (expected[2] >> 3);
}

// The text drawn at (0, 0) of `text` stands somewhere in the status lines of the shot.
using Sight = std::function<bool(const Picture& shot, std::string& why)>;

Sight showsText(const Expected& text, size_t length) {
    return [&text, length](const Picture& shot, std::string& why) {
        why = "the text is not on the status lines";
        const int w = int(length) * kGlyph;
        for (int y = std::max(0, shot.height - kStatusRows); y + kGlyph <= shot.height; ++y)
            for (int x = 0; x + w <= shot.width; ++x) {
                bool same = true;
                for (int ty = 0; ty < kGlyph && same; ++ty)
                    for (int tx = 0; tx < w && same; ++tx) {
                        const size_t at = size_t(ty * text.plain.width + tx);
                        if (text.decided[at])
                            same = sameAt16Bits(shot.at(x + tx, y + ty), &text.plain.rgb[3 * at]);
                    }
                if (same) return true;
            }
        return false;
    };
}

// The middle of a cell in the window, the level scrolled to its start.
std::pair<int, int> middleOf(trolkedit::Cell cell) {
    const trolkedit::Rect at =
        trolkedit::cellRect(trolkedit::layoutFor(trolkedit::kWindowWidth, 2, {}), 0, cell);
    return {at.x + at.w / 2, at.y + at.h / 2};
}

class EditorWindow : public WindowTest {
  protected:
    // The editor on a level of the working directory; false when no window came.
    bool startEditor(const std::string& level) {
        linkBuiltData();
        return startGame({"--data", workDir().string(), level}, TROLKEDIT_PROGRAM, {},
                         "^trolkedit");
    }
    // Waits for a text on the status lines (at most 40 characters: the width of the picture
    // the expected text is drawn in).
    ::testing::AssertionResult seesText(const std::string& text, int timeoutMs = 8000) {
        if (text.size() * kGlyph > size_t(video::kScreenWidth))
            return ::testing::AssertionFailure() << "\"" << text << "\" is too long to look for";
        texts_.push_back(expect(textAt(text, 0, 0, kSmall)));
        return watch(showsText(texts_.back(), text.size()), "\"" + text + "\"", timeoutMs);
    }
    void clickCell(trolkedit::Cell cell) {
        const auto [x, y] = middleOf(cell);
        window().click(x, y);
    }

  private:
    std::list<Expected> texts_;  // the sights hold on to them
};

TEST_F(EditorWindow, PaintsAnItemThatIsCountedAndSavesTheTextThatLevelcCompiles) {
    test_support::writeText(workDir() / "walk.lvl", walkLevel(30));
    ASSERT_TRUE(startEditor("walk.lvl"));
    ASSERT_TRUE(seesText("items 2"));
    window().type("*");
    clickCell({6, 5});
    ASSERT_TRUE(seesText("items 3", 4000));
    window().tap("ctrl+s");
    ASSERT_TRUE(seesText("saved walk.lvl", 4000));
    std::string painted = walkLevel(30);
    painted[painted.find("map\n") + 4 + 5 * 31 + 6] = '*';
    EXPECT_EQ(test_support::readFile(workDir() / "walk.lvl"), test_support::bytesOf(painted));
    const CommandResult compiled =
        runCommand({LEVELC_PROGRAM, "--legend", level_text::sharedLegendPath(), "-o",
                    (workDir() / "walk.bin").string(), (workDir() / "walk.lvl").string()},
                   {});
    EXPECT_EQ(compiled.status, 0) << compiled.output;
    EXPECT_EQ(fs::file_size(workDir() / "walk.bin"), 2u + 30u * 12u);
    window().tap("ctrl+q");
    EXPECT_EQ(exitStatus(), 0);
}

TEST_F(EditorWindow, PlaysFromACheckpointInTheGamesPictureAndEscapeReturnsToTheMap) {
    test_support::writeText(workDir() / "walk.lvl", walkLevel(60));
    ASSERT_TRUE(startEditor("walk.lvl"));
    ASSERT_TRUE(seesText("checkpoints 2"));
    const auto [x, y] = middleOf({27, 4});
    window().moveMouse(x, y);
    window().tap("F6");
    const Expected call = expect(textCentred("TROLK, RUN!", 96, kBig));
    ASSERT_TRUE(shows(call, Presentation::Nearest, "the game's call to run"));
    // The view begins a cell left of the checkpoint in column 25: the hero stands at x 16.
    const Expected hero = expect([] { video::blitAt(video::tileImages[24], 16, 144); });
    ASSERT_TRUE(shows(hero, Presentation::Nearest, "the hero at the checkpoint"));
    window().tap("Escape");
    ASSERT_TRUE(seesText("at column 25: left with escape"));
    window().tap("ctrl+q");
    EXPECT_EQ(exitStatus(), 0);
}

TEST_F(EditorWindow, ProvesASmallLevelAndDrawsItsWayOverTheMap) {
    test_support::writeText(workDir() / "walk.lvl", walkLevel(30));
    ASSERT_TRUE(startEditor("walk.lvl"));
    ASSERT_TRUE(seesText("F8 proves the level"));
    window().tap("F8");
    ASSERT_TRUE(seesText("proved: every life has a way (2 lives)", 60000));
    // The first way is yellow (255, 230, 0): dots of it over the map.
    const Sight way = [](const Picture& shot, std::string& why) {
        const uint8_t yellow[3] = {255, 230, 0};
        int dots = 0;
        for (int y = 0; y < std::min(shot.height, 384); ++y)
            for (int x = 0; x < shot.width; ++x) dots += sameAt16Bits(shot.at(x, y), yellow);
        why = std::to_string(dots) + " pixels of the way";
        return dots > 100;
    };
    ASSERT_TRUE(watch(way, "the way over the map", 4000));
    window().tap("ctrl+q");
    EXPECT_EQ(exitStatus(), 0);
}

}  // namespace

}  // namespace e2e
