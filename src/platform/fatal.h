// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one exit for errors the game cannot go on without.

namespace platform {

// Prints "<message>: <detail>\n" to standard output ("unknown" for a null or empty detail)
// and ends the process with exit status 1.
[[noreturn]] void fatalError(const char* message, const char* detail);

}  // namespace platform
