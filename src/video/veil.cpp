// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/veil.h"

#include <cstring>
#include <vector>

#include "video/display.h"

namespace video {

namespace {

constexpr uint8_t kVeilAlpha = 128;

// Veils a strip of two rows in the back buffer's format, the first with every byte value in
// all three bytes of a pixel, the second with the bytes of a pixel differing, and tells
// whether every byte came out halved, rounded the same way throughout.
VeilWay learnVeilWay() {
    const SDL_PixelFormat* f = display.backBuffer->format;
    constexpr int kValues = 256;
    if (f->BytesPerPixel != 3 || display.veil->w < kValues) return VeilWay::Blit;
    SDL_Surface* strip = SDL_CreateRGBSurface(0, kValues, 2, f->BitsPerPixel, f->Rmask, f->Gmask,
                                              f->Bmask, f->Amask);
    if (!strip) return VeilWay::Blit;
    auto* pixels = static_cast<uint8_t*>(strip->pixels);
    for (int i = 0; i < kValues; ++i) {
        uint8_t* same = pixels + 3 * i;
        uint8_t* mixed = pixels + strip->pitch + 3 * i;
        same[0] = same[1] = same[2] = uint8_t(i);
        mixed[0] = uint8_t(i);
        mixed[1] = uint8_t(255 - i);
        mixed[2] = uint8_t(i * 7 + 3);
    }
    std::vector<uint8_t> before(pixels, pixels + 2 * strip->pitch);
    SDL_Rect area{0, 0, Uint16(kValues), 2};
    SDL_BlitSurface(display.veil, &area, strip, nullptr);
    bool down = true;
    bool up = true;
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 3 * kValues; ++i) {
            const size_t at = size_t(row * strip->pitch + i);
            down = down && pixels[at] == before[at] >> 1;
            up = up && pixels[at] == (before[at] + 1) >> 1;
        }
    SDL_FreeSurface(strip);
    return down ? VeilWay::HalveDown : up ? VeilWay::HalveUp : VeilWay::Blit;
}

// Halves every byte of the play area, eight bytes at a time, rounding down or up; no byte
// carries into the next, as each half is at most 128.
void halvePlayArea(bool roundUp) {
    SDL_Surface* backBuffer = display.backBuffer;
    if (SDL_MUSTLOCK(backBuffer) && SDL_LockSurface(backBuffer) < 0) return;
    constexpr uint64_t kLowSevenBits = 0x7F7F7F7F7F7F7F7FULL;
    constexpr uint64_t kLowestBits = 0x0101010101010101ULL;
    const uint64_t roundBits = roundUp ? kLowestBits : 0;
    const size_t rowBytes = size_t(kScreenWidth * backBuffer->format->BytesPerPixel);
    for (int y = 0; y < kPlayAreaHeight; ++y) {
        uint8_t* row = static_cast<uint8_t*>(backBuffer->pixels) + y * backBuffer->pitch;
        size_t i = 0;
        for (; i + sizeof(uint64_t) <= rowBytes; i += sizeof(uint64_t)) {
            uint64_t bytes;
            std::memcpy(&bytes, row + i, sizeof bytes);
            bytes = ((bytes >> 1) & kLowSevenBits) + (bytes & roundBits);
            std::memcpy(row + i, &bytes, sizeof bytes);
        }
        for (; i < rowBytes; ++i) row[i] = uint8_t((row[i] >> 1) + (roundUp ? row[i] & 1 : 0));
    }
    if (SDL_MUSTLOCK(backBuffer)) SDL_UnlockSurface(backBuffer);
}

}  // namespace

void setUpVeil() {
    const SDL_PixelFormat* f = display.backBuffer->format;
    display.veil = SDL_CreateRGBSurface(SDL_HWSURFACE, kScreenWidth, kPlayAreaHeight,
                                        f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!display.veil) return;
    SDL_FillRect(display.veil, nullptr, display.colorBlack);
    SDL_SetAlpha(display.veil, SDL_SRCALPHA, kVeilAlpha);
    display.veilWay = learnVeilWay();
}

void releaseVeil() {
    SDL_FreeSurface(display.veil);
    display.veil = nullptr;
}

void drawVeil() {
    switch (display.veilWay) {
    case VeilWay::HalveDown: halvePlayArea(false); break;
    case VeilWay::HalveUp: halvePlayArea(true); break;
    case VeilWay::Blit: blitAt(display.veil, 0, 0); break;
    }
}

}  // namespace video
