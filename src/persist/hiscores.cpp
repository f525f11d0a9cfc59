// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Loading rules. The file's bytes are read over the table's current bytes, so a short file
// keeps the rest of the old table, and the whole 160 bytes are unscrambled together; the
// content decides, not the length. An entry is forged when its name has no terminating
// zero, its score lies outside 0..50000 or its kind is unknown; the first forged entry turns
// the whole table into "CHEATER" entries of 50000 points, which is saved at once. Valid
// entries with an empty name or of the default kind get a default name drawn at random,
// never the same one twice in one load; player and reset entries keep theirs. Without a
// file, or with an empty one, a fresh table of default names is drawn, the scores raised by
// 0..99, and saved.
//
// The table is turned into file bytes field by field (score little-endian), so the memory
// layout of HiscoreEntry never reaches the disk directly.

#include "persist/hiscores.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "persist/config.h"
#include "persist/safe_file.h"
#include "platform/byte_chain.h"

namespace persist {

HiscoreTable hiscores;

namespace {

constexpr size_t kNameOffset = 0;
constexpr size_t kKindOffset = 9;
constexpr size_t kReservedOffset = 10;
constexpr size_t kScoreOffset = 12;
constexpr int kDefaultScoreSpread = 100;  // a fresh default score is raised by 0..99
constexpr const char* kCheaterName = "CHEATER";

using NameUse = std::array<bool, kHiscoreCount>;

const char* hiscorePath() { return dataFilePath(nullptr, "hiscores", "dat"); }

void tableToBytes(const HiscoreTable& table, uint8_t* bytes) {
    for (const HiscoreEntry& entry : table.entries) {
        for (int i = 0; i < kHiscoreNameBytes; ++i) bytes[kNameOffset + i] = uint8_t(entry.name[i]);
        bytes[kKindOffset] = entry.kind;
        bytes[kReservedOffset] = entry.reserved[0];
        bytes[kReservedOffset + 1] = entry.reserved[1];
        const uint32_t score = uint32_t(entry.score);
        for (int i = 0; i < 4; ++i) bytes[kScoreOffset + i] = uint8_t(score >> (8 * i));
        bytes += kHiscoreEntryBytes;
    }
}

void bytesToTable(const uint8_t* bytes, HiscoreTable& table) {
    for (HiscoreEntry& entry : table.entries) {
        for (int i = 0; i < kHiscoreNameBytes; ++i) entry.name[i] = char(bytes[kNameOffset + i]);
        entry.kind = bytes[kKindOffset];
        entry.reserved = {bytes[kReservedOffset], bytes[kReservedOffset + 1]};
        uint32_t score = 0;
        for (int i = 0; i < 4; ++i) score |= uint32_t(bytes[kScoreOffset + i]) << (8 * i);
        entry.score = int32_t(score);
        bytes += kHiscoreEntryBytes;
    }
}

void setName(HiscoreEntry& entry, std::string_view name) {
    entry.name = {};
    std::memcpy(entry.name.data(), name.data(), std::min<size_t>(name.size(), kHiscoreNameLength));
}

// The first default name from `start` on that nobody in this load has yet.
int takeDefaultName(NameUse& used, int start) {
    int index = start % kHiscoreCount;
    while (used[index]) index = (index + 1) % kHiscoreCount;
    used[index] = true;
    return index;
}

bool isForged(const HiscoreEntry& entry) {
    return entry.name[kHiscoreNameLength] != 0 || entry.score < 0 ||
           entry.score > kHiscoreMaxScore || entry.kind > HISCORE_RESET;
}

void resetToCheaters() {
    for (HiscoreEntry& entry : hiscores.entries) {
        setName(entry, kCheaterName);
        entry.kind = HISCORE_RESET;
        entry.score = kHiscoreMaxScore;
    }
}

void drawFreshTable(unsigned seed) {
    NameUse used{};
    std::srand(seed);
    for (int k = 0; k < kHiscoreCount; ++k) {
        HiscoreEntry& entry = hiscores.entries[k];
        setName(entry, kDefaultHiscoreNames[takeDefaultName(used, std::rand())]);
        entry.kind = HISCORE_DEFAULT;
        entry.score = builtInHiscore(k) + std::rand() % kDefaultScoreSpread;
    }
}

}  // namespace

void scrambleHiscores(uint8_t* bytes, size_t size) {
    platform::xorWithPreviousResult(bytes, size, kHiscoreSeed);
}

void unscrambleHiscores(uint8_t* bytes, size_t size) {
    platform::xorWithPreviousByte(bytes, size, kHiscoreSeed);
}

void loadHiscores(unsigned seed) {
    const FileBytes file = readWholeFile(hiscorePath(), kHiscoreFileBytes);
    if (!file) {  // also an empty file: a full disk or an editor left it, not a cheat
        drawFreshTable(seed);
        saveHiscores();
        return;
    }
    if (decodeHiscores(file.bytes.get(), file.size)) saveHiscores();
}

bool decodeHiscores(const uint8_t* bytes, size_t size) {
    uint8_t table[kHiscoreFileBytes];
    tableToBytes(hiscores, table);
    if (bytes && size > 0) std::memcpy(table, bytes, std::min(size, sizeof table));
    unscrambleHiscores(table, sizeof table);
    bytesToTable(table, hiscores);

    NameUse used{};
    for (HiscoreEntry& entry : hiscores.entries) {
        if (isForged(entry)) {
            resetToCheaters();
            return true;
        }
        if (entry.name[0] == 0 || entry.kind == HISCORE_DEFAULT)
            setName(entry, kDefaultHiscoreNames[takeDefaultName(used, std::rand())]);
    }
    return false;
}

void encodeHiscores(uint8_t* bytes) {
    tableToBytes(hiscores, bytes);
    scrambleHiscores(bytes, kHiscoreFileBytes);
}

int insertHiscore(int32_t score, const char* name) {
    int p = kHiscoreCount - 1;
    for (; p > 0 && hiscores.entries[p - 1].score < score; --p)
        hiscores.entries[p] = hiscores.entries[p - 1];
    HiscoreEntry& entry = hiscores.entries[p];
    size_t length = 0;
    while (length < size_t(kHiscoreNameLength) && name[length] != 0) ++length;
    setName(entry, std::string_view(name, length));
    entry.kind = HISCORE_PLAYER;  // the reserved bytes stay as they were
    entry.score = score;
    saveHiscores();
    return p;
}

bool saveHiscores() {
    uint8_t bytes[kHiscoreFileBytes];
    encodeHiscores(bytes);
    return writeFileSafely(hiscorePath(), bytes, sizeof bytes);
}

}  // namespace persist
