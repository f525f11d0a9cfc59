// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/text.h"

#include <cstdio>

#include "video/display.h"

namespace video {

namespace {

constexpr char kFirstGlyph = ' ';

int glyphWidth(const FrameList& font) { return font.count > 0 ? font.frames[0]->w : 0; }

void drawGlyph(char c, int x, int y, const FrameList& font) {
    const int index = static_cast<unsigned char>(c) - kFirstGlyph;
    if (index < 0 || index >= font.count) return;
    blitAt(font.frames[size_t(index)], x, y);
}

}  // namespace

void drawText(std::string_view text, int x, int y, const FrameList& font) {
    const int w = glyphWidth(font);
    for (char c : text) {
        if (x > -w) drawGlyph(c, x, y, font);
        x += w;
    }
}

void drawTextCentered(std::string_view text, int y, const FrameList& font) {
    drawText(text, kScreenCentreX - (glyphWidth(font) >> 1) * int(text.size()), y, font);
}

void drawCenteredLines(std::span<const TextLine> lines, const FrameList& font) {
    for (const TextLine& line : lines) drawTextCentered(line.text, line.y, font);
}

void drawLinesOnBlack(std::span<const TextLine> lines, const FrameList& font) {
    fillRect(display.backBuffer, 0, 0, kScreenWidth, kScreenHeight, display.colorBlack);
    drawCenteredLines(lines, font);
}

void drawHudNumber(int value, int x, int digits, const FrameList& font) {
    char number[16];
    const int n = std::snprintf(number, sizeof number, "%d", value);
    const int w = glyphWidth(font);
    for (int i = 0; i < digits - n; ++i) drawText("0", x + i * w, kHudTextY, font);
    drawText(std::string_view(number, size_t(n)), x + (digits - n) * w, kHudTextY, font);
}

}  // namespace video
