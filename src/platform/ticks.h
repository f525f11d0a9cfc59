// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Milliseconds and waiting, the platform side of the frame clock. In the game they are
// SDL's ticks and SDL_Delay. With the virtual clock on (tests and tools), a wait only
// advances a counter, so a whole level plays in a blink (event_script.h plays input into
// the event queue at exact virtual moments).

#include <cstdint>

namespace platform {

// Milliseconds since start-up, or the virtual counter.
uint32_t readTicks();
// Waits (or advances the virtual counter by) that many milliseconds.
void waitMilliseconds(uint32_t ms);

// Switches the virtual clock on or off; switching drops all scheduled events.
void setVirtualClock(bool on);
bool virtualClockOn();
// Lets virtual time pass without a wait, as a slow frame would.
void advanceVirtualClock(uint32_t ms);

}  // namespace platform
