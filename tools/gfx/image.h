// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Pictures as the picture compiler holds them: 8-bit red, green and blue per pixel, row by
// row from the top. Magenta (255, 0, 255) is the transparent key of the game; every other
// colour that the game's 16-bit conversion would turn into the key (red and blue 248 or
// more, green below 4) is a fault in a picture, which `isNearKey` finds.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kKey{255, 0, 255};

// True for a colour other than the key that still reads as the key once reduced to 5-6-5.
constexpr bool isNearKey(Rgb c) { return !(c == kKey) && c.r >= 248 && c.g < 4 && c.b >= 248; }

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // width * height, row-major from the top

    Image() = default;
    Image(int w, int h, Rgb fill = kKey) : width(w), height(h), pixels(size_t(w) * h, fill) {}

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Writes a pixel when it lies inside; outside pixels are dropped.
    void set(int x, int y, Rgb c) {
        if (contains(x, y)) at(x, y) = c;
    }
};

// The area (x, y, w, h) of a picture; parts outside it come out as key.
Image crop(const Image& source, int x, int y, int w, int h);
// Copies every pixel of `source` to `target` at (x, y); with `keyed`, key pixels are skipped.
void blit(Image& target, const Image& source, int x, int y, bool keyed);
// Left to right mirror image.
Image mirrored(const Image& source);
// Top to bottom mirror image.
Image flipped(const Image& source);
// Moves the picture by (dx, dy); uncovered pixels become key.
Image shifted(const Image& source, int dx, int dy);
// Every pixel repeated `factor` times in both directions.
Image scaled(const Image& source, int factor);
// Fills the rectangle, clipped to the picture.
void fillRect(Image& target, int x, int y, int w, int h, Rgb c);
// True when every pixel is the key.
bool isBlank(const Image& image);
// Straight mix of two colours: t = 0 gives a, t = 256 gives b.
Rgb mix(Rgb a, Rgb b, int t);

}  // namespace gfx
