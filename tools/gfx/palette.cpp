// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "palette.h"

namespace gfx {

const Rgb* Palette::find(const std::string& name) const {
    if (name == "key") return &kKey;
    const auto found = colours.find(name);
    return found == colours.end() ? nullptr : &found->second;
}

bool readPalette(TextSource& source, Palette& palette, std::string& error) {
    std::string line;
    while (source.nextStatement(line)) {
        const std::vector<std::string> words = splitWords(line);
        const std::string& name = words[0];
        if (name == "key") {
            error = source.where("the key colour is fixed");
            return false;
        }
        if (palette.colours.count(name)) {
            error = source.where("colour named twice: " + name);
            return false;
        }
        if (words.size() == 3 && words[1] == "=") {
            const Rgb* same = palette.find(words[2]);
            if (!same) {
                error = source.where("unknown colour " + words[2]);
                return false;
            }
            palette.colours[name] = *same;
            continue;
        }
        int r, g, b;
        if (words.size() != 4 || !parseInt(words[1], r) || !parseInt(words[2], g) ||
            !parseInt(words[3], b) || r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) {
            error = source.where("expected: name red green blue, or name = other");
            return false;
        }
        const Rgb colour{uint8_t(r), uint8_t(g), uint8_t(b)};
        if (isNearKey(colour) || colour == kKey) {
            error = source.where(name + " would turn transparent in the game");
            return false;
        }
        palette.colours[name] = colour;
    }
    return true;
}

}  // namespace gfx
