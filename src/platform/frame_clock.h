#pragma once
// The frame clock: frames come in groups of three, 17 + 17 + 16 ms, sixty frames a second
// on average. A frame that ends late is not waited for; the lag is carried and the next
// frames are computed without being drawn until it is worked off, so the game runs at the
// same speed on any display.

#include <cstdint>

namespace platform {

constexpr int kFrameBudgetMs = 17;  // the first two frames of a group
constexpr int kGroupBudgetMs = 50;  // the whole group of three
constexpr int kFramesPerGroup = 3;

struct FrameClock {
    uint32_t lastTick = 0;    // ms, end of the previous pacing step
    uint32_t groupStart = 0;  // ms, start of the current group of three frames
    int frameInGroup = 0;     // 0..2
    int lagMs = 0;            // how far the game is behind its schedule
    bool skipDraw = false;    // the next frame is computed but neither drawn nor shown
};

extern FrameClock frameClock;

// Starts a new schedule now: whenever a screen begins its loop or the rhythm was broken.
void resetFrameClock();
// Ends a frame: waits for its time to be used up, or records that the game is late.
void paceFrame();

}  // namespace platform
