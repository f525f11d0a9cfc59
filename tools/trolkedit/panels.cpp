// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A palette entry shows the picture the game shows for its code: the tile image, the moving
// water surface for 160 and 161, nothing for air (0) and for the codes without a picture.

#include "panels.h"

#include "surface_drawing.h"
#include "video/graphics.h"
#include "world/tiles.h"

#include <algorithm>

namespace trolkedit {

namespace {

constexpr Colour kPanelColour{24, 24, 32};
constexpr Colour kRulerColour{36, 36, 48};
constexpr Colour kTickColour{120, 120, 140};
constexpr Colour kHoverColumnColour{90, 90, 130};
constexpr Colour kEmptyTileColour{0, 0, 0};
constexpr Colour kBrushColour{255, 255, 255};
constexpr Colour kWarningColour{110, 16, 16};
constexpr Colour kGoodColour{16, 80, 32};
constexpr Colour kBoxColour{0, 0, 24};
constexpr Colour kBoxBorder{160, 160, 200};
constexpr int kNumberEvery = 5;  // columns between two numbers on the ruler
constexpr int kTickHeight = 3;

void drawCode(SDL_Surface* window, int code, int x, int y, int frame) {
    fill(window, x, y, kCellSize, kCellSize, kEmptyTileColour);
    SDL_Surface* picture = nullptr;
    if (code == world::TILE_WATER_SURFACE_LEFT || code == world::TILE_WATER_SURFACE_RIGHT)
        picture =
            video::waterFrames[size_t(code - world::TILE_WATER_SURFACE_LEFT + ((frame >> 2) & 6))];
    else if (world::hasTileImage(code)) picture = video::tileImages[size_t(code)];
    if (!picture) return;
    SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, window, &at);
}

Colour toneColour(Tone tone) {
    switch (tone) {
    case Tone::Warning: return kWarningColour;
    case Tone::Good: return kGoodColour;
    case Tone::Plain: break;
    }
    return kPanelColour;
}

}  // namespace

void drawRuler(SDL_Surface* window, const Layout& layout, const Session& session) {
    const Rect& r = layout.ruler;
    fill(window, r.x, r.y, r.w, r.h, kRulerColour);
    if (!session.open) return;
    const int columns = session.doc.level.width;
    for (int column = session.viewX / kCellSize; column < columns; ++column) {
        const int x = layout.map.x + (column * kCellSize - session.viewX) * layout.scale;
        if (x >= r.x + r.w) break;
        if (session.hover && session.hover->column == column)
            fill(window, x, r.y, kCellSize * layout.scale, r.h, kHoverColumnColour);
        fill(window, x, r.y, 1, kTickHeight, kTickColour);
        if (session.numbers && column % kNumberEvery == 0 && x >= r.x)
            text(window, std::to_string(column), x + 1, r.y + kTickHeight);
    }
}

void drawPalette(SDL_Surface* window, const Layout& layout, const Session& session, int frame) {
    const Rect& p = layout.palette;
    fill(window, p.x, p.y - kMargin, p.w, p.h + 2 * kMargin, kPanelColour);
    for (const PaletteLabel& label : layout.labels) text(window, label.text, label.x, label.y);
    for (const PaletteSpot& spot : layout.spots) {
        drawCode(window, spot.code, spot.tile.x, spot.tile.y, frame);
        text(window, std::string(1, spot.character), spot.tile.x + (kCellSize - kGlyphSize) / 2,
             spot.tile.y + kCellSize + 1);
        if (spot.character == session.brush)
            outline(window, spot.tile.x - 2, spot.tile.y - 2, kCellSize + 4,
                    kCellSize + kGlyphSize + 5, kBrushColour);
    }
}

void drawStatus(SDL_Surface* window, const Layout& layout, const Session& session) {
    const Rect& s = layout.status;
    fill(window, s.x, s.y, s.w, s.h, kPanelColour);
    const auto lines = statusLines(session);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = statusLineY(layout, int(i));
        fill(window, s.x, y - 1, s.w, kStatusLineHeight, toneColour(lines[i].tone));
        text(window, lines[i].text, s.x + kMargin, y + 1);
    }
}

void drawTextBox(SDL_Surface* window, const Layout& layout, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    size_t longest = 0;
    for (const std::string& line : lines) longest = std::max(longest, line.size());
    const int w = std::min(layout.map.w - 2 * kMargin, int(longest) * kGlyphSize + 2 * kMargin);
    const int lineHeight = kGlyphSize + 2;
    const int h =
        std::min(layout.map.h - 2 * kMargin, int(lines.size()) * lineHeight + 2 * kMargin);
    const int x = layout.map.x + kMargin, y = layout.map.y + kMargin;
    fill(window, x, y, w, h, kBoxColour);
    outline(window, x, y, w, h, kBoxBorder);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineY = y + kMargin + int(i) * lineHeight;
        if (lineY + kGlyphSize > y + h) break;
        text(window, lines[i], x + kMargin, lineY);
    }
}

}  // namespace trolkedit
