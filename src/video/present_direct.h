// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The plain window: the back buffer is the 320 x 240 window surface itself.

#include "video/display.h"

namespace video {

// Opens the window at the asked depth; its surface becomes the back buffer.
void setUpDirect(const DisplaySettings& settings);
// Shows the whole window surface.
void presentDirect();
// Nothing of its own to free: the window surface belongs to SDL.
void releaseDirect();

}  // namespace video
