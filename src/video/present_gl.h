// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Presentation through OpenGL: a 24-bit OpenGL mode (640 x 480, or 1360 x 768 in HD), a
// back buffer of fixed masks at the asked depth, uploaded as one 320 x 240 texture every
// frame and drawn as one quad over the display, or over the centred 1024 x 768 area in HD.

#include "video/display.h"

namespace video {

// Sets the OpenGL mode, creates the back buffer, the texture and the projection.
void setUpGl(const DisplaySettings& settings);
// Uploads the back buffer, draws the quad and swaps.
void presentGl();
// Deletes the texture and frees the back buffer.
void releaseGl();

}  // namespace video
