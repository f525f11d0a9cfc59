// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The story before level 1: eight lines on black, standing until start is pressed or the
// player asks to leave. The controls are polled every 100 ms; the picture is drawn once.

#include "screens/screen.h"

namespace screens {

// Draws the story and shows it; Done at once when start is held or a leave was requested.
Step enterStory();
Rules storyRules();
// Done when start is held or a leave was requested.
Step afterStory();

}  // namespace screens
