// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ZDA archive layout, shared by the game's reader and our archive tool.
//
// An archive is a 12-byte header ("ZDA\0", entry count, directory size), a table of
// 52-byte entries (40-byte NUL-terminated name, unpacked size, packed size, data offset
// counted from the end of the directory), then the entries' zlib streams. All fields are
// 32-bit little-endian. Before compression every entry is run through a one-byte XOR
// chain so that its bytes do not show through: stored[i] = plain[i] ^ plain[i - 1], with
// plain[-1] = kArchiveSeed.

#include <cstddef>
#include <cstdint>

#include "platform/byte_chain.h"

namespace archive {

constexpr uint8_t kArchiveMagic[4] = {'Z', 'D', 'A', 0};
constexpr uint8_t kArchiveSeed = 0x6E;
constexpr int32_t kArchiveHeaderSize = 12;
constexpr int32_t kArchiveEntrySize = 52;
constexpr int32_t kArchiveNameSize = 40;  // including the terminating zero
constexpr int32_t kArchiveMaxEntries = 65536;

// Undoes the chain in place: plain[0] = seed ^ s[0], plain[i] = plain[i - 1] ^ s[i].
inline void unscrambleChain(uint8_t* bytes, size_t count, uint8_t seed = kArchiveSeed) {
    platform::xorWithPreviousResult(bytes, count, seed);
}

// Applies the chain in place: s[0] = seed ^ plain[0], s[i] = plain[i] ^ plain[i - 1].
inline void scrambleChain(uint8_t* bytes, size_t count, uint8_t seed = kArchiveSeed) {
    platform::xorWithPreviousByte(bytes, count, seed);
}

}  // namespace archive
