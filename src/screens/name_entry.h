// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The hiscore name entry at the end of a run, arcade style: up and down step through the
// letters at the cursor, left and right (or fire) move the cursor, start ends the entry
// early. A name holds up to eight characters of space and 'A' to 'Z'. The world stands
// dimmed behind the text, and the name goes into the hiscore table (which is saved) at once.
// After an accepted input the controls rest for 10 frames, so a held key steps every 11th
// frame; a start press that ends the entry is waited out, polling every 100 ms.

#include "screens/screen.h"

namespace screens {

constexpr int kNameRepeatDelay = 10;  // frames without input after an accepted input

// Begins the entry when the run's score beats the tenth entry of the table; Done at once
// otherwise (no screen, no change).
Step enterNameEntry();
Rules nameEntryRules();
// One accepted input; Done when the name became complete and was stored.
Step tickNameEntry();
void drawNameEntry();
// Done once start, which ended the entry, is let go and the name is stored.
Step afterNameEntry();

}  // namespace screens
