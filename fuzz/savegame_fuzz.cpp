// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as savegame.dat: the count read from them is 0 or a level of the run, and a
// count stored under the mask found in them reads back as itself.

#include "persist/savegame.h"
#include "require.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int level = persist::decodeSavegame(data, size);
    REQUIRE(level >= 0 && level <= persist::kMaxSavedLevel);
    if (size < 3) return 0;

    const uint16_t mask = uint16_t(data[0] << 8 | data[2]);
    uint8_t file[persist::kSaveFileBytes];
    for (int stored = 0; stored <= 0xFF; ++stored) {
        persist::encodeSavegame(stored, mask, file);
        const int read = persist::decodeSavegame(file, sizeof file);
        const bool usable =
            mask != 0 && mask != 0xFFFF && stored >= 1 && stored <= persist::kMaxSavedLevel;
        REQUIRE(read == (usable ? stored : 0));
    }
    return 0;
}
