// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image.h"

namespace gfx {

Image crop(const Image& source, int x, int y, int w, int h) {
    Image out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (source.contains(x + i, y + j)) out.at(i, j) = source.at(x + i, y + j);
    return out;
}

void blit(Image& target, const Image& source, int x, int y, bool keyed) {
    for (int j = 0; j < source.height; ++j)
        for (int i = 0; i < source.width; ++i) {
            const Rgb c = source.at(i, j);
            if (keyed && c == kKey) continue;
            target.set(x + i, y + j, c);
        }
}

Image mirrored(const Image& source) {
    Image out(source.width, source.height);
    for (int j = 0; j < source.height; ++j)
        for (int i = 0; i < source.width; ++i) out.at(source.width - 1 - i, j) = source.at(i, j);
    return out;
}

Image flipped(const Image& source) {
    Image out(source.width, source.height);
    for (int j = 0; j < source.height; ++j)
        for (int i = 0; i < source.width; ++i) out.at(i, source.height - 1 - j) = source.at(i, j);
    return out;
}

Image shifted(const Image& source, int dx, int dy) {
    Image out(source.width, source.height);
    blit(out, source, dx, dy, false);
    return out;
}

Image scaled(const Image& source, int factor) {
    Image out(source.width * factor, source.height * factor);
    for (int j = 0; j < out.height; ++j)
        for (int i = 0; i < out.width; ++i) out.at(i, j) = source.at(i / factor, j / factor);
    return out;
}

void fillRect(Image& target, int x, int y, int w, int h, Rgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) target.set(i, j, c);
}

bool isBlank(const Image& image) {
    for (const Rgb& c : image.pixels)
        if (!(c == kKey)) return false;
    return true;
}

Rgb mix(Rgb a, Rgb b, int t) {
    auto channel = [t](int u, int v) { return uint8_t(u + ((v - u) * t) / 256); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

}  // namespace gfx
