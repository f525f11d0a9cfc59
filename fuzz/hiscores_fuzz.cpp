// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as hiscores.dat.
//
// Whatever the file holds, the table that comes out of it is one the game can show: ten
// entries with terminated names, scores in 0..50000, known kinds and no default name twice
// (the order is the file's: a hand-made file may hold any). The table saved from it loads
// back with the same scores, kinds and player names, and without being called forged.

#include "persist/hiscores.h"
#include "require.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void checkTable() {
    bool used[persist::kHiscoreCount] = {};
    for (const persist::HiscoreEntry& entry : persist::hiscores.entries) {
        REQUIRE(entry.name[persist::kHiscoreNameLength] == 0);
        REQUIRE(entry.score >= 0 && entry.score <= persist::kHiscoreMaxScore);
        REQUIRE(entry.kind <= persist::HISCORE_RESET);
        if (entry.kind != persist::HISCORE_DEFAULT) continue;
        const std::string_view name(entry.name.data());
        for (int k = 0; k < persist::kHiscoreCount; ++k) {
            if (persist::kDefaultHiscoreNames[k] != name) continue;
            REQUIRE(!used[k]);
            used[k] = true;
        }
    }
}

// Saved and loaded again: everything but the names of default entries, which are drawn anew
// at every load, stays as it was.
void checkRoundTrip() {
    const persist::HiscoreTable before = persist::hiscores;
    uint8_t file[persist::kHiscoreFileBytes];
    persist::encodeHiscores(file);
    persist::hiscores = {};
    REQUIRE(!persist::decodeHiscores(file, sizeof file));
    for (int k = 0; k < persist::kHiscoreCount; ++k) {
        const persist::HiscoreEntry& was = before.entries[k];
        const persist::HiscoreEntry& is = persist::hiscores.entries[k];
        REQUIRE(is.score == was.score && is.kind == was.kind && is.reserved == was.reserved);
        if (was.kind != persist::HISCORE_DEFAULT && was.name[0] != 0) REQUIRE(is.name == was.name);
    }
    checkTable();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    persist::hiscores = {};
    persist::decodeHiscores(data, size);
    checkTable();
    checkRoundTrip();
    return 0;
}
