// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The "thanks for playing" card shown over the world as the game closes: a framed panel on
// the transparent key, with lines of text in our fonts and figures from the tile sheet.
//
//   size 320 240
//   card X Y W H                       the framed panel (colours card.* of the palette)
//   text small|big centre|X Y "TEXT"   a line, centred on the picture or from X
//   sprite INDEX X Y [SCALE]           a tile of the sheet, optionally enlarged
//   rule X Y W COLOUR                  a one-pixel line with a dark line under it

#include "image.h"
#include "palette.h"
#include "text_source.h"

#include <string>

namespace gfx {

struct CardParts {
    const Image* tiles = nullptr;
    const Image* smallFont = nullptr;  // 8 x 8 cells
    const Image* bigFont = nullptr;    // 16 x 16 cells
};

// Composes a card source; false with a reason at the first fault.
bool composeCard(TextSource& source, const Palette& palette, const CardParts& parts, Image& image,
                 std::string& error);

}  // namespace gfx
