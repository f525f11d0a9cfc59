// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of the window round the map: the ruler with the column numbers, the palette with
// the brush framed, the status lines on bands that warn or tell of success, and boxes of text
// over the map (the help, the proof's report). All text is the game's small font.

#include "layout.h"
#include "session.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace trolkedit {

void drawRuler(SDL_Surface* window, const Layout& layout, const Session& session);
void drawPalette(SDL_Surface* window, const Layout& layout, const Session& session, int frame);
void drawStatus(SDL_Surface* window, const Layout& layout, const Session& session);
// A box of text lines over the top left of the map.
void drawTextBox(SDL_Surface* window, const Layout& layout, const std::vector<std::string>& lines);

}  // namespace trolkedit
