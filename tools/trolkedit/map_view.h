// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The map view: the level as the game draws it, from the view's left edge on. The cells are
// drawn by the game's own tile layer (moving water included) over the style's background,
// one level pixel per pixel into a canvas, 320 pixels at a time as the tile layer covers
// them; the proof's ways and the hero at the level start go over them, and the canvas is
// copied into the window at the view's scale. Then, at the window's own resolution: the grid,
// frames round the checkpoints and the door, the checker's findings, the cell under the mouse
// and the rectangle of a fill.
//
// The world's grid holds the level as written (enemy markers and all) while the map is drawn;
// it is loaded afresh from the document every frame, since playing a way or a life uses it.

#include "layout.h"
#include "session.h"
#include "ways_layer.h"

#include <SDL.h>

namespace trolkedit {

struct MapView {
    SDL_Surface* canvas = nullptr;  // the view at one level pixel per pixel
    WaysLayer ways;
};

// Loads the world's grid with the document's cells, as written.
void loadGrid(const Document& doc);
// Draws the map view into the window for frame count `frame` (the water moves with it).
void drawMapView(MapView& view, SDL_Surface* window, const Layout& layout, const Session& session,
                 int frame);
void freeMapView(MapView& view);

}  // namespace trolkedit
