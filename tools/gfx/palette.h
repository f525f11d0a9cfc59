// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Palettes turn the colour names of our sources into colours, one palette per graphics
// style. The three palette files name the same colours; the classic one maps them onto a
// small fixed set, the deluxe one onto shaded ramps, the handheld one onto four greens.
//
//   ink        22  18  34     a colour by its red, green and blue
//   grass2  =  grass1         the same colour as one named before
//
// "key" always means the transparent magenta and cannot be redefined.

#include "image.h"
#include "text_source.h"

#include <map>
#include <string>

namespace gfx {

enum Style : int { STYLE_CLASSIC = 0, STYLE_DELUXE = 1, STYLE_HANDHELD = 2 };
constexpr int kStyleCount = 3;
constexpr const char* kStyleNames[kStyleCount] = {"classic", "deluxe", "gb"};

struct Palette {
    std::map<std::string, Rgb> colours;

    // The colour of that name, or nothing.
    const Rgb* find(const std::string& name) const;
};

// Reads a palette; false with a reason at the first bad line.
bool readPalette(TextSource& source, Palette& palette, std::string& error);

}  // namespace gfx
