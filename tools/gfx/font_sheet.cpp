// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "font_sheet.h"

#include <array>

namespace gfx {

namespace {

using Shape = std::vector<std::vector<bool>>;

constexpr int kSmallCell = 8;
constexpr int kBigCell = 16;
constexpr int kBigInkRows = 2 * kGlyphShapeSize;

bool ink(const Shape& s, int x, int y) {
    return y >= 0 && y < int(s.size()) && x >= 0 && x < int(s[y].size()) && s[y][x];
}

bool colour(const Palette& palette, const std::string& name, Rgb& out, std::string& error) {
    const Rgb* found = palette.find(name);
    if (!found) {
        error = "the palette has no font colour " + name;
        return false;
    }
    out = *found;
    return true;
}

void drawSmall(const Shape& shape, const std::array<Rgb, kGlyphShapeSize>& rows, Rgb shadow,
               Image& sheet, int cellX, int cellY) {
    for (int y = 0; y < kSmallCell; ++y)
        for (int x = 0; x < kSmallCell; ++x) {
            if (ink(shape, x, y)) sheet.set(cellX + x, cellY + y, rows[y]);
            else if (ink(shape, x - 1, y - 1)) sheet.set(cellX + x, cellY + y, shadow);
        }
}

void drawBig(const Shape& shape, const std::array<Rgb, kBigInkRows>& rows, Rgb shine, Rgb outline,
             Image& sheet, int cellX, int cellY) {
    const Shape big = scaleShape2x(shape);
    for (int y = 0; y < kBigCell; ++y)
        for (int x = 0; x < kBigCell; ++x) {
            const int sx = x - 1;
            const int sy = y - 1;
            if (ink(big, sx, sy)) {
                const bool edge = !ink(big, sx, sy - 1) && sy < kBigInkRows / 2;
                sheet.set(cellX + x, cellY + y, edge ? shine : rows[sy]);
                continue;
            }
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) near = near || ink(big, sx + dx, sy + dy);
            if (near) sheet.set(cellX + x, cellY + y, outline);
        }
}

}  // namespace

Shape scaleShape2x(const Shape& shape) {
    const int h = int(shape.size());
    const int w = h ? int(shape[0].size()) : 0;
    Shape out(size_t(2 * h), std::vector<bool>(size_t(2 * w), false));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool p = shape[y][x];
            const bool a = ink(shape, x, y - 1);  // above
            const bool b = ink(shape, x + 1, y);  // right
            const bool c = ink(shape, x - 1, y);  // left
            const bool d = ink(shape, x, y + 1);  // below
            out[2 * y][2 * x] = (c == a && c != d && a != b) ? a : p;
            out[2 * y][2 * x + 1] = (a == b && a != c && b != d) ? b : p;
            out[2 * y + 1][2 * x] = (d == c && d != b && c != a) ? c : p;
            out[2 * y + 1][2 * x + 1] = (b == d && b != a && d != c) ? d : p;
        }
    return out;
}

bool buildFontSheets(const std::vector<Piece>& pieces, const Palette& palette, Image& small,
                     Image& big, std::string& error) {
    std::array<const Piece*, kGlyphCount> glyphs{};
    for (const Piece& piece : pieces) {
        if (piece.kind != PieceKind::Glyph) continue;
        if (piece.width != kGlyphShapeSize || piece.height != kGlyphShapeSize) {
            error = piece.origin + ": glyph shapes are 7x7";
            return false;
        }
        const int cell = piece.indices[0] - kFirstGlyph;
        if (glyphs[cell]) {
            error = piece.origin + ": glyph drawn twice, first at " + glyphs[cell]->origin;
            return false;
        }
        glyphs[cell] = &piece;
    }
    for (int c = kFirstGlyph; c <= kRequiredLast; ++c)
        if (!glyphs[c - kFirstGlyph]) {
            error = std::string("no glyph for '") + char(c) + "'";
            return false;
        }

    std::array<Rgb, kGlyphShapeSize> smallRows;
    std::array<Rgb, kBigInkRows> bigRows;
    Rgb shadow, shine, outline;
    for (int i = 0; i < kGlyphShapeSize; ++i)
        if (!colour(palette, "font." + std::to_string(i + 1), smallRows[i], error)) return false;
    for (int i = 0; i < kBigInkRows; ++i)
        if (!colour(palette, "fontbig." + std::to_string(i + 1), bigRows[i], error)) return false;
    if (!colour(palette, "font.shadow", shadow, error) ||
        !colour(palette, "fontbig.shine", shine, error) ||
        !colour(palette, "fontbig.outline", outline, error))
        return false;

    const int sheetRows = kGlyphCount / kGlyphsPerRow;
    small = Image(kGlyphsPerRow * kSmallCell, sheetRows * kSmallCell);
    big = Image(kGlyphsPerRow * kBigCell, sheetRows * kBigCell);
    for (int cell = 0; cell < kGlyphCount; ++cell) {
        if (!glyphs[cell]) continue;
        const Piece& piece = *glyphs[cell];
        Shape shape(kGlyphShapeSize, std::vector<bool>(kGlyphShapeSize, false));
        for (int y = 0; y < kGlyphShapeSize; ++y)
            for (int x = 0; x < kGlyphShapeSize; ++x)
                shape[y][x] = piece.legend.at(piece.grid[y][x]) != "key";
        const int column = cell % kGlyphsPerRow;
        const int row = cell / kGlyphsPerRow;
        drawSmall(shape, smallRows, shadow, small, column * kSmallCell, row * kSmallCell);
        drawBig(shape, bigRows, shine, outline, big, column * kBigCell, row * kBigCell);
    }
    return true;
}

}  // namespace gfx

namespace gfx {

void drawSheetText(Image& target, const Image& sheet, int cell, int x, int y,
                   const std::string& text) {
    const int perRow = sheet.width / cell;
    const int count = perRow * (sheet.height / cell);
    for (char ch : text) {
        const int index = static_cast<unsigned char>(ch) - kFirstGlyph;
        if (index >= 0 && index < count)
            blit(target, crop(sheet, (index % perRow) * cell, (index / perRow) * cell, cell, cell),
                 x, y, true);
        x += cell;
    }
}

int centredX(int pictureWidth, int cell, const std::string& text) {
    return pictureWidth / 2 - (cell / 2) * int(text.size());
}

}  // namespace gfx
