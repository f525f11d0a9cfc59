// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A small seeded generator (SplitMix64) so that every drawing program gives the same
// picture on every machine, whatever the runtime library's rand does.

#include <cstdint>

namespace gfx {

class Random {
  public:
    explicit Random(uint64_t seed = 1) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number in [0, n); n > 0.
    int below(int n) { return int(next() % uint64_t(n)); }
    // A whole number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }

  private:
    uint64_t state_;
};

}  // namespace gfx
