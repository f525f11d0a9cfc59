// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The clock and the event script share the virtual counter: scheduled events go out as the
// clock's waits carry it past their moments.

#include "platform/ticks.h"

#include <SDL.h>

#include <array>
#include <csignal>

#include "platform/event_script.h"

namespace platform {

namespace {

constexpr size_t kMaxScheduledEvents = 1024;

struct ScheduledEvent {
    uint32_t tick = 0;
    SDL_Event event{};
    int signal = 0;  // a signal raised instead of the event, when not 0
    bool pending = false;
};

struct VirtualClock {
    bool on = false;
    uint32_t now = 0;
    std::array<ScheduledEvent, kMaxScheduledEvents> schedule;
    size_t used = 0;  // slots handed out, delivered or not
};

VirtualClock virtualClock;

void deliverDueEvents() {
    for (size_t i = 0; i < virtualClock.used; ++i) {
        ScheduledEvent& scheduled = virtualClock.schedule[i];
        if (scheduled.pending && scheduled.tick <= virtualClock.now) {
            scheduled.pending = false;
            if (scheduled.signal) std::raise(scheduled.signal);
            else SDL_PushEvent(&scheduled.event);
        }
    }
}

}  // namespace

uint32_t readTicks() { return virtualClock.on ? virtualClock.now : SDL_GetTicks(); }

void waitMilliseconds(uint32_t ms) {
    if (!virtualClock.on) {
        SDL_Delay(ms);
        return;
    }
    virtualClock.now += ms;
    deliverDueEvents();
}

void setVirtualClock(bool on) {
    virtualClock = {};
    virtualClock.on = on;
}

bool virtualClockOn() { return virtualClock.on; }

void advanceVirtualClock(uint32_t ms) { virtualClock.now += ms; }

bool scheduleEvent(uint32_t tick, const SDL_Event& event) {
    if (virtualClock.used == kMaxScheduledEvents) return false;
    virtualClock.schedule[virtualClock.used++] = {tick, event, 0, true};
    deliverDueEvents();  // an event for a moment already past goes out at once
    return true;
}

bool scheduleKey(uint32_t tick, SDLKey key, bool pressed) {
    SDL_Event event{};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return scheduleEvent(tick, event);
}

bool scheduleSignal(uint32_t tick, int signal) {
    if (virtualClock.used == kMaxScheduledEvents) return false;
    virtualClock.schedule[virtualClock.used++] = {tick, {}, signal, true};
    deliverDueEvents();
    return true;
}

void clearScheduledEvents() {
    for (size_t i = 0; i < virtualClock.used; ++i) virtualClock.schedule[i].pending = false;
    virtualClock.used = 0;
}

}  // namespace platform
