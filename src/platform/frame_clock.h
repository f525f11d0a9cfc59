// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The frame clock: frames come in groups of three that end 17, 34 and 50 ms after the group
// began, sixty frames a second on average. Each frame waits for its own end on that
// schedule. A frame that ends late does not wait, and the next frame is computed without
// being drawn; frames go on that way until the schedule is caught up, so the game keeps its
// speed on any display. Lateness beyond a quarter of a second (a suspended laptop, a stopped
// process, a debugger) is dropped rather than caught up: after a stall the game goes on
// from where it was, instead of racing through the frames it missed.

#include <cstdint>

namespace platform {

constexpr int kFramesPerGroup = 3;
constexpr int kGroupBudgetMs = 50;  // the whole group of three
constexpr int kMostLagMs = 250;     // lateness beyond this is dropped

struct FrameClock {
    uint32_t groupStart = 0;  // ms, start of the current group of three frames
    int frameInGroup = 0;     // 0..2
    int lagMs = 0;            // how far the last frame ended behind its schedule
    bool skipDraw = false;    // the next frame is computed but neither drawn nor shown
};

extern FrameClock frameClock;

// Starts a new schedule now: whenever a screen begins its loop or the rhythm was broken.
void resetFrameClock();
// Ends a frame: waits for its time to be used up, or records that the game is late.
void paceFrame();

}  // namespace platform
