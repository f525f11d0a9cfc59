// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The style-choice screen at start-up: left the classic pictures, right the deluxe ones, and
// ten releases of down (counted over the whole screen, whatever comes between) the hidden
// handheld style. The picture is drawn once; the controls are polled every 10 ms. A quit
// request ends it with the style unchanged.

#include "screens/screen.h"

namespace screens {

// Draws the choice and shows it; Done at once when a quit was already requested.
Step enterStyleChoice();
Rules styleChoiceRules();
// Done when a release chose a style.
Step tickStyleChoice();
// Done when a quit was requested.
Step afterStyleChoice();

}  // namespace screens
