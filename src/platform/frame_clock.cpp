#include "platform/frame_clock.h"

#include "platform/ticks.h"

namespace platform {

FrameClock frameClock;

void resetFrameClock() {
    frameClock = {};
    frameClock.lastTick = readTicks();
    frameClock.groupStart = frameClock.lastTick;
}

void paceFrame() {
    const uint32_t previous = frameClock.lastTick;
    const uint32_t now = readTicks();
    frameClock.lastTick = now;

    const bool endsGroup = frameClock.frameInGroup == kFramesPerGroup - 1;
    int budget = kFrameBudgetMs;
    if (endsGroup) {
        frameClock.lagMs += int(now - frameClock.groupStart);
        budget = kGroupBudgetMs;
    } else {
        frameClock.lagMs += int(now - previous);
    }

    if (frameClock.lagMs > budget) {
        frameClock.lagMs -= budget;
        frameClock.skipDraw = true;
    } else {
        if (budget - frameClock.lagMs > 0) waitMilliseconds(uint32_t(budget - frameClock.lagMs));
        frameClock.lagMs = 0;
        frameClock.skipDraw = false;
    }
    frameClock.lastTick = readTicks();

    if (endsGroup) {
        frameClock.groupStart = frameClock.lastTick;
        frameClock.frameInGroup = 0;
    } else {
        ++frameClock.frameInGroup;
    }
}

}  // namespace platform
