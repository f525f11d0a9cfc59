// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rules a fuzz target checks beyond the sanitizers: a broken one stops the run with a
// finding, naming the rule.

#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void ruleBroken(const char* rule, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken rule: %s\n", file, line, rule);
    std::abort();
}

}  // namespace fuzz

#define REQUIRE(rule) ((rule) ? void(0) : fuzz::ruleBroken(#rule, __FILE__, __LINE__))
