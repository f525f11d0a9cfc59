// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one-byte XOR chain that keeps the bytes of the archive entries and of the hiscore file
// from showing through. The two directions of the chain: every byte XORed with the byte
// before it as it stood, or with the result before it (a running XOR); each undoes the
// other. The first byte takes the seed in place of a byte before it.

#include <cstddef>
#include <cstdint>

namespace platform {

// out[i] = in[i] ^ in[i - 1], in place; in[-1] is the seed.
inline void xorWithPreviousByte(uint8_t* bytes, size_t count, uint8_t seed) {
    uint8_t previous = seed;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        bytes[i] = byte ^ previous;
        previous = byte;
    }
}

// out[i] = in[i] ^ out[i - 1], in place; out[-1] is the seed.
inline void xorWithPreviousResult(uint8_t* bytes, size_t count, uint8_t seed) {
    uint8_t previous = seed;
    for (size_t i = 0; i < count; ++i) previous = bytes[i] ^= previous;
}

}  // namespace platform
