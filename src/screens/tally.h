// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The tally at the end of a level: "CONGRATULATIONS" over the level as the player left it,
// for 360 frames (counter 192 to 551, six seconds). The time bonus (whole seconds left) is
// added at frame 282 and shown from then on, the life bonus (one point per life) at 342;
// both follow the ordinary points rule, so a bonus gives one extra life at the most. Up to
// level 15 "NEXT LEVEL" and "APPROACHING" blink below. All input is ignored; the tile
// effects and enemies stand still.

#include "screens/screen.h"

namespace screens {

// The cheer, the bonuses worked out, the player taken out of the picture.
void enterTally();
Rules tallyRules();
// Adds each bonus on its frame.
Step tickTally();
void drawTally();
// Done after the last frame; the player is back for the next level.
Step afterTally();

}  // namespace screens
