// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The life of the process: command line, SDL and the display, joystick, audio, archives,
// the pictures every screen shares, the front-end screens, the game loop, and the release
// of everything in a fixed order at the end.

namespace app {

// The whole program; returns the exit status of a normal end (0).
int runProgram(int argc, char** argv);
// Releases everything in its order, writes the configuration when it was read, ends SDL.
int shutdownGame();

}  // namespace app
