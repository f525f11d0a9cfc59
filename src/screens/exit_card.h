// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The closing picture in the deluxe style: the "donate" card over the world, whose tile
// effects and enemies keep moving, for at least 2 and at most 8 seconds. From frame 120 on
// it ends when start is let go or a quit is requested; after frame 479 in any case.

#include "screens/screen.h"

namespace screens {

void enterExitCard();
Rules exitCardRules();
// The world moves on by one frame.
Step tickExitCard();
void drawExitCard();
// Done once the card has stood long enough and start or a quit came, or at the latest.
Step afterExitCard();

}  // namespace screens
