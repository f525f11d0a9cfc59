// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ten best scores and their names, best first. The table is loaded once at start-up
// from hiscores.dat and saved after every change. The file is the 160 bytes of the table
// run through a one-byte XOR chain; a file that fails the checks after unscrambling earns
// a table of ten "CHEATER" entries. Entries still wearing a default name draw a new one
// from the list of default names at every start.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace persist {

constexpr int kHiscoreCount = 10;
constexpr int kHiscoreNameBytes = 9;  // up to 8 characters and a zero byte
constexpr int kHiscoreNameLength = kHiscoreNameBytes - 1;
constexpr size_t kHiscoreEntryBytes = 16;
constexpr size_t kHiscoreFileBytes = kHiscoreCount * kHiscoreEntryBytes;
constexpr uint8_t kHiscoreSeed = 0x5E;
constexpr int32_t kHiscoreMaxScore = 50000;  // above it an entry counts as forged

enum HiscoreKind : uint8_t {
    HISCORE_PLAYER = 0,   // entered by a player
    HISCORE_DEFAULT = 1,  // built-in entry; renamed at every load
    HISCORE_RESET = 2,    // one of the "CHEATER" entries of a reset table
};

// 16 bytes, laid out as in the file: name 0..8, kind 9, reserved 10..11, score 12..15
// (signed, little-endian in the file).
struct HiscoreEntry {
    std::array<char, kHiscoreNameBytes> name{};  // zero-terminated, zero behind the name
    uint8_t kind = HISCORE_DEFAULT;
    std::array<uint8_t, 2> reserved{};  // zero in the built-in table; kept as loaded
    int32_t score = 0;

    bool operator==(const HiscoreEntry&) const = default;
};
static_assert(sizeof(HiscoreEntry) == kHiscoreEntryBytes);

// The score of position 0..9 in the built-in table: 2500 at the top down to 250.
constexpr int32_t builtInHiscore(int position) { return 2500 - 250 * position; }

// The table before loading: empty names, kind 1, the built-in scores.
constexpr std::array<HiscoreEntry, kHiscoreCount> builtInHiscoreEntries() {
    std::array<HiscoreEntry, kHiscoreCount> entries{};
    for (int k = 0; k < kHiscoreCount; ++k) entries[k].score = builtInHiscore(k);
    return entries;
}

// Position 0 is the best.
struct HiscoreTable {
    std::array<HiscoreEntry, kHiscoreCount> entries = builtInHiscoreEntries();
};

constexpr std::array<std::string_view, kHiscoreCount> kDefaultHiscoreNames = {
    "NIGHTOWL", "MOONBAT", "SHADOW",  "STARGAZE", "DUSKY",
    "NOCTURNE", "LANTERN", "FIREFLY", "MIDNIGHT", "CRICKET"};

extern HiscoreTable hiscores;

// Loads hiscores.dat, checks it and renames default entries; without a file (an empty one
// counts as none), draws a new table of default names (seeding the random generator with
// `seed`) and saves it.
void loadHiscores(unsigned seed);
// Puts a new player entry below the entries of equal or better score, drops the last one
// and saves the table; the position taken keeps its two reserved bytes; returns the position the
// entry took. The caller makes sure the score beats the one at position 9.
int insertHiscore(int32_t score, const char* name);
// Writes the table to hiscores.dat; false when it could not be written.
bool saveHiscores();

// The loading rules on file bytes in memory: up to 160 bytes are laid over the table's own
// bytes, the whole is unscrambled and checked, and default entries are renamed. True when a
// forged entry turned the table into "CHEATER" entries, which the caller then saves.
bool decodeHiscores(const uint8_t* bytes, size_t size);
// The 160 bytes of hiscores.dat for the table as it stands.
void encodeHiscores(uint8_t* bytes);

// The XOR chain of the file, in place: stored[i] = stored[i-1] ^ plain[i], starting from
// the seed.
void scrambleHiscores(uint8_t* bytes, size_t size);
void unscrambleHiscores(uint8_t* bytes, size_t size);

}  // namespace persist
