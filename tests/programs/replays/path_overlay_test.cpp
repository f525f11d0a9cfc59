// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The way of a replay drawn over a level picture: enlarged with the picture, its end marked by
// how it ended, and kept inside the picture when the hero goes over the top of the screen or
// falls out at the bottom.

#include "path_overlay.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 192;

level_render::Picture blank(int scale) {
    return {kWidth * scale, kHeight * scale,
            std::vector<uint8_t>(size_t(3 * kWidth * kHeight * scale * scale), 0)};
}

// Pixels of exactly this colour inside the box of level pixels [x0, x1) x [y0, y1).
int countColour(const level_render::Picture& picture, int scale, int x0, int y0, int x1, int y1,
                uint8_t r, uint8_t g, uint8_t b) {
    int count = 0;
    for (int y = y0 * scale; y < y1 * scale; ++y)
        for (int x = x0 * scale; x < x1 * scale; ++x) {
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
            const uint8_t* p = &picture.rgb[size_t(3 * (y * picture.width + x))];
            count += p[0] == r && p[1] == g && p[2] == b;
        }
    return count;
}

// A jump over the top of the screen from (40, 128) to the right, then a fall out at the bottom.
std::vector<std::pair<int32_t, int32_t>> overTheTopAndDown() {
    std::vector<std::pair<int32_t, int32_t>> boxes;
    int32_t y = 128;
    for (int32_t i = 0; i < 80; ++i) boxes.push_back({40 + 2 * i, y += (i < 40 ? -4 : 6)});
    return boxes;
}

TEST(PathOverlay, MarksTheEndOfTheWayInsideTheEnlargedPicture) {
    const std::vector<std::pair<int32_t, int32_t>> boxes = overTheTopAndDown();
    const level_render::PathColour yellow = level_render::pathColour(0);
    for (int scale : {1, 3}) {
        SCOPED_TRACE(scale);
        for (level_render::PathEnd end :
             {level_render::PATH_EXIT, level_render::PATH_DEATH, level_render::PATH_STOP}) {
            level_render::Picture picture = blank(scale);
            level_render::drawPath(picture, boxes, end, scale, yellow);
            const auto [endX, endY] = boxes.back();  // below the picture: drawn on its last row
            const int nearEnd[4] = {endX, kHeight - 14, endX + 17, kHeight};
            const int red = countColour(picture, scale, nearEnd[0], nearEnd[1], nearEnd[2],
                                        nearEnd[3], 255, 32, 32);
            const int green = countColour(picture, scale, nearEnd[0], nearEnd[1], nearEnd[2],
                                          nearEnd[3], 48, 255, 96);
            const int white = countColour(picture, scale, nearEnd[0], nearEnd[1], nearEnd[2],
                                          nearEnd[3], 255, 255, 255);
            EXPECT_EQ(red > 0, end == level_render::PATH_DEATH);
            EXPECT_EQ(green > 0, end == level_render::PATH_EXIT);
            EXPECT_EQ(white > 0, end == level_render::PATH_STOP);
            // The part above the screen runs along the top row.
            EXPECT_GT(countColour(picture, scale, 0, 0, kWidth, 1, yellow.r, yellow.g, yellow.b),
                      0);
            // The start square is there, the picture right of the way is untouched.
            EXPECT_GT(countColour(picture, scale, 44, 132, 53, 141, yellow.r, yellow.g, yellow.b),
                      0);
            EXPECT_EQ(countColour(picture, scale, 220, 0, kWidth, kHeight, 0, 0, 0),
                      (kWidth - 220) * kHeight * scale * scale);
        }
    }
}

}  // namespace
