// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player: one 16 x 16 figure that walks, jumps and falls through the grid, reacts to the
// tiles it touches, pushes the view forward and dies in six ways.
//
// Motion is whole pixels per frame; the vertical speed is in quarter pixels, positive
// downwards. A jump (speed -21) rises exactly 50 pixels whether or not jump stays held;
// standing on ground the player sinks one pixel a frame under gravity (resting speed 7) and
// the landing snap puts it back on the tile boundary. The player can never step left of the
// view's left edge. Enemy contact is decided by the enemies; pick-ups and points by score.h.

#include <cstdint>
#include <string_view>

namespace world {

constexpr int32_t kJumpSpeed = -21;        // quarter pixels per frame at the start of a jump
constexpr int32_t kBounceSpeed = -7;       // after a stomp without a fresh jump press
constexpr int32_t kRestingSpeed = 7;       // set by landing and by head bumps
constexpr int32_t kDyingHopSpeed = -16;    // the hop of the dying sequence
constexpr int32_t kFallOutY = 251;         // at or below this y the player has fallen out
constexpr int32_t kDyingEndY = 2500;       // the dying sequence ends below this y
constexpr int32_t kDeathWaitFrames = 180;  // the run flow waits this long after a death at once
constexpr int32_t kIdleRestFrames = 500;   // idle frames before the resting frame shows

// Sprite frames of the player (indices of the tile sheet).
constexpr int32_t kFrameWalkRight = 1;  // 1..4
constexpr int32_t kFrameWalkLeft = 5;   // 5..8
constexpr int32_t kFrameRest = 24;      // start of a life and after long idling
constexpr int32_t kFrameStandRight = 65;
constexpr int32_t kFrameStandLeft = 68;

constexpr std::string_view kFellToDeath = "FELL TO DEATH";
constexpr std::string_view kImpaled = "IMPALED TO DEATH";
constexpr std::string_view kTimeUp = "TIME UP";
constexpr std::string_view kDrowned = "DROWNED";
constexpr std::string_view kSuicide = "SUICIDE";

// The controls held during one frame (left and right are never both held).
struct Controls {
    bool left = false;
    bool right = false;
    bool jump = false;
    bool down = false;
};

struct PlayerState {
    int32_t x = 0;  // top-left pixel of the box, world coordinates
    int32_t y = 0;
    int32_t vy = 0;              // quarter pixels per frame, positive downwards
    int32_t walkCounter = 0;     // +1 per frame walking right, -1 walking left
    int32_t idleCounter = 0;     // frames without left or right; after a death the frames to wait
    int32_t frame = kFrameRest;  // sprite frame drawn
    int32_t alive = 0;           // 1 while the player exists in the level
    int32_t dying = 0;           // 1 while it hops up and falls out of the screen
    int32_t reachedExit = 0;     // touched the open exit door: the level is done
    int32_t forgotItems = 0;     // touched the closed exit door: the reminder shows
    int32_t jumpLatched = 0;     // 1 from the start of a jump until jump is let go
    int32_t bounce = 0;          // set by a stomp, used up by the next update
    int32_t onTrapDoor = 0;      // 1 while overlapping an open trap door at mid-height
    int32_t trapDoorX = 0;       // cell (top-left pixel) of the last trap door overlapped
    int32_t trapDoorY = 0;
    int32_t splashed = 0;  // the splash of the air rule was heard for this dive

    bool operator==(const PlayerState&) const = default;
};

// Sets the player up at the restart point for a new life (standing on the first solid cell
// below it), with full time and air. False, and the player untouched, when the restart column
// holds no solid cell below the restart point: the level is not playable and the caller ends
// the program with "Can't load file" and the level name.
[[nodiscard]] bool placePlayer(PlayerState& player);
// One frame of the player while alive: walking, jumping, landing, tile contacts, scrolling,
// falling out and the dying sequence. cameraX is the view position at the start of the frame.
void updatePlayer(PlayerState& player, const Controls& controls, int32_t cameraX);
// The time and air rules, run right after updatePlayer on frames the player was alive before it.
void updateTimeAndAir(PlayerState& player);
// Starts the dying sequence (a hop up, then out at the bottom) with its cry.
void killPlayer(PlayerState& player, std::string_view message);
// Takes the player away at once; the run flow waits 180 frames.
void killPlayerAtOnce(PlayerState& player, std::string_view message);

}  // namespace world
