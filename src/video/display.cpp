// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The display comes up in three steps: the presentation's video mode and back buffer, then
// the named colours in the back buffer's format, then the veil. The depth is exactly the one
// asked for (SDL_ANYFORMAT is never passed), so the back buffer always has 2 or 3 bytes per
// pixel. A later set-up (the tests make several in one process) first lets go of the earlier
// one.

#include "video/display.h"

#include "video/present_direct.h"
#include "video/present_gl.h"
#include "video/present_zoom.h"
#include "video/veil.h"

namespace video {

Display display;

namespace {

void setUpColors() {
    const SDL_PixelFormat* f = display.backBuffer->format;
    display.colorBlack = SDL_MapRGB(f, 0, 0, 0);
    display.colorRed = SDL_MapRGB(f, 255, 0, 0);
    display.colorDarkRed = SDL_MapRGB(f, 128, 0, 0);
    display.colorBlue = SDL_MapRGB(f, 0, 0, 255);
    display.colorDarkBlue = SDL_MapRGB(f, 0, 0, 128);
    display.colorMagenta = SDL_MapRGB(f, 255, 0, 255);
    display.colorGrey = SDL_MapRGB(f, 128, 128, 128);
    display.colorLightGrey = SDL_MapRGB(f, 192, 192, 192);
    display.colorDarkGrey = SDL_MapRGB(f, 96, 96, 96);
}

}  // namespace

Presentation presentationFor(const DisplaySettings& settings) {
    if (!settings.zoom && !settings.fullScreen) return Presentation::Direct;
    if (settings.openGl) return Presentation::OpenGl;
    return settings.smooth ? Presentation::Smooth : Presentation::Nearest;
}

void setUpDisplay(const DisplaySettings& settings) {
    closeDisplay();
    display.settings = settings;
    display.presentation = presentationFor(settings);
    switch (display.presentation) {
    case Presentation::Direct: setUpDirect(settings); break;
    case Presentation::Nearest:
    case Presentation::Smooth: setUpZoom(settings); break;
    case Presentation::OpenGl: setUpGl(settings); break;
    }
    setUpColors();
    setUpVeil();
}

void presentFrame() {
    switch (display.presentation) {
    case Presentation::Direct: presentDirect(); break;
    case Presentation::Nearest:
    case Presentation::Smooth: presentZoom(); break;
    case Presentation::OpenGl: presentGl(); break;
    }
}

void closeDisplay() {
    releaseVeil();
    switch (display.presentation) {
    case Presentation::Direct: releaseDirect(); break;
    case Presentation::Nearest:
    case Presentation::Smooth: releaseZoom(); break;
    case Presentation::OpenGl: releaseGl(); break;
    }
    display = {};
}

void fillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t color) {
    SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(surface, &rect, color);
}

void blitAt(SDL_Surface* picture, int x, int y) {
    SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, display.backBuffer, &at);
}

void blitArea(SDL_Surface* picture, int sx, int sy, int w, int h, int x, int y) {
    SDL_Rect from{Sint16(sx), Sint16(sy), Uint16(w), Uint16(h)};
    SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(picture, &from, display.backBuffer, &at);
}

}  // namespace video
