// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a whole small file, the one way the game reads a file of its own outside the
// archives (the settings, the hiscore table, the savegame, the test map). Only a regular file
// is read (a folder, a pipe or a device by that name reads as no file), an empty one is no
// file either, and no read takes more than the caller's limit, whatever size the file claims.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// A whole file in a heap buffer that the caller owns; not zero-terminated.
struct FileBytes {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;

    explicit operator bool() const { return bytes != nullptr; }
};

// Reads at most `limit` bytes from the start of the file. An empty result when the path is
// no regular file, cannot be opened or read, or is empty: to the game all of these are no file.
[[nodiscard]] FileBytes readWholeFile(const char* path, size_t limit);

}  // namespace platform
