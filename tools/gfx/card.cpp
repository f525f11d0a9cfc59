// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "card.h"

#include "font_sheet.h"
#include "tile_sheet.h"

#include <algorithm>

namespace gfx {

namespace {

constexpr int kFrameWidth = 5;
constexpr int kCornerCut = 3;
constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

struct CardColours {
    Rgb ink, light, frame, dark, rivet, insideTop, insideBottom;
};

bool cardColours(const Palette& palette, CardColours& c, std::string& missing) {
    const std::pair<const char*, Rgb*> names[] = {{"card.ink", &c.ink},
                                                  {"card.light", &c.light},
                                                  {"card.frame", &c.frame},
                                                  {"card.dark", &c.dark},
                                                  {"card.rivet", &c.rivet},
                                                  {"card.inside1", &c.insideTop},
                                                  {"card.inside2", &c.insideBottom}};
    for (const auto& [name, target] : names) {
        const Rgb* found = palette.find(name);
        if (!found) {
            missing = name;
            return false;
        }
        *target = *found;
    }
    return true;
}

// Distance of (x, y) from the nearest edge of the panel, with cut corners; -1 outside.
int depth(int x, int y, int left, int top, int w, int h) {
    const int dx = std::min(x - left, left + w - 1 - x);
    const int dy = std::min(y - top, top + h - 1 - y);
    if (dx < 0 || dy < 0) return -1;
    if (dx + dy < kCornerCut) return -1;
    return std::min(std::min(dx, dy), dx + dy - kCornerCut);
}

void drawCard(Image& image, const CardColours& c, int left, int top, int w, int h) {
    for (int y = top; y < top + h; ++y)
        for (int x = left; x < left + w; ++x) {
            const int d = depth(x, y, left, top, w, h);
            if (d < 0) continue;
            // The nearer of the top and left edges is lit, of the bottom and right shaded.
            const int toTopLeft = std::min(x - left, y - top);
            const int toBottomRight = std::min(left + w - 1 - x, top + h - 1 - y);
            const bool lit = toTopLeft <= toBottomRight;
            Rgb colour;
            if (d == 0 || d == kFrameWidth + 1) colour = c.ink;
            else if (d == 1) colour = lit ? c.light : c.frame;
            else if (d == kFrameWidth) colour = lit ? c.dark : c.light;
            else if (d <= kFrameWidth) colour = lit ? c.frame : c.dark;
            else {
                const int position = (y - top) * 16 / h;
                colour = position > kBayer4[y % 4][x % 4] ? c.insideBottom : c.insideTop;
            }
            image.set(x, y, colour);
        }
    // Rivets in the corners of the frame.
    const int in = kFrameWidth / 2 + 1;
    for (const auto& [rx, ry] : {std::pair{left + in, top + in},
                                 {left + w - 2 - in, top + in},
                                 {left + in, top + h - 2 - in},
                                 {left + w - 2 - in, top + h - 2 - in}}) {
        image.set(rx, ry, c.rivet);
        image.set(rx + 1, ry, c.light);
        image.set(rx, ry + 1, c.light);
        image.set(rx + 1, ry + 1, c.dark);
    }
}

}  // namespace

bool composeCard(TextSource& source, const Palette& palette, const CardParts& parts, Image& image,
                 std::string& error) {
    std::string line;
    if (!source.nextStatement(line)) {
        error = source.where("empty card");
        return false;
    }
    std::vector<std::string> words = splitWords(line);
    int width = 0, height = 0;
    if (words.size() != 3 || words[0] != "size" || !parseInt(words[1], width) ||
        !parseInt(words[2], height) || width < 1 || height < 1) {
        error = source.where("a card begins with: size WIDTH HEIGHT");
        return false;
    }
    image = Image(width, height);
    CardColours colours;
    std::string missing;
    if (!cardColours(palette, colours, missing)) {
        error = source.where("the palette has no colour " + missing);
        return false;
    }
    while (source.nextStatement(line)) {
        words = splitWords(line);
        const std::string& what = words[0];
        std::vector<int> n;
        for (size_t i = 1; i < words.size(); ++i) {
            int v = 0;
            if (parseInt(words[i], v)) n.push_back(v);
        }
        if (what == "card" && words.size() == 5 && n.size() == 4) {
            drawCard(image, colours, n[0], n[1], n[2], n[3]);
        } else if (what == "text" && words.size() >= 5) {
            const size_t open = line.find('"');
            const size_t close = line.rfind('"');
            if (open == std::string::npos || close <= open ||
                (words[1] != "small" && words[1] != "big")) {
                error = source.where("expected: text small|big centre|X Y \"TEXT\"");
                return false;
            }
            const std::string text = line.substr(open + 1, close - open - 1);
            const bool big = words[1] == "big";
            const int cell = big ? 16 : 8;
            int x = 0, y = 0;
            if (!parseInt(words[3], y) || (words[2] != "centre" && !parseInt(words[2], x))) {
                error = source.where("bad text position");
                return false;
            }
            if (words[2] == "centre") x = centredX(width, cell, text);
            drawSheetText(image, big ? *parts.bigFont : *parts.smallFont, cell, x, y, text);
        } else if (what == "sprite" && (n.size() == 3 || n.size() == 4) &&
                   words.size() == n.size() + 1 && n[0] > 0 && n[0] < kTileCount) {
            const int scale = n.size() == 4 ? std::max(1, n[3]) : 1;
            blit(image, scaled(tileOf(*parts.tiles, n[0]), scale), n[1], n[2], true);
        } else if (what == "rule" && words.size() == 5 && n.size() == 3) {
            const Rgb* c = palette.find(words[4]);
            if (!c) {
                error = source.where("the palette has no colour " + words[4]);
                return false;
            }
            fillRect(image, n[0], n[1], n[2], 1, *c);
            fillRect(image, n[0] + 1, n[1] + 1, n[2], 1, colours.ink);
        } else {
            error = source.where("cannot read this '" + what + "' statement");
            return false;
        }
    }
    return true;
}

}  // namespace gfx
