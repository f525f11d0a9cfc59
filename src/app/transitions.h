// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What comes after each screen: the one place where the game flow moves on.

#include "app/flow.h"

namespace app {

// The screen is done: takes the game to the next one.
void finishScreen(Screen screen);

}  // namespace app
