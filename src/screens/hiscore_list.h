// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The hiscore list over the title level, which keeps scrolling by itself with its actors
// frozen (new ones still come into view): the ten names and scores, until start is pressed
// or the player asks to leave.

#include "screens/screen.h"

namespace screens {

// Begins the list over the title as its frame count stood; Done at once when start is held
// or a leave was requested.
Step enterHiscoreList(int titleFrame);
Rules hiscoreListRules();
// The view moves one pixel on.
Step tickHiscoreList();
void drawHiscoreList();
// Done when start is held or a leave was requested.
Step afterHiscoreList();

}  // namespace screens
