// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The HUD and the overlays. In a level the bottom 48 rows hold the time and air bars and a
// row of icons and numbers (lives, score, items left, level); over the play area the game
// shows its state as centred text: the start-of-life call, the death message, the reminder
// about forgotten items and the pause menu on a dimmed picture. On the title the same place
// holds the logo, the version, the blinking start prompt or the main menu, and a scroller.
//
// Blinking elements show while (frame counter AND 32) is 0: 32 frames on, 32 off.

#include <string_view>

#include "world/player.h"

namespace video {

constexpr int kBlinkBit = 32;
constexpr int kIntroFrames = 180;   // frames 0..180 of a life: "TROLK, RUN!", no player yet
constexpr int kScrollerChars = 41;  // at most this many characters of the scroller show

// The scroller's fixed text: 40 blanks, 318 characters, 41 blanks.
extern const std::string_view scrollText;

// Title menu entries; the pause menu uses 1..3 (suicide, go on, exit).
enum MenuEntry : int {
    MENU_HIDDEN = -3,  // the hiscore list is shown over the title: no title overlay
    MENU_PRESS_START = 0,
    MENU_NEW_GAME = 1,
    MENU_CONTINUE = 2,
    MENU_HISCORES = 3,
    MENU_EXIT = 4,
};
enum PauseEntry : int { PAUSE_SUICIDE = 1, PAUSE_GO_ON = 2, PAUSE_EXIT = 3 };

// The menu the overlays show: its selected entry (see MenuEntry and PauseEntry; 0 when no
// menu is open) and whether it is the pause menu.
struct MenuView {
    int selection = 0;
    bool paused = false;
};

struct Scroller {
    int scrollChar = 0;  // first character shown
    int scrollSub = 0;   // 0..15; the line moves one pixel every second frame
};

extern Scroller scroller;

// The time and air bars with their labels (levels only).
void drawHudBars();
// The lower HUD row and the messages in a level, or the title overlay, with this menu.
void drawOverlays(int n, const world::PlayerState& player, const MenuView& menu);
// One frame of the title scroller.
void advanceScroller();
// Back to the start of the scroller text.
void resetScroller();

}  // namespace video
