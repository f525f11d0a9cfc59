// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The veil: 320 x 192 of black at half alpha, blitted over the play area to dim it to half
// brightness behind the pause menu, the questions and the screens over the world.
//
// At 24 bits SDL has no quick way to blend 3-byte pixels with a surface alpha and takes its
// general per-pixel path, about half a millisecond for the play area. What its blit of the
// veil does to each byte is asked of SDL itself once, on a strip holding every byte value;
// when every byte simply halves (black at alpha 128; SDL 1.2 rounds the half up), drawVeil
// halves the bytes of the play area directly, which gives the same picture. Otherwise SDL
// blits the veil as always.

namespace video {

// Creates the veil in the back buffer's format and learns how to draw it.
void setUpVeil();
// Frees the veil.
void releaseVeil();

}  // namespace video
