// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Turns SDL's keyboard, joystick and window events into one small input record that every
// screen reads once per frame. Menus act when a control is let go, so besides the held
// controls the record keeps the last one released during the latest poll.

#include <cstdint>

namespace platform {

enum InputBit : uint32_t {
    INPUT_NONE = 0,
    INPUT_START = 0x02,
    INPUT_FIRE = 0x04,
    INPUT_JUMP = 0x08,
    INPUT_LEFT = 0x10,
    INPUT_RIGHT = 0x20,
    INPUT_DOWN = 0x40,
    INPUT_UP = 0x80,
};

constexpr int kAxisDeadZone = 31000;  // beyond this either way a stick axis counts as pushed

// The keys and joystick controls the poll reads: SDL key symbols, joystick buttons, and the
// hat bits of the directions. The game sets them from its settings file.
struct KeyBindings {
    int k_jump = 273;   // SDL key codes: up arrow
    int k_fire = 32;    // space
    int k_start = 13;   // return
    int k_up = 273;     // up arrow
    int k_down = 274;   // down arrow
    int k_left = 276;   // left arrow
    int k_right = 275;  // right arrow
    int j_jump = 0;     // joystick buttons
    int j_fire = 1;
    int j_start = 7;
    int j_up = 1;  // hat bits
    int j_down = 4;
    int j_left = 8;
    int j_right = 2;
};

struct InputState {
    uint32_t held = 0;               // INPUT_ bits held down now
    InputBit released = INPUT_NONE;  // the control released last during the latest poll
    bool quitRequested = false;      // escape or a window close; cleared by the game flow
};

// The held controls as the game reads them, derived once per frame (0 or 1 each).
struct ActionFlags {
    int startHeld = 0;
    int leftHeld = 0;
    int rightHeld = 0;
    int jumpHeld = 0;
    int downHeld = 0;
    // The game flow's request to leave: set here from quitRequested, and by the menus' EXIT
    // entries; only the game flow clears it.
    bool leaveRequested = false;
};

extern KeyBindings keyBindings;
extern InputState input;
extern ActionFlags actions;

// Whether `bit` is the control released last during the latest poll.
bool released(InputBit bit);
// Drains SDL's event queue into `input`; never blocks.
void pollInput();
// pollInput, then derives `actions` (left wins over right) and sets leaveRequested from
// quitRequested.
void updateActionFlags();

}  // namespace platform
