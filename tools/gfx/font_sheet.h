// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game's two bitmap fonts, drawn from one set of glyph shapes. A shape is 7 x 7; the
// glyph of character c sits in cell c - 32 of a sheet of 16 cells per row, from space to
// DEL (96 cells, 6 rows), on the transparent key.
//
// Small font, 8 x 8 cells: the shape at (0, 0), each of its seven rows in its own ink
// colour ("font.1" .. "font.7") and a shadow one pixel right and down ("font.shadow").
// Big font, 16 x 16 cells: the shape doubled with the EPX rule (which rounds its
// diagonals) to 14 x 14 at (1, 1), coloured row by row ("fontbig.1" .. "fontbig.14"),
// the top edge of every stroke lit ("fontbig.shine") and a one-pixel outline all round
// ("fontbig.outline").

#include "image.h"
#include "palette.h"
#include "pixel_art.h"

#include <string>
#include <vector>

namespace gfx {

constexpr int kGlyphShapeSize = 7;
constexpr int kFirstGlyph = 32;  // space
constexpr int kGlyphCount = 96;  // space .. DEL
constexpr int kRequiredLast = 'Z';
constexpr int kGlyphsPerRow = 16;

// The small and the big font sheet of one palette; false when a glyph from space to 'Z' is
// missing, a shape has the wrong size or the palette lacks a font colour.
bool buildFontSheets(const std::vector<Piece>& pieces, const Palette& palette, Image& small,
                     Image& big, std::string& error);
// A shape doubled by the EPX rule: true cells are ink.
std::vector<std::vector<bool>> scaleShape2x(const std::vector<std::vector<bool>>& shape);

}  // namespace gfx

namespace gfx {

// Draws text with a font sheet of square cells of `cell` pixels, keyed, left to right from
// (x, y); characters outside the sheet are skipped.
void drawSheetText(Image& target, const Image& sheet, int cell, int x, int y,
                   const std::string& text);
// The x at which a text of that many glyphs is centred on a picture of the given width.
int centredX(int pictureWidth, int cell, const std::string& text);

}  // namespace gfx
