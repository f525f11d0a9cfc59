// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The proof's ways over the map, drawn as trolkrender --replay draws them: every life's way
// played back with the world rules once, when the proof changes, and its dots drawn over the
// part of the level in view every frame. A life without a way shows the way to the state that
// came closest, ending where the bot got stuck.

#include "path_overlay.h"
#include "session.h"

#include <SDL.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace trolkedit {

struct WayPath {
    std::vector<std::pair<int32_t, int32_t>> boxes;  // the hero's box after every frame
    level_render::PathEnd end = level_render::PATH_STOP;
    level_render::PathColour colour;
};

struct WaysLayer {
    int version = -1;  // the session's proofVersion the paths belong to
    std::vector<WayPath> paths;
    level_render::Picture picture;   // the view's ways, magenta where none passes
    SDL_Surface* surface = nullptr;  // that picture, keyed
};

// Plays the ways of the proof back when it changed since the paths were made. The world's
// records are used for it: the map is loaded afresh before it is drawn.
void updateWays(WaysLayer& layer, const Session& session);
// Draws the ways over the map at one level pixel per pixel: `canvas` shows the level from
// `viewX` on.
void drawWays(WaysLayer& layer, SDL_Surface* canvas, int viewX);
void freeWays(WaysLayer& layer);

}  // namespace trolkedit
