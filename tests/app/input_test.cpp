// Input rules, driven through SDL's real event queue.

#include "app/input.h"

#include <gtest/gtest.h>

#include "app/game_state.h"
#include "persist/config.h"
#include "support/sdl_fixture.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app::pollInput();  // drain anything left over
        app::input = {};
        app::actions = {};
        app::game = {};
        persist::keyBindings = {};
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

using app::INPUT_DOWN;
using app::INPUT_FIRE;
using app::INPUT_JUMP;
using app::INPUT_LEFT;
using app::INPUT_RIGHT;
using app::INPUT_START;
using app::INPUT_UP;

TEST_F(InputTest, TheUpArrowIsUpAndJumpAndItsReleaseReportsJump) {
    key(SDLK_UP, true);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_UP | INPUT_JUMP);
    EXPECT_EQ(app::input.released, 0);
    key(SDLK_UP, false);
    app::pollInput();
    EXPECT_EQ(app::input.held, 0u);
    EXPECT_EQ(app::input.released, int(INPUT_JUMP));
}

TEST_F(InputTest, OppositeDirectionsReplaceEachOther) {
    key(SDLK_RIGHT, true);
    key(SDLK_LEFT, true);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT);
    key(SDLK_RIGHT, false);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT);
    EXPECT_EQ(app::input.released, int(INPUT_RIGHT));
    key(SDLK_DOWN, true);
    key(SDLK_UP, true);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT | INPUT_UP | INPUT_JUMP);
}

TEST_F(InputTest, OnlyTheLastReleaseOfAPollIsReported) {
    key(SDLK_SPACE, true);
    key(SDLK_RETURN, true);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_FIRE | INPUT_START);
    key(SDLK_SPACE, false);
    key(SDLK_RETURN, false);
    app::pollInput();
    EXPECT_EQ(app::input.released, int(INPUT_START));
    app::pollInput();
    EXPECT_EQ(app::input.released, 0);
}

TEST_F(InputTest, EscapeAsksToQuitUnlessItIsBoundAsJumpFireOrStart) {
    key(SDLK_ESCAPE, true);
    app::pollInput();
    EXPECT_TRUE(app::input.quitRequested);

    app::input = {};
    persist::keyBindings.k_fire = SDLK_ESCAPE;
    key(SDLK_ESCAPE, true);
    app::pollInput();
    EXPECT_FALSE(app::input.quitRequested);
    EXPECT_EQ(app::input.held, INPUT_FIRE);

    SDL_Event close{};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    app::pollInput();
    EXPECT_TRUE(app::input.quitRequested);
}

TEST_F(InputTest, JoystickButtonsFollowTheirBindings) {
    button(0, true);
    button(1, true);
    button(7, true);
    button(3, true);  // not bound
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_JUMP | INPUT_FIRE | INPUT_START);
    button(1, false);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_JUMP | INPUT_START);
    EXPECT_EQ(app::input.released, int(INPUT_FIRE));
}

TEST_F(InputTest, AStickAxisCountsAsPushedOnlyBeyondItsDeadZone) {
    axis(0, 31000);
    app::pollInput();
    EXPECT_EQ(app::input.held, 0u);
    axis(0, 31001);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_RIGHT);
    axis(0, -32768);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT);
    axis(0, -31000);
    app::pollInput();
    EXPECT_EQ(app::input.held, 0u);
    EXPECT_EQ(app::input.released, int(INPUT_LEFT));

    axis(1, -31001);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_UP);
    axis(1, 32767);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_DOWN);
    axis(2, 0);  // other axes are ignored
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_DOWN);
    axis(1, 0);
    app::pollInput();
    EXPECT_EQ(app::input.held, 0u);
    EXPECT_EQ(app::input.released, int(INPUT_DOWN));
}

TEST_F(InputTest, OnlyACentredHatLetsGoOfHeldDirections) {
    hat(SDL_HAT_LEFTDOWN);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT | INPUT_DOWN);
    hat(SDL_HAT_LEFT);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT | INPUT_DOWN);
    hat(SDL_HAT_UP);
    app::pollInput();
    EXPECT_EQ(app::input.held, INPUT_LEFT | INPUT_UP);
    hat(SDL_HAT_CENTERED);
    app::pollInput();
    EXPECT_EQ(app::input.held, 0u);
    EXPECT_EQ(app::input.released, int(INPUT_LEFT));
}

TEST_F(InputTest, ActionFlagsPreferLeftAndCarryTheLeaveRequest) {
    app::actions.rightHeld = 1;
    app::input.held = INPUT_LEFT | INPUT_RIGHT | INPUT_DOWN;
    app::updateActionFlags();
    EXPECT_EQ(app::actions.leftHeld, 1);
    EXPECT_EQ(app::actions.rightHeld, 1);  // kept from before
    EXPECT_EQ(app::actions.downHeld, 1);
    EXPECT_EQ(app::actions.jumpHeld, 0);
    EXPECT_FALSE(app::game.leaveRequested);

    app::input.held = INPUT_RIGHT;
    app::input.quitRequested = true;
    app::updateActionFlags();
    EXPECT_EQ(app::actions.leftHeld, 0);
    EXPECT_EQ(app::actions.rightHeld, 1);
    EXPECT_EQ(app::actions.downHeld, 0);
    EXPECT_TRUE(app::game.leaveRequested);
}

}  // namespace
