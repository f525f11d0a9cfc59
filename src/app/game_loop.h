#pragma once
// The game itself, once start-up is done: the title (a level that plays by itself behind
// its menu), the levels with their pause menu and quit question, the hiscore list and the
// closing picture. A pass is one life in one level, or the title; every screen is a loop
// of frames paced by the frame clock. The run events between passes (story, tally, lost
// life, game over, ending) are in run_progression.h.

#include <libmodplug/modplug.h>

#include "world/player.h"

namespace app {

// What one pass of the game loop keeps: the frame counter, the music.
struct PlayLoop {
    int frame = 0;                 // frames of the current pass; drives animation and blinking
    ModPlugFile* music = nullptr;  // the module the game loop loaded, or none
    bool restartMusic = true;      // the next pass starts its level's music afresh
    bool testMode = false;         // every pass plays the test map
};

extern PlayLoop loop;

// Runs the game until the player leaves it.
void runGameLoop(bool testMode);
// A new run: score 0, six lives, the title, menu and scroller reset, no death message.
void resetRun();
// Back to the title: resetRun, quit and leave requests cleared, a fresh pass.
void returnToTitle();
// Prepares the next pass. Fresh (another level or the title): restart point 16, 100 and the
// music stopped, to start anew with the next pass; otherwise (a life lost) both stay. Then
// waits until start is let go.
void beginPass(bool fresh);

}  // namespace app
