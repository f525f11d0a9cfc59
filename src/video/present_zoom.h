// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The doubled picture without OpenGL: a 640 x 480 mode at the asked depth, a back buffer of
// its own in the screen's format, and a zoom filter between them at every present (zoom.h):
// sharp 2 x 2 blocks, or smoothed, which keeps a working buffer of 640 x 240 words.

#include "video/display.h"

namespace video {

// Sets the 640 x 480 mode and creates the back buffer (and the smoothing buffer).
void setUpZoom(const DisplaySettings& settings);
// Zooms the back buffer onto the screen and shows it.
void presentZoom();
// Frees the back buffer and the smoothing buffer.
void releaseZoom();

}  // namespace video
