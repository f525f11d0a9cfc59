// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Whole-file reading and writing for our tools. A file is replaced by writing the new bytes
// beside it and renaming them over it, so a failed write never leaves half a file behind; a
// symbolic link is followed to the file it names, and a file that may not be written is left
// alone.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tool_files {

// The whole file; false when it cannot be read.
bool readFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);
// Makes `bytes` the content of the file, keeping its permissions; false, with the old file
// untouched, when it fails or the file may not be written.
bool writeFileReplacing(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

}  // namespace tool_files
