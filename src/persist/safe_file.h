// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's three small files (trolk.cfg, hiscores.dat, savegame.dat), read and written.
//
// Reading: one path for all three. Only a regular file is read (a folder, a pipe or a device
// by that name reads as no file), an empty one is no file either, and no read takes more than
// kMaxFileBytes, whatever size the file claims.
//
// Writing: the new content goes into "<file>.tmp" beside the file, is flushed to the disk,
// and only then renamed over the old file, which on POSIX systems swaps the two in one step:
// a crash, a full disk or a failed write at any moment leaves either the complete old file or
// the complete new one. The replacement keeps the old file's mode (and owner, where it may).
// A name that is a symbolic link is followed to its target, which is replaced in its own
// folder, so the link stays. A file the player made read-only is neither replaced nor
// written, even when the game runs as root. Where the folder cannot take the temporary file
// the file is written in place, as a plain write would; anything that is not a regular file
// (a device, say) is only ever written in place. A save that fails says so in one line on
// standard error, "Can't save hiscores.dat: Permission denied", and the game goes on.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files.h"

namespace persist {

// No read of the player's files holds more than this: ample for any settings file a player
// writes, and hiscores.dat and savegame.dat need 160 and 4 bytes.
constexpr size_t kMaxFileBytes = 64 * 1024;

using platform::FileBytes;

// Reads at most `limit` (and never more than kMaxFileBytes) bytes from the start of the file
// (platform/files.h): an empty result for anything that is no file to the game.
[[nodiscard]] FileBytes readWholeFile(const char* path, size_t limit = kMaxFileBytes);

// A seam for the tests: while failAfterBytes is 0 or more, every write gives up after that
// many bytes, as a full disk would. Never set in the game.
struct WriteFault {
    int64_t failAfterBytes = -1;
};

extern WriteFault writeFault;

// Makes `bytes` the whole content of `path` by the rules above; false, with one line on
// standard error, when it could not.
bool writeFileSafely(const char* path, const uint8_t* bytes, size_t size);

}  // namespace persist
