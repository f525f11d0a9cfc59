// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Text pixel art. A source file holds legends and pieces; a legend maps one character to a
// colour name of the palettes (later legend lines add to or replace earlier ones), and a
// piece is a grid of those characters, one text line per pixel row:
//
//   legend
//   . key
//   o ink
//   end
//   tile 27 28 47 48 2x2 : open exit door        four tiles drawn as one 32 x 32 grid
//   tile 21 style=gb : meadow ground              drawn for the handheld style only
//   tile 5 mirror=1 : hero walking left           derived: no grid follows
//   tile 80 from=20 shift=0,-3 : bump block, up
//   glyph-size 7x7
//   glyph A                                       font shapes: '#' is ink, '.' is empty
//   image letter-T 12x14                          a named grid of any size
//
// Inside a legend every line is an entry ('#' is a character like any other), so comments
// belong outside it.
//
// Derivations: mirror= (left to right), flip= (top to bottom), from= (a copy), each of one
// other tile in the same style, optionally moved by shift=dx,dy.

#include "image.h"
#include "palette.h"
#include "text_source.h"

#include <map>
#include <string>
#include <vector>

namespace gfx {

constexpr int kTileSize = 16;

enum class PieceKind { Tile, Glyph, Image };
enum class Derivation { None, Mirror, Flip, Copy };

struct Piece {
    PieceKind kind = PieceKind::Tile;
    std::vector<int> indices;  // tiles: row-major over the group; glyph: the character code
    std::string name;          // what the piece shows (tiles, images)
    int columns = 1;           // group width in tiles
    int rows = 1;              // group height in tiles
    int width = 0;             // grid width in pixels
    int height = 0;            // grid height in pixels
    int style = -1;            // a Style, or -1 for every style
    Derivation derivation = Derivation::None;
    int source = 0;  // tile derived from
    int shiftX = 0;  // pixels to the right
    int shiftY = 0;  // pixels down
    std::vector<std::string> grid;
    std::map<char, std::string> legend;  // the legend in force where the piece stands
    std::string origin;                  // "file:line" of the header
};

// Reads every piece of a source; false with a reason at the first fault.
bool readPixelArt(TextSource& source, std::vector<Piece>& pieces, std::string& error);
// The piece's grid in the palette's colours; false when the legend names a colour the
// palette lacks.
bool paintPiece(const Piece& piece, const Palette& palette, Image& image, std::string& error);

}  // namespace gfx
