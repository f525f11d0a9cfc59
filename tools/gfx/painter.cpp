// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "painter.h"

#include "random.h"

#include <algorithm>
#include <vector>

namespace gfx {

namespace {

constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int kNoiseOne = 1024;  // noise values lie in [-kNoiseOne, kNoiseOne]
constexpr int kStepOne = 256;    // interpolation steps between two lattice points
constexpr int kCrossedStarEvery = 14;

struct Painter {
    Image& image;
    const Palette& palette;
    Random random;

    int wrap(int x) const { return ((x % image.width) + image.width) % image.width; }
    void plot(int x, int y, Rgb c) { image.set(wrap(x), y, c); }
};

// Smoothstep on 0..kStepOne, in integers.
int smooth(int t) { return t * t * (3 * kStepOne - 2 * t) / (kStepOne * kStepOne); }

// One octave of value noise with `cells` lattice points across the width; repeats exactly.
std::vector<int> octave(Random& random, int width, int cells) {
    std::vector<int> lattice(static_cast<size_t>(cells));
    for (int& v : lattice) v = random.between(-kNoiseOne, kNoiseOne);
    std::vector<int> out(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        const int position = x * cells * kStepOne / width;
        const int k = position / kStepOne;
        const int t = smooth(position % kStepOne);
        const int a = lattice[size_t(k % cells)];
        const int b = lattice[size_t((k + 1) % cells)];
        out[size_t(x)] = a + (b - a) * t / kStepOne;
    }
    return out;
}

// The skyline of a layer: for every column the first row of the layer, between
// base - height and base.
std::vector<int> skyline(Random& random, int width, int base, int height, int firstCells,
                         int octaves, int roughness) {
    std::vector<int> sum(static_cast<size_t>(width), 0);
    int amplitude = kNoiseOne;
    int cells = firstCells;
    for (int o = 0; o < octaves; ++o) {
        const std::vector<int> layer = octave(random, width, cells);
        for (int x = 0; x < width; ++x) sum[size_t(x)] += layer[size_t(x)] * amplitude / kNoiseOne;
        amplitude = amplitude * roughness / 100;
        cells *= 2;
    }
    const auto [low, high] = std::minmax_element(sum.begin(), sum.end());
    const int range = std::max(1, *high - *low);
    std::vector<int> top(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        top[size_t(x)] = base - (sum[size_t(x)] - *low) * height / range;
    return top;
}

void fillBelow(Painter& p, const std::vector<int>& top, Rgb fill, const Rgb* rim) {
    for (int x = 0; x < p.image.width; ++x) {
        const int y0 = top[size_t(x)];
        for (int y = std::max(0, y0); y < p.image.height; ++y) p.image.at(x, y) = fill;
        if (!rim) continue;
        p.image.set(x, y0, *rim);
        // Steep steps facing the light (left) get lit down their side as well.
        const int left = top[size_t(p.wrap(x - 1))];
        for (int y = left + 1; y < y0; ++y) p.image.set(x, y, *rim);
    }
}

void ramp(Painter& p, int top, int bottom, const std::vector<Rgb>& colours, bool dithered) {
    const int steps = int(colours.size()) - 1;
    const int span = std::max(1, bottom - top);
    for (int y = std::max(0, top); y <= bottom && y < p.image.height; ++y) {
        const int position = (y - top) * steps * 16 / span;
        const int i = std::min(steps, position / 16);
        const int f = position % 16;
        for (int x = 0; x < p.image.width; ++x) {
            Rgb c = colours[size_t(i)];
            if (i < steps && (dithered ? f > kBayer4[y % 4][x % 4] : f >= 8))
                c = colours[size_t(i + 1)];
            p.image.at(x, y) = c;
        }
    }
}

void stars(Painter& p, int top, int bottom, int count, const std::vector<Rgb>& colours) {
    const int n = int(colours.size());
    for (int s = 0; s < count; ++s) {
        const int x = p.random.below(p.image.width);
        const int y = p.random.between(top, bottom);
        // Dim stars are the common ones.
        const int pick = std::min(p.random.below(n), p.random.below(n));
        p.plot(x, y, colours[size_t(pick)]);
        if (pick == n - 1 && n > 1 && p.random.below(kCrossedStarEvery / 2) == 0) {
            const Rgb arm = colours[size_t(n - 2)];
            p.plot(x - 1, y, arm);
            p.plot(x + 1, y, arm);
            p.image.set(p.wrap(x), y - 1, arm);
            p.image.set(p.wrap(x), y + 1, arm);
        }
    }
}

void pines(Painter& p, int base, int height, int spacing, Rgb fill) {
    int x = p.random.below(spacing);
    const int end = x + p.image.width;
    while (x < end - spacing / 2) {
        const int h = p.random.between(height * 3 / 5, height);
        const int half = std::max(2, h / 4);
        for (int r = 0; r < h; ++r) {
            // Three tiers of branches, each wider than the one above.
            const int tier = r * 3 / h;
            const int inTier = r - tier * h / 3;
            const int w = std::min(half, (inTier + 1 + tier * 2) * half / (h / 3 + 4));
            for (int dx = -w; dx <= w; ++dx) p.plot(x + dx, base - h + r, fill);
        }
        for (int r = 0; r < 3; ++r) p.plot(x, base - r, fill);
        x += p.random.between(spacing / 2, spacing + spacing / 2);
    }
}

void windowGrid(Painter& p, int left, int right, int top, int bottom, Rgb lit, Rgb dim) {
    for (int wy = top + 3; wy + 2 < bottom; wy += 5)
        for (int wx = left + 2; wx + 1 < right - 1; wx += 4) {
            const int roll = p.random.below(10);
            if (roll > 2) continue;
            const Rgb c = roll == 0 ? lit : dim;
            p.plot(wx, wy, c);
            p.plot(wx + 1, wy, c);
            p.plot(wx, wy + 1, c);
            p.plot(wx + 1, wy + 1, c);
        }
}

void town(Painter& p, int base, int height, Rgb fill, Rgb lit, Rgb dim) {
    int x = 0;
    while (x < p.image.width) {
        const int w = p.random.between(14, 34);
        const bool tower = p.random.below(6) == 0;
        const int h = tower ? p.random.between(height, height + height / 2)
                            : p.random.between(height / 3, height);
        const int top = base - h;
        for (int dx = 0; dx < (tower ? w / 2 : w); ++dx)
            for (int y = top; y <= base; ++y) p.plot(x + dx, y, fill);
        const int bodyWidth = tower ? w / 2 : w;
        if (tower) {
            // A pointed spire.
            for (int r = 0; r < bodyWidth; ++r)
                for (int dx = r / 2; dx < bodyWidth - r / 2; ++dx) p.plot(x + dx, top - r, fill);
        } else if (p.random.below(2) == 0) {
            // A gabled roof and a chimney.
            for (int r = 0; r < bodyWidth / 2; ++r)
                for (int dx = r; dx < bodyWidth - r; ++dx) p.plot(x + dx, top - r, fill);
            const int chimney = x + bodyWidth / 4;
            for (int y = top - bodyWidth / 4 - 3; y < top; ++y) {
                p.plot(chimney, y, fill);
                p.plot(chimney + 1, y, fill);
            }
        }
        windowGrid(p, x, x + bodyWidth, top, base, lit, dim);
        x += bodyWidth + p.random.between(0, 6);
    }
}

void castle(Painter& p, int cx, int base, Rgb fill, Rgb lit) {
    auto block = [&](int left, int right, int top) {
        for (int x = left; x <= right; ++x)
            for (int y = top; y <= base; ++y) p.plot(x, y, fill);
    };
    auto battlements = [&](int left, int right, int top) {
        for (int x = left; x <= right; x += 3) {
            p.plot(x, top - 1, fill);
            p.plot(x, top - 2, fill);
        }
    };
    auto roof = [&](int left, int right, int top) {
        const int w = right - left + 1;
        for (int r = 0; r <= w; ++r)
            for (int x = left - 1 + r / 3; x <= right + 1 - r / 3; ++x) p.plot(x, top - r, fill);
    };
    block(cx - 22, cx + 22, base - 26);  // curtain wall
    battlements(cx - 22, cx + 22, base - 26);
    block(cx - 10, cx + 10, base - 44);  // keep
    battlements(cx - 10, cx + 10, base - 44);
    block(cx - 30, cx - 21, base - 50);  // towers
    block(cx + 21, cx + 30, base - 50);
    roof(cx - 30, cx - 21, base - 51);
    roof(cx + 21, cx + 30, base - 51);
    block(cx - 3, cx + 3, base - 58);  // watch turret
    roof(cx - 3, cx + 3, base - 59);
    for (int y = base - 40; y < base - 36; ++y) {
        p.plot(cx - 26, y, lit);
        p.plot(cx + 26, y, lit);
    }
    for (int x = cx - 6; x <= cx + 6; x += 4) {
        p.plot(x, base - 36, lit);
        p.plot(x, base - 35, lit);
    }
    p.plot(cx, base - 53, lit);
    p.plot(cx, base - 52, lit);
    for (int y = base - 8; y <= base; ++y)  // gate, lit from inside
        for (int x = cx - 2; x <= cx + 2; ++x)
            if (y > base - 8 || (x > cx - 2 && x < cx + 2)) p.plot(x, y, lit);
}

bool colourList(const std::vector<std::string>& words, size_t first, const Palette& palette,
                std::vector<Rgb>& out, std::string& missing) {
    for (size_t i = first; i < words.size(); ++i) {
        const Rgb* c = palette.find(words[i]);
        if (!c) {
            missing = words[i];
            return false;
        }
        out.push_back(*c);
    }
    return true;
}

}  // namespace

bool paintScene(TextSource& source, const Palette& palette, Image& image, std::string& error) {
    std::string line;
    if (!source.nextStatement(line)) {
        error = source.where("empty scene");
        return false;
    }
    std::vector<std::string> words = splitWords(line);
    int width = 0, height = 0;
    if (words.size() != 3 || words[0] != "size" || !parseInt(words[1], width) ||
        !parseInt(words[2], height) || width < 1 || height < 1 || width > 4096 || height > 4096) {
        error = source.where("a scene begins with: size WIDTH HEIGHT");
        return false;
    }
    image = Image(width, height, Rgb{});
    Painter p{image, palette, Random(1)};
    while (source.nextStatement(line)) {
        words = splitWords(line);
        const std::string& what = words[0];
        // Leading numbers, then colour names.
        std::vector<int> numbers;
        size_t i = 1;
        for (int n = 0; i < words.size() && parseInt(words[i], n); ++i) numbers.push_back(n);
        std::vector<Rgb> colours;
        std::string missing;
        if (!colourList(words, i, palette, colours, missing)) {
            error = source.where("the palette has no colour " + missing);
            return false;
        }
        auto shape = [&](size_t wantNumbers, size_t minColours, size_t maxColours) {
            return numbers.size() == wantNumbers && colours.size() >= minColours &&
                   colours.size() <= maxColours;
        };
        const Rgb* second = colours.size() > 1 ? &colours[1] : nullptr;
        if (what == "seed" && shape(1, 0, 0)) {
            p.random = Random(uint64_t(numbers[0]));
        } else if ((what == "gradient" || what == "bands") && shape(2, 2, 64)) {
            ramp(p, numbers[0], numbers[1], colours, what == "gradient");
        } else if (what == "stars" && shape(3, 1, 16)) {
            stars(p, numbers[0], numbers[1], numbers[2], colours);
        } else if (what == "ridge" && shape(3, 1, 2)) {
            const int roughness = std::clamp(numbers[2], 0, 100);
            fillBelow(p, skyline(p.random, width, numbers[0], numbers[1], 3, 6, roughness),
                      colours[0], second);
        } else if (what == "hills" && shape(3, 1, 2)) {
            fillBelow(
                p, skyline(p.random, width, numbers[0], numbers[1], std::max(1, numbers[2]), 2, 30),
                colours[0], second);
        } else if (what == "pines" && shape(3, 1, 1) && numbers[2] > 1 && numbers[1] > 3) {
            pines(p, numbers[0], numbers[1], numbers[2], colours[0]);
        } else if (what == "town" && shape(2, 3, 3) && numbers[1] > 3) {
            town(p, numbers[0], numbers[1], colours[0], colours[1], colours[2]);
        } else if (what == "castle" && shape(2, 2, 2)) {
            castle(p, numbers[0], numbers[1], colours[0], colours[1]);
        } else {
            error = source.where("cannot read this '" + what + "' statement");
            return false;
        }
    }
    return true;
}

}  // namespace gfx
