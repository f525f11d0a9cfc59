// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The way a replay takes, drawn over the picture of its level for review: the centre of the
// hero's box in every frame as a dotted line (four frames drawn, four left out), a larger dot
// each second (60 frames), a square where the life starts, and where it ends a green ring for
// the exit reached, a red cross for a death, or a white ring where the controls ran out.

#include "level_render.h"

#include <cstdint>
#include <vector>

namespace level_render {

struct PathColour {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 0;
};

// How a way ends.
enum PathEnd { PATH_EXIT, PATH_DEATH, PATH_STOP };

// Colours for several paths over one picture, told apart; index wraps around.
PathColour pathColour(int index);

// Draws a path of box positions (top-left, world pixels) over a picture of the whole level
// enlarged `scale` times. Points above or below the picture are drawn on its edge, so a way
// over the top of the screen or a fall stays visible. The last point is marked by how the way
// ends.
void drawPath(Picture& picture, const std::vector<std::pair<int32_t, int32_t>>& boxes, PathEnd end,
              int scale, PathColour colour);

}  // namespace level_render
