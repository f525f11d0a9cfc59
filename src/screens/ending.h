// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ending after the last level: four lines on black, standing until start is pressed or
// the player asks to leave; a start press is then waited out, so that it does not reach the
// name entry that follows, and a leave request is forgotten. The controls are polled every
// 100 ms; the picture is drawn once. The music is left as it is: after the last level it is
// still fading out.

#include "screens/screen.h"

namespace screens {

// Draws the ending and shows it; Done at once when start was already let go of and a leave
// is requested.
Step enterEnding();
Rules endingRules();
// Done once start (if it ended the screen) is let go.
Step afterEnding();

}  // namespace screens
