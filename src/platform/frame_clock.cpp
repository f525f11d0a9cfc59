// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/frame_clock.h"

#include <array>
#include <cstddef>

#include "platform/ticks.h"

namespace platform {

FrameClock frameClock;

namespace {

// Where each frame of a group ends, in ms after the group began.
constexpr std::array<int, kFramesPerGroup> kFrameEnds = {17, 34, kGroupBudgetMs};

}  // namespace

void resetFrameClock() {
    frameClock = {};
    frameClock.groupStart = readTicks();
}

void paceFrame() {
    FrameClock& clock = frameClock;
    int late = int(readTicks() - clock.groupStart) - kFrameEnds[size_t(clock.frameInGroup)];
    if (late > kMostLagMs) {
        clock.groupStart += uint32_t(late - kMostLagMs);
        late = kMostLagMs;
    }
    clock.skipDraw = late > 0;
    clock.lagMs = late > 0 ? late : 0;
    if (late < 0) waitMilliseconds(uint32_t(-late));

    if (++clock.frameInGroup == kFramesPerGroup) {
        clock.frameInGroup = 0;
        clock.groupStart += kGroupBudgetMs;
    }
}

}  // namespace platform
