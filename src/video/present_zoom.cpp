// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/present_zoom.h"

#include <cstdlib>

#include "platform/fatal.h"
#include "video/zoom.h"

namespace video {

void setUpZoom(const DisplaySettings& settings) {
    uint32_t flags = SDL_HWSURFACE;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    display.screenSurface = SDL_SetVideoMode(kZoomedWidth, kZoomedHeight, settings.depth, flags);
    if (!display.screenSurface) platform::fatalError("Unable to set 640x480 video", SDL_GetError());

    const SDL_PixelFormat* f = display.screenSurface->format;
    display.backBuffer = SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, f->BitsPerPixel,
                                              f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!display.backBuffer) platform::fatalError("Unable to set video mode", SDL_GetError());
    if (settings.smooth)
        display.smoothBuffer = static_cast<uint32_t*>(
            std::calloc(size_t(2 * kScreenWidth * kScreenHeight), sizeof(uint32_t)));
}

void presentZoom() {
    if (display.presentation == Presentation::Smooth)
        zoomSmooth(display.backBuffer, display.screenSurface, display.smoothBuffer);
    else zoomNearest(display.backBuffer, display.screenSurface);
    SDL_UpdateRect(display.screenSurface, 0, 0, 0, 0);
}

void releaseZoom() {
    SDL_FreeSurface(display.backBuffer);
    display.backBuffer = nullptr;
    std::free(display.smoothBuffer);
    display.smoothBuffer = nullptr;
}

}  // namespace video
