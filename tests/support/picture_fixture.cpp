// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/picture_fixture.h"

#include <cstdio>
#include <unistd.h>

#include <filesystem>

#include "support/test_support.h"

namespace test_support {

SDL_Surface* makeSurface(int w, int h, int depth, const std::vector<SDL_Color>& palette) {
    SDL_Surface* s = nullptr;
    if (depth == 8) {
        s = SDL_CreateRGBSurface(0, w, h, 8, 0, 0, 0, 0);
        std::vector<SDL_Color> colors = palette;
        SDL_SetColors(s, colors.data(), 0, int(colors.size()));
    } else if (depth == 16) {
        s = SDL_CreateRGBSurface(0, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
    } else {
        s = SDL_CreateRGBSurface(0, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    }
    return s;
}

std::vector<uint8_t> bmpBytes(SDL_Surface* surface) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("trolk-bmp-" + std::to_string(getpid()) + ".bmp");
    SDL_SaveBMP(surface, path.c_str());
    std::vector<uint8_t> bytes = readFile(path);
    std::filesystem::remove(path);
    return bytes;
}

uint32_t pixelAt(SDL_Surface* surface, int x, int y) {
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const int bytes = surface->format->BytesPerPixel;
    const uint8_t* p = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return v;
}

void paint(SDL_Surface* surface, int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, r, g, b));
}

}  // namespace test_support
