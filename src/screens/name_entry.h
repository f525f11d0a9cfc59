#pragma once
// The hiscore name entry at the end of a run, arcade style: up and down step through the
// letters at the cursor, left and right (or fire) move the cursor, start ends the entry
// early. A name holds up to eight characters of space and 'A' to 'Z'. The frozen world
// shows dimmed behind the text, and the name goes into the hiscore table at once.

#include "world/player.h"

namespace screens {

constexpr int kNameRepeatDelay = 10;  // frames without input after an accepted input

// Lets the player enter a name when the run's score beats the tenth entry of the table,
// and stores it; returns at once otherwise.
void enterHiscoreName(const world::PlayerState& player);

}  // namespace screens
