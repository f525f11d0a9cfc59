// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/present_direct.h"

#include "platform/fatal.h"

namespace video {

void setUpDirect(const DisplaySettings& settings) {
    display.screenSurface = nullptr;
    display.backBuffer = SDL_SetVideoMode(kScreenWidth, kScreenHeight, settings.depth, 0);
    if (!display.backBuffer) platform::fatalError("Unable to set video mode", SDL_GetError());
}

void presentDirect() { SDL_UpdateRect(display.backBuffer, 0, 0, 0, 0); }

void releaseDirect() { display.backBuffer = nullptr; }

}  // namespace video
