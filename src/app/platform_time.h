#pragma once
// Milliseconds and waiting, the platform side of the frame clock. In the game they are
// SDL's ticks and SDL_Delay. With the virtual clock on (tests and tools), a wait only
// advances a counter, so a whole level plays in a blink; events scheduled for a virtual
// moment are pushed into SDL's queue as that moment passes, which lets a test play
// input into the real event loop at exact frames.

#include <SDL.h>

#include <cstdint>

namespace app {

// Milliseconds since start-up, or the virtual counter.
uint32_t readTicks();
// Waits (or advances the virtual counter by) that many milliseconds.
void waitMilliseconds(uint32_t ms);

// Switches the virtual clock on or off; switching drops all scheduled events.
void setVirtualClock(bool on);
bool virtualClockOn();
// Lets virtual time pass without a wait, as a slow frame would.
void advanceVirtualClock(uint32_t ms);
// Pushes `event` into SDL's queue once virtual time reaches `tick`; false when the
// schedule is full. Events of equal ticks arrive in the order they were scheduled.
bool scheduleEvent(uint32_t tick, const SDL_Event& event);
// Schedules a key press or a release, in key symbols of SDL.
bool scheduleKey(uint32_t tick, SDLKey key, bool pressed);
// Removes every scheduled event not yet delivered.
void clearScheduledEvents();

}  // namespace app
