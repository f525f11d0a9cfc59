// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Pictures for tests: surfaces in the back buffer's format, BMP bytes made by SDL itself,
// and a graphics archive built from them.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

// A software surface of that size and depth (8: palettised with `palette`; 16: 5-6-5;
// 24: R, G, B bytes).
SDL_Surface* makeSurface(int w, int h, int depth, const std::vector<SDL_Color>& palette = {});
// The BMP file SDL writes for the surface.
std::vector<uint8_t> bmpBytes(SDL_Surface* surface);
// Reads one pixel value of a surface.
uint32_t pixelAt(SDL_Surface* surface, int x, int y);
// Fills a rectangle with a colour given as R, G, B.
void paint(SDL_Surface* surface, int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b);

}  // namespace test_support
