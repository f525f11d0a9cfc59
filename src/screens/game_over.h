// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two screens after the last life is lost, over the level as it was left: its tile
// effects and enemies keep moving and the frame count goes on from the level's. "GAME OVER"
// with the score, and the death message blinking, until start is pressed (escape and a
// window close are not acted upon here); later, after the name entry, "CONTINUE?", answered
// only by releasing left (yes) or right (no). A release of left or right left over from the
// name entry answers it at once.

#include "screens/screen.h"

namespace screens {

// Begins "GAME OVER" with the frame count the level had reached.
Step enterGameOver(int levelFrame);
// Begins "CONTINUE?"; Done at once when left or right was the last release.
Step enterContinueQuestion();
Rules gameOverRules();
// The world moves on by one frame.
Step tickGameOver();
void drawGameOver();
void drawContinueQuestion();
// Done when start is held.
Step afterGameOver();
// Done when left or right was released.
Step afterContinueQuestion();
// The answer: left (yes, play the level again) rather than right.
bool continueChosen();

}  // namespace screens
