// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "bmp_writer.h"

namespace gfx {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

std::vector<uint8_t> encodeBmp(const Image& image) {
    const uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.reserve(kBmpHeaderBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, kBmpHeaderBytes + pixelBytes);
    put32(out, 0);  // two reserved words
    put32(out, kBmpHeaderBytes);
    put32(out, kInfoHeaderBytes);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height));  // positive: the last row comes first
    put16(out, 1);                       // planes
    put16(out, 24);                      // bits per pixel
    put32(out, 0);                       // no compression
    put32(out, pixelBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);  // colours used: none, there is no palette
    put32(out, 0);  // important colours
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = uint32_t(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

}  // namespace gfx
