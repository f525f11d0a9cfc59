// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A mask of 0 would store the count in the clear and one of 0xFFFF would merely invert it;
// neither is ever written, and a file carrying one reads as no savegame. Only the first
// four bytes of the file count.

#include "persist/savegame.h"

#include <cstdlib>

#include "persist/config.h"
#include "persist/safe_file.h"

namespace persist {

namespace {

const char* savegamePath() { return dataFilePath(nullptr, "savegame", "dat"); }

}  // namespace

int decodeSavegame(const uint8_t* bytes, size_t size) {
    if (size < size_t(kSaveFileBytes)) return 0;
    const uint16_t mask = uint16_t(bytes[2] | bytes[0] << 8);
    if (mask == 0 || mask == 0xFFFF) return 0;
    const uint16_t value = uint16_t(mask ^ (bytes[1] | bytes[3] << 8));
    const int low = value & 0xFF;
    const int high = value >> 8;
    return high == low && low >= 1 && low <= kMaxSavedLevel ? low : 0;
}

int readSavegame() {
    const FileBytes file = readWholeFile(savegamePath(), kSaveFileBytes);
    return file ? decodeSavegame(file.bytes.get(), file.size) : 0;
}

void encodeSavegame(int level, uint16_t mask, uint8_t* bytes) {
    const uint8_t stored = uint8_t(level);
    const uint8_t maskHigh = uint8_t(mask >> 8);
    const uint8_t maskLow = uint8_t(mask);
    bytes[0] = maskHigh;
    bytes[1] = uint8_t(maskLow ^ stored);
    bytes[2] = maskLow;
    bytes[3] = uint8_t(maskHigh ^ stored);
}

int writeSavegame(int levelCounter) {
    const uint16_t mask = drawSaveMask([] { return std::rand(); });
    const int level = levelCounter - 1;
    uint8_t bytes[kSaveFileBytes];
    encodeSavegame(level, mask, bytes);
    writeFileSafely(savegamePath(), bytes, sizeof bytes);
    return level;
}

}  // namespace persist
