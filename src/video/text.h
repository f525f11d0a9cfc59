// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Bitmap text: one glyph surface per character, a fixed advance, no layout. Strings are
// drawn from a given x or centred on the 320-pixel screen; HUD numbers are right-aligned
// in a fixed count of digit cells with leading zeros.

#include <span>
#include <string_view>

#include "video/graphics.h"

namespace video {

constexpr int kScreenCentreX = 160;
constexpr int kHudTextY = 220;

// Glyphs left to right from (x, y); glyphs wholly left of the screen are skipped, and a
// character without a glyph in the font draws nothing but still advances.
void drawText(std::string_view text, int x, int y, const FrameList& font);
// The same, centred on x 160: starts at 160 - (glyph width / 2) * length.
void drawTextCentered(std::string_view text, int y, const FrameList& font);
// One line of a fixed text screen: centred at its y.
struct TextLine {
    int y;
    std::string_view text;
};

// Draws each line centred at its y.
void drawCenteredLines(std::span<const TextLine> lines, const FrameList& font);
// Fills the whole picture with black and draws the lines centred over it.
void drawLinesOnBlack(std::span<const TextLine> lines, const FrameList& font);
// The value in `digits` glyph cells from x on the HUD line (y 220), zero-padded on the left;
// a longer number grows to the left of x.
void drawHudNumber(int value, int x, int digits, const FrameList& font);

}  // namespace video
