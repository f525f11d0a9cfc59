// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The screen flow: which screen the game shows, and the one frame function that runs every
// screen. A frame reads the controls as the screen's rules say, lets the screen do its step,
// draws and shows the picture unless the game is late (or the screen draws only when it
// begins), ends the frame with the frame clock or with the poll wait of a waiting screen,
// and asks the screen whether it is done. What comes after a screen is decided in one place,
// transitions.cpp. A stop signal ends the flow from any screen at the next frame.

#include <cstdint>

namespace app {

enum class Screen {
    // the front end at start-up
    Warning,
    Credits,
    StyleChoice,
    // the level frame: the title level behind its menu, a life in a level, its pause menu,
    // and "SURE TO QUIT?" over it
    Title,
    Play,
    Pause,
    QuitQuestion,
    // between the lives and levels of a run
    Story,
    Tally,
    GameOver,
    NameEntry,
    ContinueQuestion,
    Ending,
    // the title's own screens
    HiscoreList,
    ExitCard,
    // the flow is over
    Ended,
};

struct Flow {
    Screen screen = Screen::Ended;
    bool releasingStart = false;  // start must be let go before `screen` begins
    bool alone = false;           // one screen runs alone: when it is done, the flow ends
};

extern Flow flow;

// Runs frames from this screen on until the flow ends.
void runFlow(Screen first);
// Runs frames until the flow ends.
void runUntilEnded();
// Runs frames until the flow ends or the clock reaches `tick`; false when it has ended. The
// flow stays where it is, to be looked at and run on (tests and tools drive it so).
bool runFramesUntil(uint32_t tick);
// Begins one screen alone: when it is done the flow ends instead of moving on (for tests and
// tools that look at one screen).
void beginScreen(Screen screen);
// beginScreen, then frames until the screen is done.
void runScreen(Screen screen);
// Moves to the next screen: at once, or, when asked, once start is let go (polled every
// 100 ms, nothing drawn), so that the press that ended one screen does not reach the next.
void go(Screen next, bool afterStartRelease);

}  // namespace app
