// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void fatalError(const char* message, const char* detail) {
    std::printf("%s: %s\n", message, detail && *detail ? detail : "unknown");
    std::fflush(stdout);
    std::exit(1);
}

}  // namespace platform
