#pragma once
// The way a replay takes, drawn over the picture of its level for review: the centre of the
// hero's box in every frame as a dotted line (four frames drawn, four left out), a larger dot
// each second (60 frames), a square where the life starts, and where it ends a ring for the
// exit reached or a cross for a death.

#include "level_render.h"

#include <cstdint>
#include <vector>

namespace level_render {

struct PathColour {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 0;
};

// Colours for several paths over one picture, told apart; index wraps around.
PathColour pathColour(int index);

// Draws a path of box positions (top-left, world pixels) over a picture of the whole level
// enlarged `scale` times. Points above or below the picture are drawn on its edge, so a way
// over the top of the screen or a fall stays visible. `died` marks the last point with a cross,
// otherwise with a ring.
void drawPath(Picture& picture, const std::vector<std::pair<int32_t, int32_t>>& boxes, bool died,
              int scale, PathColour colour);

} // namespace level_render
