// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "logo.h"

#include <algorithm>
#include <vector>

namespace gfx {

namespace {

constexpr int kOutline = 2;
constexpr int kShadowOffset = 3;
constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

struct Letter {
    std::vector<std::string> grid;
    int raise = 0;
};

bool cellCovers(char cell, int u, int v, int size) {
    const int last = size - 1;
    switch (cell) {
    case '#':
    case 'e':
    case 'k': return true;
    case 'q': return u + v >= last;
    case 'p': return v >= u;
    case 'd': return u >= v;
    case 'b': return u + v <= last;
    default: return false;
    }
}

using Mask = std::vector<std::vector<bool>>;

bool maskAt(const Mask& m, int x, int y) {
    return y >= 0 && y < int(m.size()) && x >= 0 && x < int(m[0].size()) && m[y][x];
}

Mask grown(const Mask& m, int by) {
    Mask out = m;
    for (int y = 0; y < int(m.size()); ++y)
        for (int x = 0; x < int(m[0].size()); ++x) {
            if (m[y][x]) continue;
            for (int dy = -by; dy <= by && !out[y][x]; ++dy)
                for (int dx = -by; dx <= by; ++dx) {
                    // Rounded corners: leave out the far corners of the square.
                    if (std::abs(dx) == by && std::abs(dy) == by && by > 1) continue;
                    if (maskAt(m, x + dx, y + dy)) {
                        out[y][x] = true;
                        break;
                    }
                }
        }
    return out;
}

}  // namespace

bool renderLogo(TextSource& source, const Palette& palette, Image& image, std::string& error) {
    int cell = 4;
    int gap = 1;
    std::vector<Rgb> fill;
    Rgb light{}, dark{}, outline{}, shadow{}, eye{255, 255, 255}, pupil{};
    int coloursSet = 0;
    std::vector<Letter> letters;
    std::string line;
    while (source.nextStatement(line)) {
        const std::vector<std::string> words = splitWords(line);
        const std::string& what = words[0];
        auto named = [&](const std::string& name, Rgb& out) {
            const Rgb* c = palette.find(name);
            if (!c) error = source.where("the palette has no colour " + name);
            else out = *c;
            return c != nullptr;
        };
        if ((what == "cell" || what == "gap") && words.size() == 2) {
            int n = 0;
            if (!parseInt(words[1], n) || n < (what == "cell" ? 2 : 0) || n > 32) {
                error = source.where("bad " + what);
                return false;
            }
            (what == "cell" ? cell : gap) = n;
        } else if (what == "fill" && words.size() >= 2) {
            fill.clear();
            for (size_t i = 1; i < words.size(); ++i) {
                Rgb c;
                if (!named(words[i], c)) return false;
                fill.push_back(c);
            }
        } else if ((what == "light" || what == "dark" || what == "outline" || what == "shadow") &&
                   words.size() == 2) {
            Rgb& target = what == "light"     ? light
                          : what == "dark"    ? dark
                          : what == "outline" ? outline
                                              : shadow;
            if (!named(words[1], target)) return false;
            ++coloursSet;
        } else if ((what == "eye" || what == "pupil") && words.size() == 2) {
            if (!named(words[1], what == "eye" ? eye : pupil)) return false;
        } else if (what == "letter") {
            Letter letter;
            if (words.size() == 2 && words[1].rfind("raise=", 0) == 0) {
                if (!parseInt(words[1].substr(6), letter.raise)) {
                    error = source.where("bad raise=");
                    return false;
                }
            } else if (words.size() != 1) {
                error = source.where("expected: letter [raise=N]");
                return false;
            }
            while (source.nextRaw(line) && (line = trimmed(line)) != "end") {
                if (line.empty()) continue;
                if (!letter.grid.empty() && line.size() != letter.grid[0].size()) {
                    error = source.where("the rows of a letter must be equally long");
                    return false;
                }
                for (char c : line)
                    if (std::string("#.qpdbek").find(c) == std::string::npos) {
                        error = source.where(std::string("unknown cell '") + c + "'");
                        return false;
                    }
                letter.grid.push_back(line);
            }
            if (letter.grid.empty()) {
                error = source.where("empty letter");
                return false;
            }
            letters.push_back(letter);
        } else {
            error = source.where("cannot read '" + what + "'");
            return false;
        }
    }
    if (letters.empty() || fill.empty() || coloursSet < 4) {
        error = source.where("a logo needs letters, fill, light, dark, outline and shadow");
        return false;
    }

    int columns = 0, rows = 0, maxRaise = 0;
    for (const Letter& l : letters) {
        columns += int(l.grid[0].size()) + gap;
        rows = std::max(rows, int(l.grid.size()));
        maxRaise = std::max(maxRaise, l.raise);
    }
    columns -= gap;
    const int margin = kOutline;
    const int textWidth = columns * cell;
    const int textHeight = (rows + maxRaise) * cell;
    const int width = textWidth + 2 * margin + kShadowOffset;
    const int height = textHeight + 2 * margin + kShadowOffset;
    Mask mask(size_t(height), std::vector<bool>(size_t(width), false));
    std::vector<std::vector<char>> flat(size_t(height), std::vector<char>(size_t(width), 0));
    int left = 0;
    for (const Letter& l : letters) {
        const int top = (maxRaise - l.raise + rows - int(l.grid.size())) * cell;
        for (int r = 0; r < int(l.grid.size()); ++r)
            for (int c = 0; c < int(l.grid[r].size()); ++c)
                for (int v = 0; v < cell; ++v)
                    for (int u = 0; u < cell; ++u)
                        if (cellCovers(l.grid[r][c], u, v, cell)) {
                            const size_t my = size_t(margin + top + r * cell + v);
                            const size_t mx = size_t(margin + (left + c) * cell + u);
                            mask[my][mx] = true;
                            if (l.grid[r][c] == 'e' || l.grid[r][c] == 'k')
                                flat[my][mx] = l.grid[r][c];
                        }
        left += int(l.grid[0].size()) + gap;
    }

    const Mask ring = grown(mask, kOutline);
    image = Image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (maskAt(ring, x - kShadowOffset, y - kShadowOffset)) image.at(x, y) = shadow;
    const int steps = int(fill.size()) - 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (!ring[y][x]) continue;
            if (!mask[y][x]) {
                image.at(x, y) = outline;
                continue;
            }
            if (flat[y][x]) {
                image.at(x, y) = flat[y][x] == 'e' ? eye : pupil;
                continue;
            }
            const bool lit =
                !maskAt(mask, x, y - 1) || !maskAt(mask, x - 1, y) || !maskAt(mask, x - 1, y - 1);
            const bool shaded =
                !maskAt(mask, x, y + 1) || !maskAt(mask, x + 1, y) || !maskAt(mask, x + 1, y + 1);
            if (lit) {
                image.at(x, y) = light;
            } else if (shaded) {
                image.at(x, y) = dark;
            } else {
                const int position =
                    steps > 0 ? (y - margin) * steps * 16 / std::max(1, textHeight) : 0;
                const int i = std::clamp(position / 16, 0, steps);
                const bool next = i < steps && position % 16 > kBayer4[y % 4][x % 4];
                image.at(x, y) = fill[size_t(next ? i + 1 : i)];
            }
        }
    return true;
}

}  // namespace gfx
