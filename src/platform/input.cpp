// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Event rules. Opposite directions replace each other at once (pressing left while right is
// held lets go of right). A key can serve several controls: with the default bindings the
// up arrow is both up and jump, and its release reports jump, because the jump test comes
// after the direction tests. Escape asks to quit unless it is bound as jump, fire or start.

#include "platform/input.h"

#include <SDL.h>

namespace platform {

KeyBindings keyBindings;
InputState input;
ActionFlags actions;

namespace {

void press(uint32_t bit) { input.held |= bit; }

void release(uint32_t bit) {
    input.held &= ~bit;
    input.released = InputBit(bit);
}

// Sets one direction and lets go of its opposite, without reporting a release.
void pushDirection(uint32_t bit, uint32_t opposite) {
    input.held |= bit;
    input.held &= ~opposite;
}

// A centred stick or hat lets go of the first held of the two directions.
void centre(uint32_t first, uint32_t second) {
    if (input.held & first) release(first);
    else if (input.held & second) release(second);
}

void keyPressed(int key) {
    const KeyBindings& keys = keyBindings;
    if (key == keys.k_up) pushDirection(INPUT_UP, INPUT_DOWN);
    else if (key == keys.k_down) pushDirection(INPUT_DOWN, INPUT_UP);

    if (key == keys.k_right) pushDirection(INPUT_RIGHT, INPUT_LEFT);
    else if (key == keys.k_left) pushDirection(INPUT_LEFT, INPUT_RIGHT);

    if (key == keys.k_jump) press(INPUT_JUMP);
    else if (key == keys.k_fire) press(INPUT_FIRE);
    else if (key == keys.k_start) press(INPUT_START);
    else if (key == SDLK_ESCAPE) input.quitRequested = true;
}

void keyReleased(int key) {
    const KeyBindings& keys = keyBindings;
    if (key == keys.k_up) release(INPUT_UP);
    else if (key == keys.k_down) release(INPUT_DOWN);

    if (key == keys.k_right) {
        release(INPUT_RIGHT);
        return;
    }
    if (key == keys.k_left) {
        release(INPUT_LEFT);
        return;
    }

    if (key == keys.k_jump) release(INPUT_JUMP);
    else if (key == keys.k_fire) release(INPUT_FIRE);
    else if (key == keys.k_start) release(INPUT_START);
}

void buttonPressed(int button) {
    const KeyBindings& keys = keyBindings;
    if (button == keys.j_jump) press(INPUT_JUMP);
    else if (button == keys.j_fire) press(INPUT_FIRE);
    else if (button == keys.j_start) press(INPUT_START);
}

void buttonReleased(int button) {
    const KeyBindings& keys = keyBindings;
    if (button == keys.j_jump) release(INPUT_JUMP);
    else if (button == keys.j_fire) release(INPUT_FIRE);
    else if (button == keys.j_start) release(INPUT_START);
}

void axisMoved(int axis, int value) {
    if (axis == 0) {
        if (value > kAxisDeadZone) pushDirection(INPUT_RIGHT, INPUT_LEFT);
        else if (value < -kAxisDeadZone) pushDirection(INPUT_LEFT, INPUT_RIGHT);
        else centre(INPUT_RIGHT, INPUT_LEFT);
    } else if (axis == 1) {
        if (value < -kAxisDeadZone) pushDirection(INPUT_UP, INPUT_DOWN);
        else if (value > kAxisDeadZone) pushDirection(INPUT_DOWN, INPUT_UP);
        else centre(INPUT_DOWN, INPUT_UP);
    }
}

// A hat position with a vertical bit but no horizontal one keeps the horizontal controls,
// and the other way round; only the centred hat lets go of held directions.
void hatMoved(int hat) {
    const KeyBindings& keys = keyBindings;
    if (hat & keys.j_up) pushDirection(INPUT_UP, INPUT_DOWN);
    else if (hat & keys.j_down) pushDirection(INPUT_DOWN, INPUT_UP);

    if (hat & keys.j_left) pushDirection(INPUT_LEFT, INPUT_RIGHT);
    else if (hat & keys.j_right) pushDirection(INPUT_RIGHT, INPUT_LEFT);
    else if (hat == 0) {
        centre(INPUT_DOWN, INPUT_UP);
        centre(INPUT_RIGHT, INPUT_LEFT);
    }
}

}  // namespace

bool released(InputBit bit) { return input.released == bit; }

void pollInput() {
    input.released = INPUT_NONE;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN: keyPressed(event.key.keysym.sym); break;
        case SDL_KEYUP: keyReleased(event.key.keysym.sym); break;
        case SDL_JOYBUTTONDOWN: buttonPressed(event.jbutton.button); break;
        case SDL_JOYBUTTONUP: buttonReleased(event.jbutton.button); break;
        case SDL_JOYAXISMOTION: axisMoved(event.jaxis.axis, event.jaxis.value); break;
        case SDL_JOYHATMOTION: hatMoved(event.jhat.value); break;
        case SDL_QUIT: input.quitRequested = true; break;
        default: break;
        }
    }
}

void updateActionFlags() {
    pollInput();
    if (input.held & INPUT_START) actions.startHeld = 1;
    if (input.held & INPUT_LEFT) actions.leftHeld = 1;
    else if (input.held & INPUT_RIGHT) actions.rightHeld = 1;
    if (input.held & INPUT_JUMP) actions.jumpHeld = 1;
    if (input.held & INPUT_DOWN) actions.downHeld = 1;
    if (input.quitRequested) actions.leaveRequested = true;

    // With both directions held, left is taken and right keeps its previous value.
    if (!(input.held & INPUT_START)) actions.startHeld = 0;
    if (!(input.held & INPUT_LEFT)) actions.leftHeld = 0;
    if (!(input.held & INPUT_RIGHT)) actions.rightHeld = 0;
    if (!(input.held & INPUT_JUMP)) actions.jumpHeld = 0;
    if (!(input.held & INPUT_DOWN)) actions.downHeld = 0;
}

}  // namespace platform
