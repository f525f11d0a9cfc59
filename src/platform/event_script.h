// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Input played into SDL's real event queue at exact moments of the virtual clock: an event
// scheduled for a virtual moment is pushed as a wait carries the clock past it. Tests use it
// to press keys at exact frames of the real game loop, and to send the game signals.

#include <SDL.h>

#include <cstdint>

namespace platform {

// Pushes `event` into SDL's queue once virtual time reaches `tick` (at once when it already
// has); false when the schedule is full. Events of equal ticks keep their order.
bool scheduleEvent(uint32_t tick, const SDL_Event& event);
// Schedules a key press or a release, in key symbols of SDL.
bool scheduleKey(uint32_t tick, SDLKey key, bool pressed);
// Raises a signal in this process once virtual time reaches `tick`, as a session that ends
// or a launcher that stops the game would send it.
bool scheduleSignal(uint32_t tick, int signal);
// Removes every scheduled event not yet delivered.
void clearScheduledEvents();

}  // namespace platform
