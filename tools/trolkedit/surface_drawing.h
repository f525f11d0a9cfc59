// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's drawing code draws into video::display.backBuffer, 320 x 240. The editor draws
// with the same code into surfaces of its own (its window, a strip of the map): it points the
// back buffer at the surface for as long as a DrawTarget lives, and gives the game's own back
// buffer back afterwards. Besides, a few plain shapes of the editor's own in any surface.

#include <SDL.h>

#include <cstdint>
#include <string_view>

namespace trolkedit {

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// While it lives, the game's drawing code draws into `surface`.
class DrawTarget {
  public:
    explicit DrawTarget(SDL_Surface* surface);
    ~DrawTarget();
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;

  private:
    SDL_Surface* previous_;
};

// A surface that is the area (x, 0, w, h) of `surface`, sharing its pixels: what is drawn into
// it lands there, clipped to the area. Freed with SDL_FreeSurface (the pixels stay).
SDL_Surface* areaOf(SDL_Surface* surface, int x, int w, int h);
// A software surface of that size in the format of `like`.
SDL_Surface* surfaceLike(SDL_Surface* like, int w, int h);

// A filled rectangle, clipped to the surface.
void fill(SDL_Surface* surface, int x, int y, int w, int h, Colour colour);
// The outline of a rectangle, `thickness` pixels wide, inside it.
void outline(SDL_Surface* surface, int x, int y, int w, int h, Colour colour, int thickness = 1);
// Text in the game's small font, from (x, y).
void text(SDL_Surface* surface, std::string_view line, int x, int y);
// Copies `from` into `to` at (x, y), every pixel a square of `scale` pixels (1 or 2); both of
// one format.
void copyScaled(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale);

}  // namespace trolkedit
