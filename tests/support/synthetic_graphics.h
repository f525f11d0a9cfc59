// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A stand-in for the game's pictures in tests: every glyph, tile image and water frame is a
// solid block of its own 16-bit value, so a test can read back which picture was drawn where.
// The back buffer is a 320 x 240 window at 16 bits.

#include <cstdint>
#include <string>
#include <string_view>

namespace test_support {

constexpr uint32_t kGlyphBase = 0x0840;       // glyph of character c: kGlyphBase + c - 32
constexpr uint32_t kTileBase = 0x2000;        // tile image i
constexpr uint32_t kWaterBase = 0x4000;       // water frame k
constexpr uint32_t kBackgroundBase = 0x6000;  // background column x
constexpr uint32_t kMoonValue = 0x7777;
constexpr uint32_t kLogoValue = 0x7888;
constexpr int kBackgroundWidth = 640;
constexpr int kBackgroundHeight = 64;

// Sets up the display and fills the game's picture globals with the stand-ins.
void installSyntheticGraphics();
// Frees them again.
void removeSyntheticGraphics();

// The back buffer's value at (x, y).
uint32_t screenPixel(int x, int y);
// Whether `text` stands centred at y in the font of that glyph size, glyph by glyph.
bool showsCentered(std::string_view text, int y, int glyphSize);
// Whether `text` stands from (x, y) in the font of that glyph size.
bool showsText(std::string_view text, int x, int y, int glyphSize);

}  // namespace test_support
