// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's window. It is set up as the game's display first (the back buffer, its colours
// and the veil, in which every picture of the style is loaded), then given the editor's own
// size; while a life is played it is the game's display again, 640 x 480, and returns to the
// editor's size when the play ends. A frame of the editor reads the
// events, lets the session tick (the prover), and draws the map, the ruler, the palette and the
// status lines; only the rows that changed since the last frame are shown, which keeps the X
// server's share of a frame small (most frames change nothing, or a line of text; the water moves
// every eighth).

#include "layout.h"
#include "map_view.h"
#include "play_here.h"
#include "session.h"

#include "video/display.h"
#include "video/graphics.h"

#include <SDL.h>

#include <cstdint>
#include <string>

namespace trolkedit {

struct EditorWindow {
    SDL_Surface* surface = nullptr;  // the window's surface while editing
    int width = kWindowWidth;
    // Bits per pixel of the window, the editor's and the game's alike (-b16, -b24): with
    // sdl12-compat another depth would be another window.
    int depth = 16;
    SDL_Surface* shown = nullptr;  // a copy of the picture last shown, to show only changes
    Layout layout;
    MapView map;
    PlayState play;
    video::DisplaySettings gameDisplay;  // how a play shows the game
    int frame = 0;                       // frames drawn: the water moves with it
    int mouseX = -1;                     // the mouse in the window, -1 when outside
    int mouseY = -1;
    Uint8 strokeButton = 0;  // the mouse button of the stroke under way
    std::string caption;
    // A scrolling or column key held down repeats (SDL's own repeat is off, so that no other
    // key, a function key least of all, ever acts twice for one press).
    struct {
        SDL_keysym key{};
        bool held = false;
        uint32_t nextMs = 0;
    } repeat;
};

// Sets the display up, loads the pictures of the style from ./data and opens the window at
// the editor's size; false with why when the graphics archive is missing.
[[nodiscard]] bool openEditorWindow(EditorWindow& window, Session& session,
                                    video::GraphicsStyle style, std::string& error);
// One frame: the events and the session's tick, then the picture shown; while a life is
// played, one frame of the game instead.
void editorFrame(EditorWindow& window, Session& session);
// Draws the editor's picture into the window's surface (without showing it).
void drawEditor(EditorWindow& window, const Session& session);
// The next graphics style (classic, deluxe, handheld, and round), every picture loaded anew.
void nextStyle(EditorWindow& window, Session& session);
// Lets go of the window's surfaces and the pictures.
void closeEditorWindow(EditorWindow& window);
// Handles one event of the window (keys, mouse, close) as a command of the session.
void handleEvent(EditorWindow& window, Session& session, const SDL_Event& event);
// Acts again for a scrolling or column key held long enough.
void repeatHeldKey(EditorWindow& window, Session& session, uint32_t nowMs);

}  // namespace trolkedit
