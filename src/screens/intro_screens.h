// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two screens shown at start-up before the style choice: a warning about the game's
// difficulty and the credits of the libraries it uses. Each shows a blinking title and
// fixed lines, and ends when up or jump is let go (or at once on a quit request).

#include "screens/screen.h"

namespace screens {

enum class IntroScreen { Warning, Credits };

// Begins the screen: its title shows from the first frame on.
void enterIntro(IntroScreen which);
// The first frame is drawn before anything is read; from then on every frame polls.
Rules introRules();
// Done when up or jump was let go, or a quit was requested.
Step tickIntro();
void drawIntro();

}  // namespace screens
