// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Text positions read back from the back buffer, with a font whose every glyph is a block of
// its own colour.

#include "video/text.h"

#include <gtest/gtest.h>

#include "support/picture_fixture.h"
#include "support/sdl_fixture.h"
#include "video/display.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        video::DisplaySettings window;
        window.fullScreen = window.zoom = false;
        video::setUpDisplay(window);
        font = makeFont(8, 59);  // space .. 'Z'
        big = makeFont(16, 59);
        clear();
    }
    void TearDown() override {
        video::freeFrameList(font);
        video::freeFrameList(big);
    }

    static uint32_t glyphColour(int index) {
        return uint32_t(0x0840 + index);  // a distinct 16-bit value per glyph
    }
    static video::FrameList makeFont(int size, int count) {
        video::FrameList list;
        list.count = count;
        list.frames.reset(new SDL_Surface*[size_t(count) + 1]);
        for (int i = 0; i < count; ++i) {
            SDL_Surface* glyph = test_support::makeSurface(size, size, 16);
            SDL_FillRect(glyph, nullptr, glyphColour(i));
            list.frames[size_t(i)] = glyph;
        }
        list.frames[size_t(count)] = nullptr;
        return list;
    }
    static void clear() {
        SDL_FillRect(video::display.backBuffer, nullptr, video::display.colorBlack);
    }
    // The characters drawn along a row, one per glyph cell starting at x0 (`.` for none).
    static std::string readRow(int x0, int y, int cells, int size) {
        std::string seen;
        for (int i = 0; i < cells; ++i) {
            const int x = x0 + i * size;
            char c = '.';
            if (x >= 0 && x < 320) {
                const uint32_t v = test_support::pixelAt(video::display.backBuffer, x, y);
                for (int g = 0; g < 59; ++g)
                    if (v == glyphColour(g)) c = char(' ' + g);
            }
            seen += c;
        }
        return seen;
    }

    video::FrameList font;
    video::FrameList big;
};

TEST_F(TextTest, CentringUsesHalfTheGlyphWidthPerCharacter) {
    video::drawTextCentered("EXIT", 10, font);
    EXPECT_EQ(readRow(136, 12, 6, 8), ".EXIT.");  // starts at 160 - 4 * 4 = 144
    clear();
    video::drawTextCentered("GO ON", 10, font);
    EXPECT_EQ(readRow(132, 12, 7, 8), ".GO ON.");
    clear();
    video::drawTextCentered("GO ON", 40, big);
    EXPECT_EQ(readRow(104, 45, 7, 16), ".GO ON.");  // starts at 160 - 8 * 5 = 120
}

TEST_F(TextTest, GlyphsWhollyLeftOfTheScreenAreSkippedAndTheRestDrawn) {
    const std::string line(43, 'A');  // starts at 160 - 172 = -12
    video::drawTextCentered(line + "Z", 0, font);
    EXPECT_EQ(test_support::pixelAt(video::display.backBuffer, 0, 0),
              glyphColour('A' - ' '));  // clipped
    video::drawText("AB", -8, 20, font);
    EXPECT_EQ(readRow(0, 20, 1, 8), "B");
}

TEST_F(TextTest, CharactersWithoutAGlyphDrawNothingButAdvance) {
    video::drawText("A\x7f"
                    "B~",
                    0, 0, font);  // 127 and '~' lie beyond this font's 59 glyphs
    EXPECT_EQ(readRow(0, 2, 4, 8), "A.B.");
    clear();
    video::drawText("", 0, 0, font);
    EXPECT_EQ(readRow(0, 2, 1, 8), ".");
}

TEST_F(TextTest, HudNumbersArePaddedWithZerosAndGrowLeftWhenTooLong) {
    const struct {
        int value, x, digits;
        const char* expected;  // as seen from x - 2 cells
    } cases[] = {
        {7, 124, 4, "..0007."}, {12345, 124, 4, ".12345."}, {0, 64, 2, "..00."},
        {-5, 64, 2, "..-5."},   {99, 216, 2, "..99."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        clear();
        video::drawHudNumber(c.value, c.x, c.digits, big);
        EXPECT_EQ(readRow(c.x - 32, 222, int(std::string(c.expected).size()), 16), c.expected);
    }
}

}  // namespace
