// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The background repeats every picture width at half the view's speed, as in the game, but
// continuously across the whole view (the game's background is one screen wide); the moon
// is left out, since a view wider than a screen would need it more than once.

#include "map_view.h"

#include "surface_drawing.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/scene.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"

#include <algorithm>
#include <memory>

namespace trolkedit {

namespace {

constexpr int kStripWidth = 320;  // the tile layer covers one screen
constexpr Colour kBeyondLevel{40, 40, 48};
constexpr Colour kGridColour{90, 90, 110};
constexpr Colour kStartColour{80, 255, 120};
constexpr Colour kCheckpointColour{0, 220, 255};
constexpr Colour kDoorColour{255, 220, 0};
constexpr Colour kFindingColour{255, 40, 40};
constexpr Colour kHoverColour{255, 255, 255};
constexpr Colour kFillColour{255, 140, 0};
constexpr int kMarkThickness = 2;

void makeCanvas(MapView& view, SDL_Surface* window, const Layout& layout) {
    const int w = viewPixels(layout) + kCellSize;  // room for a part of one more cell
    if (view.canvas && view.canvas->w == w &&
        view.canvas->format->BitsPerPixel == window->format->BitsPerPixel)
        return;
    if (view.canvas) SDL_FreeSurface(view.canvas);
    view.canvas = surfaceLike(window, w, kMapRowsHigh);
}

void drawBackdrop(SDL_Surface* canvas, int viewX) {
    fill(canvas, 0, 0, canvas->w, canvas->h, {});
    SDL_Surface* back = video::backgroundImage;
    if (!back) return;
    const int top = kMapRowsHigh - back->h;
    for (int x = -((viewX >> 1) % back->w); x < canvas->w; x += back->w) {
        SDL_Rect at{Sint16(x), Sint16(top), 0, 0};
        SDL_BlitSurface(back, nullptr, canvas, &at);
    }
}

void drawTiles(SDL_Surface* canvas, int viewX, int frame) {
    for (int left = 0; left < canvas->w; left += kStripWidth) {
        SDL_Surface* strip =
            areaOf(canvas, left, std::min(kStripWidth, canvas->w - left), canvas->h);
        {
            DrawTarget target(strip);
            world::life.cameraX = viewX + left;
            video::drawTileLayer(frame);
        }
        SDL_FreeSurface(strip);
    }
}

// The hero where a new level's first life stands, drawn with his picture.
void drawHeroAtStart(SDL_Surface* canvas, int viewX) {
    const std::optional<int32_t> y = world::restingY(world::kRestartStartX, world::kRestartStartY);
    if (!y) return;
    DrawTarget target(canvas);
    video::blitAt(video::tileImages[size_t(world::kFrameRest)], world::kRestartStartX - viewX, *y);
}

void mark(SDL_Surface* window, const Layout& layout, int viewX, Cell from, Cell to, Colour colour,
          int thickness) {
    const Rect a = cellRect(layout, viewX, from), b = cellRect(layout, viewX, to);
    const int x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    outline(window, x, y, std::max(a.x, b.x) + a.w - x, std::max(a.y, b.y) + a.h - y, colour,
            thickness);
}

void drawGrid(SDL_Surface* window, const Layout& layout, int viewX, int columns) {
    const int size = kCellSize * layout.scale;
    const int levelRight = layout.map.x + (columns * kCellSize - viewX) * layout.scale;
    const int right = std::min(layout.map.x + layout.map.w, levelRight);
    for (int column = viewX / kCellSize; column <= columns; ++column) {
        const int x = layout.map.x + (column * kCellSize - viewX) * layout.scale;
        if (x >= layout.map.x && x < layout.map.x + layout.map.w)
            fill(window, x, layout.map.y, 1, layout.map.h, kGridColour);
    }
    for (int row = 1; row < 12; ++row)
        fill(window, layout.map.x, layout.map.y + row * size, right - layout.map.x, 1, kGridColour);
}

void drawMarks(SDL_Surface* window, const Layout& layout, const Session& session) {
    const int viewX = session.viewX;
    const LevelCounts& counts = session.counts;
    if (const std::optional<int32_t> y =
            world::restingY(world::kRestartStartX, world::kRestartStartY)) {
        const Cell start{world::kRestartStartX / kCellSize, *y / kCellSize};
        mark(window, layout, viewX, start, start, kStartColour, kMarkThickness);
        const Rect at = cellRect(layout, viewX, start);
        text(window, "START", at.x, std::max(layout.map.y, at.y - kGlyphSize - 1));
    }
    for (size_t i = 0; i < counts.checkpoints.size(); ++i) {
        const Cell c = counts.checkpoints[i];
        mark(window, layout, viewX, c, c, kCheckpointColour, kMarkThickness);
        const Rect at = cellRect(layout, viewX, c);
        text(window, "C" + std::to_string(i + 1), at.x,
             std::max(layout.map.y, at.y - kGlyphSize - 1));
    }
    if (counts.door) {
        const Cell door = *counts.door;
        mark(window, layout, viewX, door, {door.column + 1, door.row + 1}, kDoorColour,
             kMarkThickness);
        const Rect at = cellRect(layout, viewX, door);
        text(window, "EXIT", at.x, std::max(layout.map.y, at.y - kGlyphSize - 1));
    }
    for (const Finding& finding : session.doc.findings)
        if (finding.cell)
            mark(window, layout, viewX, *finding.cell, *finding.cell, kFindingColour,
                 kMarkThickness);
    if (session.stroke == Stroke::Fill && session.strokeLast)
        mark(window, layout, viewX, session.strokeFrom, *session.strokeLast, kFillColour, 1);
    else if (session.hover)
        mark(window, layout, viewX, *session.hover, *session.hover, kHoverColour, 1);
}

}  // namespace

void loadGrid(const Document& doc) {
    const level_text::CompiledLevel& level = doc.level;
    world::LevelMap& grid = world::levelMap;
    if (grid.width != level.width || !grid.cells) {
        grid.cells = std::make_unique<world::TileCode[]>(level.cells.size());
        grid.width = level.width;
    }
    std::copy(level.cells.begin(), level.cells.end(), grid.cells.get());
}

void drawMapView(MapView& view, SDL_Surface* window, const Layout& layout, const Session& session,
                 int frame) {
    if (!session.open) {
        fill(window, layout.map.x, layout.map.y, layout.map.w, layout.map.h, kBeyondLevel);
        return;
    }
    makeCanvas(view, window, layout);
    updateWays(view.ways, session);
    loadGrid(session.doc);
    const int viewX = session.viewX;
    drawBackdrop(view.canvas, viewX);
    drawTiles(view.canvas, viewX, frame);
    drawHeroAtStart(view.canvas, viewX);
    if (session.proving) drawWays(view.ways, view.canvas, viewX);
    copyScaled(view.canvas, window, layout.map.x, layout.map.y, layout.scale);
    // Beyond the level's right end, and below the map at scale 1, nothing of the level.
    const int columns = session.doc.level.width;
    const int levelRight = layout.map.x + (columns * kCellSize - viewX) * layout.scale;
    fill(window, levelRight, layout.map.y, layout.map.x + layout.map.w - levelRight, layout.map.h,
         kBeyondLevel);
    if (session.grid) drawGrid(window, layout, viewX, columns);
    drawMarks(window, layout, session);
}

void freeMapView(MapView& view) {
    if (view.canvas) SDL_FreeSurface(view.canvas);
    view.canvas = nullptr;
    freeWays(view.ways);
}

}  // namespace trolkedit
