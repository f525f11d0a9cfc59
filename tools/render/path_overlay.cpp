// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "path_overlay.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace level_render {

namespace {

constexpr int kHalfBox = 8;     // from the box's corner to its centre
constexpr int kDashFrames = 4;  // frames drawn, then as many left out
constexpr int kSecondFrames = 60;
constexpr int kMarkRadius = 4;  // start square, end ring and cross, in level pixels
constexpr PathColour kWhite{255, 255, 255};
constexpr PathColour kRed{255, 32, 32};
constexpr PathColour kGreen{48, 255, 96};

constexpr std::array<PathColour, 5> kPathColours = {{
    {255, 230, 0},   // yellow
    {0, 230, 255},   // cyan
    {255, 80, 255},  // magenta
    {255, 150, 0},   // orange
    {150, 255, 60},  // lime
}};

// A square of level pixels around (x, y), in the enlarged picture.
void dot(Picture& picture, int x, int y, int radius, int scale, PathColour c) {
    for (int py = (y - radius) * scale; py < (y + radius + 1) * scale; ++py)
        for (int px = (x - radius) * scale; px < (x + radius + 1) * scale; ++px)
            picture.set(px, py, c.r, c.g, c.b);
}

// One level pixel, enlarged.
void pixel(Picture& picture, int x, int y, int scale, PathColour c) {
    dot(picture, x, y, 0, scale, c);
}

void square(Picture& picture, int x, int y, int scale, PathColour c) {
    for (int i = -kMarkRadius; i <= kMarkRadius; ++i) {
        pixel(picture, x + i, y - kMarkRadius, scale, c);
        pixel(picture, x + i, y + kMarkRadius, scale, c);
        pixel(picture, x - kMarkRadius, y + i, scale, c);
        pixel(picture, x + kMarkRadius, y + i, scale, c);
    }
}

void ring(Picture& picture, int x, int y, int scale, PathColour c) {
    for (int dy = -kMarkRadius - 1; dy <= kMarkRadius + 1; ++dy)
        for (int dx = -kMarkRadius - 1; dx <= kMarkRadius + 1; ++dx) {
            const int d = dx * dx + dy * dy;
            if (d >= kMarkRadius * kMarkRadius - kMarkRadius &&
                d <= kMarkRadius * kMarkRadius + kMarkRadius)
                pixel(picture, x + dx, y + dy, scale, c);
        }
}

void cross(Picture& picture, int x, int y, int scale, PathColour c) {
    for (int i = -kMarkRadius; i <= kMarkRadius; ++i)
        for (int thick = 0; thick < 2; ++thick) {
            pixel(picture, x + i + thick, y + i, scale, c);
            pixel(picture, x + i + thick, y - i, scale, c);
        }
}

}  // namespace

PathColour pathColour(int index) {
    return kPathColours[size_t(std::abs(index)) % kPathColours.size()];
}

void drawPath(Picture& picture, const std::vector<std::pair<int32_t, int32_t>>& boxes, PathEnd end,
              int scale, PathColour colour) {
    if (boxes.empty() || scale < 1) return;
    const int lastY = picture.height / scale - 1;
    auto centre = [&](size_t i) {
        return std::pair<int, int>{boxes[i].first + kHalfBox,
                                   std::clamp(boxes[i].second + kHalfBox, 0, lastY)};
    };
    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto [x, y] = centre(i);
        if (i % kSecondFrames == 0) dot(picture, x, y, 1, scale, kWhite);
        else if ((i / kDashFrames) % 2 == 0) pixel(picture, x, y, scale, colour);
    }
    const auto [startX, startY] = centre(0);
    square(picture, startX, startY, scale, colour);
    const auto [endX, endY] = centre(boxes.size() - 1);
    switch (end) {
    case PATH_EXIT: ring(picture, endX, endY, scale, kGreen); break;
    case PATH_DEATH: cross(picture, endX, endY, scale, kRed); break;
    case PATH_STOP: ring(picture, endX, endY, scale, kWhite); break;
    }
}

}  // namespace level_render
