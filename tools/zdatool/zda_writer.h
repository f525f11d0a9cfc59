// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Builds ZDA archives in memory: header, entry table, then each entry's content run through
// the byte chain and deflated at the best level. The same entries in the same order always
// give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace zda {

struct PackEntry {
    std::string name;  // at most 39 characters
    std::vector<uint8_t> content;
};

// The whole archive file; entries are stored in the given order, duplicates included.
std::vector<uint8_t> buildArchive(const std::vector<PackEntry>& entries);

// An entry as the directory of an archive describes it.
struct ListedEntry {
    std::string name;
    int32_t unpackedSize = 0;
    int32_t packedSize = 0;
    int64_t fileOffset = 0;
};

// Reads the directory of an archive image; false with a reason when it is not sound.
bool readDirectory(const std::vector<uint8_t>& file, std::vector<ListedEntry>& entries,
                   std::string& error);

}  // namespace zda
