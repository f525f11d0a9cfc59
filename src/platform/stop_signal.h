// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Stopping the game from outside: SIGTERM (a session that ends, a launcher or a service
// manager that stops the game) and SIGINT (Ctrl+C in a terminal) end it from any screen
// through the normal shutdown. The window's close button is another matter: it asks the
// player first, through the input record.

namespace platform {

// Catches SIGTERM and SIGINT from now on. Called before SDL starts, which then keeps these
// handlers instead of turning the signals into a window close.
void catchStopSignals();
// Whether a stop signal came.
bool stopRequested();
// Forgets a stop signal that came (tests).
void clearStopRequest();

}  // namespace platform
