// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Input rules, driven through SDL's real event queue.

#include "platform/input.h"

#include <gtest/gtest.h>

#include "persist/config.h"
#include "support/sdl_fixture.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::pollInput();  // drain anything left over
        platform::input = {};
        platform::actions = {};
        platform::keyBindings = {};
    }

    static void key(SDLKey sym, bool pressed) {
        SDL_Event e{};
        e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    }
    static void button(int b, bool pressed) {
        SDL_Event e{};
        e.type = pressed ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        e.jbutton.button = Uint8(b);
        SDL_PushEvent(&e);
    }
    static void axis(int a, int value) {
        SDL_Event e{};
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.axis = Uint8(a);
        e.jaxis.value = Sint16(value);
        SDL_PushEvent(&e);
    }
    static void hat(int value) {
        SDL_Event e{};
        e.type = SDL_JOYHATMOTION;
        e.jhat.value = Uint8(value);
        SDL_PushEvent(&e);
    }
};

using platform::INPUT_DOWN;
using platform::INPUT_FIRE;
using platform::INPUT_JUMP;
using platform::INPUT_LEFT;
using platform::INPUT_RIGHT;
using platform::INPUT_START;
using platform::INPUT_UP;

TEST_F(InputTest, TheUpArrowIsUpAndJumpAndItsReleaseReportsJump) {
    key(SDLK_UP, true);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_UP | INPUT_JUMP);
    EXPECT_EQ(platform::input.released, 0);
    key(SDLK_UP, false);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, 0u);
    EXPECT_EQ(platform::input.released, int(INPUT_JUMP));
}

TEST_F(InputTest, OppositeDirectionsReplaceEachOther) {
    key(SDLK_RIGHT, true);
    key(SDLK_LEFT, true);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT);
    key(SDLK_RIGHT, false);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT);
    EXPECT_EQ(platform::input.released, int(INPUT_RIGHT));
    key(SDLK_DOWN, true);
    key(SDLK_UP, true);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT | INPUT_UP | INPUT_JUMP);
}

TEST_F(InputTest, OnlyTheLastReleaseOfAPollIsReported) {
    key(SDLK_SPACE, true);
    key(SDLK_RETURN, true);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_FIRE | INPUT_START);
    key(SDLK_SPACE, false);
    key(SDLK_RETURN, false);
    platform::pollInput();
    EXPECT_EQ(platform::input.released, int(INPUT_START));
    platform::pollInput();
    EXPECT_EQ(platform::input.released, 0);
}

TEST_F(InputTest, EscapeAsksToQuitUnlessItIsBoundAsJumpFireOrStart) {
    key(SDLK_ESCAPE, true);
    platform::pollInput();
    EXPECT_TRUE(platform::input.quitRequested);

    platform::input = {};
    platform::keyBindings.k_fire = SDLK_ESCAPE;
    key(SDLK_ESCAPE, true);
    platform::pollInput();
    EXPECT_FALSE(platform::input.quitRequested);
    EXPECT_EQ(platform::input.held, INPUT_FIRE);

    SDL_Event close{};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    platform::pollInput();
    EXPECT_TRUE(platform::input.quitRequested);
}

TEST_F(InputTest, JoystickButtonsFollowTheirBindings) {
    button(0, true);
    button(1, true);
    button(7, true);
    button(3, true);  // not bound
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_JUMP | INPUT_FIRE | INPUT_START);
    button(1, false);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_JUMP | INPUT_START);
    EXPECT_EQ(platform::input.released, int(INPUT_FIRE));
}

TEST_F(InputTest, AStickAxisCountsAsPushedOnlyBeyondItsDeadZone) {
    // One move after the other; a centred axis lets go of what it held.
    const struct {
        int axis, value;
        uint32_t held;
        int released;
    } moves[] = {
        {0, 31000, 0, 0},           {0, 31001, INPUT_RIGHT, 0},
        {0, -32768, INPUT_LEFT, 0}, {0, -31000, 0, INPUT_LEFT},
        {1, -31000, 0, 0},          {1, -31001, INPUT_UP, 0},
        {1, 31000, 0, INPUT_UP},    {1, 31001, INPUT_DOWN, 0},
        {2, 0, INPUT_DOWN, 0},  // other axes are ignored
        {1, 0, 0, INPUT_DOWN},
    };
    for (const auto& m : moves) {
        axis(m.axis, m.value);
        platform::pollInput();
        EXPECT_EQ(platform::input.held, m.held) << "axis " << m.axis << " at " << m.value;
        EXPECT_EQ(platform::input.released, m.released) << "axis " << m.axis << " at " << m.value;
    }
}

TEST_F(InputTest, OnlyACentredHatLetsGoOfHeldDirections) {
    hat(SDL_HAT_LEFTDOWN);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT | INPUT_DOWN);
    hat(SDL_HAT_LEFT);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT | INPUT_DOWN);
    hat(SDL_HAT_UP);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, INPUT_LEFT | INPUT_UP);
    hat(SDL_HAT_CENTERED);
    platform::pollInput();
    EXPECT_EQ(platform::input.held, 0u);
    EXPECT_EQ(platform::input.released, int(INPUT_LEFT));
}

TEST_F(InputTest, ActionFlagsPreferLeftAndCarryTheLeaveRequest) {
    const struct {
        int rightBefore;
        uint32_t held;
        bool quit;
        int left, right, down, jump;
    } cases[] = {
        {1, INPUT_LEFT | INPUT_RIGHT | INPUT_DOWN, false, 1, 1, 1, 0},  // right keeps its 1
        {0, INPUT_LEFT | INPUT_RIGHT, false, 1, 0, 0, 0},               // and its 0
        {0, INPUT_RIGHT | INPUT_JUMP, true, 0, 1, 0, 1},
        {1, 0, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        platform::actions = {};
        platform::actions.rightHeld = c.rightBefore;
        platform::input.held = c.held;
        platform::input.quitRequested = c.quit;
        platform::updateActionFlags();
        EXPECT_EQ(platform::actions.leftHeld, c.left) << c.held;
        EXPECT_EQ(platform::actions.rightHeld, c.right) << c.held;
        EXPECT_EQ(platform::actions.downHeld, c.down) << c.held;
        EXPECT_EQ(platform::actions.jumpHeld, c.jump) << c.held;
        EXPECT_EQ(platform::actions.leaveRequested, c.quit) << c.held;
    }
}

}  // namespace
