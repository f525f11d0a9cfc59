// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/synthetic_graphics.h"

#include "support/picture_fixture.h"
#include "video/display.h"
#include "video/graphics.h"

namespace test_support {

namespace {

constexpr int kGlyphCount = 96;  // space .. DEL

SDL_Surface* block(int w, int h, uint32_t value) {
    SDL_Surface* s = makeSurface(w, h, 16);
    SDL_FillRect(s, nullptr, value);
    return s;
}

video::FrameList font(int size) {
    video::FrameList list;
    list.count = kGlyphCount;
    list.frames.reset(new SDL_Surface*[kGlyphCount + 1]);
    for (int i = 0; i < kGlyphCount; ++i)
        list.frames[size_t(i)] = block(size, size, kGlyphBase + uint32_t(i));
    list.frames[kGlyphCount] = nullptr;
    return list;
}

}  // namespace

void installSyntheticGraphics() {
    video::DisplaySettings window;
    window.fullScreen = window.zoom = false;
    video::setUpDisplay(window);
    video::smallFont = font(8);
    video::bigFont = font(16);
    for (int i = 0; i < video::kTileImageCount; ++i)
        video::tileImages[size_t(i)] = block(16, 16, kTileBase + uint32_t(i));
    for (int k = 0; k < video::kWaterFrameCount; ++k)
        video::waterFrames[size_t(k)] = block(16, 16, kWaterBase + uint32_t(k));
    video::backgroundImage = makeSurface(kBackgroundWidth, kBackgroundHeight, 16);
    for (int x = 0; x < kBackgroundWidth; ++x) {
        SDL_Rect column{Sint16(x), 0, 1, kBackgroundHeight};
        SDL_FillRect(video::backgroundImage, &column, kBackgroundBase + uint32_t(x));
    }
    video::moonImage = block(32, 32, kMoonValue);
    video::logoImage = block(240, 60, kLogoValue);
    video::donateImage = block(320, 240, kLogoValue);
}

void removeSyntheticGraphics() {
    video::freeFonts();
    video::freeTileSet();
    video::freePictures();
}

uint32_t screenPixel(int x, int y) { return pixelAt(video::display.backBuffer, x, y); }

bool showsText(std::string_view text, int x, int y, int glyphSize) {
    for (size_t i = 0; i < text.size(); ++i) {
        const int gx = x + int(i) * glyphSize + 1;
        if (gx < 0 || gx >= 320) continue;
        if (screenPixel(gx, y + 1) != kGlyphBase + uint32_t(uint8_t(text[i]) - ' ')) return false;
    }
    return true;
}

bool showsCentered(std::string_view text, int y, int glyphSize) {
    return showsText(text, 160 - (glyphSize / 2) * int(text.size()), y, glyphSize);
}

}  // namespace test_support
