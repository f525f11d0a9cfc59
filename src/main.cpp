// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// TROLK: a hard, retro platformer. Everything happens in app::runProgram.

#include "app/startup.h"

int main(int argc, char** argv) { return app::runProgram(argc, argv); }
