// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The title logo: block letters laid out on a coarse grid, then rendered large with a
// shaded fill, a bevelled edge, a dark outline and a drop shadow on the transparent key.
//
//   cell 4                      pixels per grid cell
//   gap 2                       empty cells between letters
//   fill logo.1 logo.2 ...      ramp from the top of the letters to their foot, dithered
//   light logo.light            lit upper and left edges
//   dark logo.dark              shaded lower and right edges
//   outline logo.ink            two pixels round the letters
//   shadow logo.shadow          the outline's shape, moved three pixels right and down
//   eye logo.eye / pupil logo.pupil   flat colours of the cells 'e' and 'k'
//   letter [raise=N]            a letter grid follows, closed by "end"; raise lifts it N rows
//
// Grid cells: '#' filled, '.' empty, and four half cells cut along a diagonal: 'q' has its
// top-left corner cut away, 'p' its top-right, 'd' its bottom-left, 'b' its bottom-right;
// 'e' and 'k' are filled cells in the flat eye and pupil colours (someone lives in the O).

#include "image.h"
#include "palette.h"
#include "text_source.h"

#include <string>

namespace gfx {

// Renders a logo source with one palette; false with a reason at the first fault.
bool renderLogo(TextSource& source, const Palette& palette, Image& image, std::string& error);

}  // namespace gfx
