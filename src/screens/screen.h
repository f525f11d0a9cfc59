// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What every screen tells the game flow. A screen never loops: the flow's one frame function
// reads the controls as the screen's rules say, lets the screen do its frame, draws it,
// shows it and paces it, and asks the screen after the pause whether it is done. The rules
// are the screen's own timings: a screen that waits for a key polls every 100 ms and does
// not redraw, a screen over the moving world draws every frame the clock gives time for.

namespace screens {

// After a step: go on with this screen, or it is done (the flow decides what comes next).
enum class Step { Stay, Done };

// How a frame reads the controls before the screen's step.
enum class Poll {
    None,     // not at all
    Events,   // drain the events into the input record
    Actions,  // drain the events and derive the held actions (and the leave request)
    Ignored,  // drain the events and forget them: nothing the player does counts
};

// Whether a frame is drawn and shown.
enum class Draw {
    OnTime,  // unless the frame clock says the game is late
    Always,  // every frame
    Never,   // only when the screen begins, if at all
};

// How a frame ends.
enum class Pace {
    FrameClock,  // the next frame of the 17, 17, 16 ms rhythm
    Wait100,     // a poll every 100 ms
    Wait10,      // a poll every 10 ms
    None,        // no pause: the next frame follows at once
};

struct Rules {
    Poll poll = Poll::Actions;
    Draw draw = Draw::OnTime;
    Pace pace = Pace::FrameClock;
};

}  // namespace screens
