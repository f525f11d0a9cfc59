// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The drawing program for the parallax backgrounds. A scene file lists layers, painted in
// order, back to front; everything repeats across the picture's width, so the picture
// tiles seamlessly when the game scrolls it.
//
//   size 640 192                              picture size, first statement
//   seed 7                                    restarts the generator
//   gradient TOP BOTTOM c1 c2 ...             vertical ramp through the colours, dithered
//   bands TOP BOTTOM c1 c2 ...                the same ramp in plain bands
//   stars TOP BOTTOM COUNT c1 c2 ...          single stars, a few of them crossed
//   ridge BASE HEIGHT ROUGHNESS FILL [RIM]    jagged mountains; ROUGHNESS 0..100
//   hills BASE HEIGHT WAVES FILL [RIM]        smooth hills with WAVES bumps across the width
//   pines BASE HEIGHT SPACING FILL            fir trees standing on row BASE
//   town BASE HEIGHT FILL LIT DIM             houses and towers with windows
//   castle X BASE FILL LIT                    a keep with two towers standing on row BASE
//
// Rows count from the top. Colour names come from the style's palette.

#include "image.h"
#include "palette.h"
#include "text_source.h"

#include <string>

namespace gfx {

// Paints a scene; false with a reason at the first bad statement.
bool paintScene(TextSource& source, const Palette& palette, Image& image, std::string& error);

}  // namespace gfx
