// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The doubling copies whole pixels of 2 or 3 bytes (the game's two depths): each source pixel
// is written twice side by side, and each doubled row is copied once more below itself.

#include "surface_drawing.h"

#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"

#include <algorithm>
#include <cstring>

namespace trolkedit {

DrawTarget::DrawTarget(SDL_Surface* surface) : previous_(video::display.backBuffer) {
    video::display.backBuffer = surface;
}

DrawTarget::~DrawTarget() { video::display.backBuffer = previous_; }

SDL_Surface* areaOf(SDL_Surface* surface, int x, int w, int h) {
    const SDL_PixelFormat* f = surface->format;
    auto* pixels = static_cast<uint8_t*>(surface->pixels) + x * f->BytesPerPixel;
    return SDL_CreateRGBSurfaceFrom(pixels, w, h, f->BitsPerPixel, surface->pitch, f->Rmask,
                                    f->Gmask, f->Bmask, f->Amask);
}

SDL_Surface* surfaceLike(SDL_Surface* like, int w, int h) {
    const SDL_PixelFormat* f = like->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask,
                                f->Amask);
}

void fill(SDL_Surface* surface, int x, int y, int w, int h, Colour colour) {
    if (w <= 0 || h <= 0) return;
    SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
}

void outline(SDL_Surface* surface, int x, int y, int w, int h, Colour colour, int thickness) {
    fill(surface, x, y, w, thickness, colour);
    fill(surface, x, y + h - thickness, w, thickness, colour);
    fill(surface, x, y, thickness, h, colour);
    fill(surface, x + w - thickness, y, thickness, h, colour);
}

void text(SDL_Surface* surface, std::string_view line, int x, int y) {
    DrawTarget target(surface);
    video::drawText(line, x, y, video::smallFont);
}

void copyScaled(SDL_Surface* from, SDL_Surface* to, int x, int y, int scale) {
    if (scale == 1) {
        SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
        SDL_BlitSurface(from, nullptr, to, &at);
        return;
    }
    const int bytes = from->format->BytesPerPixel;
    const int w = std::min(from->w, (to->w - x) / 2), h = std::min(from->h, (to->h - y) / 2);
    if (w <= 0 || h <= 0 || x < 0 || y < 0) return;
    SDL_LockSurface(from);
    SDL_LockSurface(to);
    for (int row = 0; row < h; ++row) {
        const uint8_t* source = static_cast<uint8_t*>(from->pixels) + row * from->pitch;
        uint8_t* target = static_cast<uint8_t*>(to->pixels) + (y + 2 * row) * to->pitch + x * bytes;
        uint8_t* out = target;
        for (int column = 0; column < w; ++column, source += bytes) {
            std::memcpy(out, source, size_t(bytes));
            std::memcpy(out + bytes, source, size_t(bytes));
            out += 2 * bytes;
        }
        std::memcpy(target + to->pitch, target, size_t(2 * w * bytes));
    }
    SDL_UnlockSurface(to);
    SDL_UnlockSurface(from);
}

}  // namespace trolkedit
