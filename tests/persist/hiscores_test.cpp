// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hiscore table against files made here from the format itself (fields little-endian,
// XOR chain from 0x5E), so reader and writer are checked against it, not each other.

#include "persist/hiscores.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "support/test_support.h"

namespace {

using persist::HiscoreEntry;
using persist::hiscores;
using Entries = std::array<HiscoreEntry, 10>;

constexpr const char* kFile = "hiscores.dat";

HiscoreEntry entry(const char* name, uint8_t kind, int32_t score) {
    HiscoreEntry e;
    std::strncpy(e.name.data(), name, 8);
    e.kind = kind;
    e.score = score;
    return e;
}

std::vector<uint8_t> fileOf(const Entries& entries) {
    std::vector<uint8_t> bytes;
    for (const HiscoreEntry& e : entries) {
        bytes.insert(bytes.end(), e.name.begin(), e.name.end());
        bytes.push_back(e.kind);
        bytes.insert(bytes.end(), e.reserved.begin(), e.reserved.end());
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(e.score) >> (8 * i)));
    }
    bytes[0] ^= 0x5E;
    for (size_t i = 1; i < bytes.size(); ++i) bytes[i] ^= bytes[i - 1];
    return bytes;
}

std::string nameOf(const HiscoreEntry& e) { return e.name.data(); }

bool isDefaultName(const std::string& name) {
    return std::find(persist::kDefaultHiscoreNames.begin(), persist::kDefaultHiscoreNames.end(),
                     name) != persist::kDefaultHiscoreNames.end();
}

// Ten player entries P0..P9 of 1000, 900, ... 100 points, each with reserved bytes of its
// own; or empty ones of 0 points.
Entries playerTable(bool empty = false) {
    Entries t;
    for (int k = 0; k < 10; ++k) {
        t[k] = empty ? entry("", persist::HISCORE_PLAYER, 0)
                     : entry(("P" + std::to_string(k)).c_str(), persist::HISCORE_PLAYER,
                             1000 - 100 * k);
        if (!empty) t[k].reserved = {uint8_t(0xA0 + k), uint8_t(k)};
    }
    return t;
}

class HiscoresTest : public ::testing::Test {
  protected:
    void SetUp() override { hiscores = {}; }
    void TearDown() override { hiscores = {}; }
    test_support::ScratchDirectory scratch;
};

TEST_F(HiscoresTest, SavesAndLoadsTheFileFormatFieldByField) {
    Entries table = playerTable();
    table[0] = entry("ALICE", persist::HISCORE_PLAYER, 43210);
    table[0].reserved = {0xAB, 0xCD};
    table[3] = entry("CHEATER", persist::HISCORE_RESET, 50000);
    hiscores.entries = table;
    ASSERT_TRUE(persist::saveHiscores());
    EXPECT_EQ(test_support::readFile(kFile), fileOf(table));

    hiscores = {};
    persist::loadHiscores(1);
    for (int k = 0; k < 10; ++k) EXPECT_TRUE(hiscores.entries[k] == table[k]) << "position " << k;
    EXPECT_EQ(test_support::readFile(kFile), fileOf(table));
}

TEST_F(HiscoresTest, InsertsBelowEqualScoresShiftsDownAndSaves) {
    for (auto [score, position] : {std::pair{5000, 0}, {1000, 1}, {700, 4}, {650, 4}, {100, 9}}) {
        const Entries before = playerTable();
        hiscores.entries = before;
        EXPECT_EQ(persist::insertHiscore(score, "NEWBIE"), position) << score;
        for (int k = 0; k < 10; ++k) {
            if (k != position) {
                EXPECT_TRUE(hiscores.entries[k] == before[k < position ? k : k - 1]) << k;
            }
        }
        // The position taken keeps its reserved bytes.
        HiscoreEntry added = entry("NEWBIE", persist::HISCORE_PLAYER, score);
        added.reserved = before[position].reserved;
        EXPECT_TRUE(hiscores.entries[position] == added) << score;
        EXPECT_EQ(test_support::readFile(kFile), fileOf(hiscores.entries));
    }
    persist::insertHiscore(9999, "LONGERTHANEIGHT");
    EXPECT_EQ(nameOf(hiscores.entries[0]), "LONGERTH");
}

TEST_F(HiscoresTest, AForgedEntryTurnsTheTableIntoCheatersAndSavesIt) {
    struct Case {
        int position;
        void (*forge)(HiscoreEntry&);
        bool forged;
    } cases[] = {
        {0, [](HiscoreEntry& e) { e.name[8] = 'X'; }, true},
        {9, [](HiscoreEntry& e) { e.score = -1; }, true},
        {4, [](HiscoreEntry& e) { e.score = 50001; }, true},
        {7, [](HiscoreEntry& e) { e.kind = 3; }, true},
        {0, [](HiscoreEntry& e) { e.score = 50000; }, false},
        {5, [](HiscoreEntry& e) { e.kind = persist::HISCORE_RESET; }, false},
    };
    for (int i = 0; const Case& c : cases) {
        Entries file = playerTable();
        c.forge(file[c.position]);
        test_support::writeFile(kFile, fileOf(file));
        persist::loadHiscores(1);
        for (int k = 0; k < 10; ++k) {
            HiscoreEntry cheater = entry("CHEATER", persist::HISCORE_RESET, 50000);
            cheater.reserved = file[k].reserved;  // left as loaded
            EXPECT_EQ(hiscores.entries[k] == cheater, c.forged) << i << " " << k;
        }
        EXPECT_EQ(test_support::readFile(kFile), fileOf(c.forged ? hiscores.entries : file)) << i;
        ++i;
    }
}

TEST_F(HiscoresTest, DefaultEntriesGetUniqueDefaultNamesAtEveryLoad) {
    Entries file = playerTable();
    for (int k : {0, 2, 3, 4, 6, 7, 8}) file[k].kind = persist::HISCORE_DEFAULT;
    file[1] = entry("ALICE", persist::HISCORE_PLAYER, 950);
    file[5] = entry("CHEATER", persist::HISCORE_RESET, 500);
    file[9] = entry("", persist::HISCORE_PLAYER, 10);  // a player entry with no name
    test_support::writeFile(kFile, fileOf(file));

    std::srand(1);
    std::set<std::string> namesOfLoads;
    for (int load = 0; load < 2; ++load) {
        persist::loadHiscores(1);
        std::set<std::string> names;
        std::string all;
        for (int k = 0; k < 10; ++k) {
            const std::string name = nameOf(hiscores.entries[k]);
            EXPECT_EQ(hiscores.entries[k].score, file[k].score);
            EXPECT_EQ(hiscores.entries[k].kind, file[k].kind);
            EXPECT_TRUE(k == 1 || k == 5 ? name == nameOf(file[k]) : isDefaultName(name)) << name;
            names.insert(name);
            all += name + " ";
        }
        EXPECT_EQ(names.size(), size_t(10));
        namesOfLoads.insert(all);
    }
    EXPECT_EQ(namesOfLoads.size(), 2u) << "names are drawn anew at each load";
    EXPECT_EQ(test_support::readFile(kFile), fileOf(file));
}

TEST_F(HiscoresTest, WithoutAFileDrawsAndSavesAFreshTable) {
    persist::loadHiscores(1);
    std::set<std::string> names;
    for (int k = 0; k < 10; ++k) {
        const HiscoreEntry& e = hiscores.entries[k];
        EXPECT_EQ(e.kind, persist::HISCORE_DEFAULT);
        EXPECT_GE(e.score, 2500 - 250 * k);
        EXPECT_LE(e.score, 2599 - 250 * k);
        EXPECT_TRUE(isDefaultName(nameOf(e)));
        names.insert(nameOf(e));
    }
    EXPECT_EQ(names.size(), size_t(10));
    EXPECT_EQ(test_support::readFile(kFile), fileOf(hiscores.entries));
}

TEST_F(HiscoresTest, AShortFileIsJudgedByItsContentAndAnEmptyOneIsNoFile) {
    // The bytes a short file lacks are the table's old bytes, unscrambled with the rest:
    // behind the built-in table that makes impossible scores, behind all-zero entries
    // harmless player entries of 0 points. An empty file (a full disk, an editor) is no
    // file at all: a fresh table, saved.
    const Entries valid = playerTable();
    const std::vector<uint8_t> whole = fileOf(valid);
    for (auto [length, zeroBefore] : {std::pair{0, false}, {100, false}, {32, true}, {144, true}}) {
        test_support::writeFile(kFile, {whole.begin(), whole.begin() + length});
        hiscores.entries = zeroBefore ? playerTable(true) : persist::builtInHiscoreEntries();
        persist::loadHiscores(1);
        EXPECT_EQ(nameOf(hiscores.entries[0]) == "CHEATER", length == 100) << length;
        for (int k = 0; zeroBefore && k < length / 16; ++k)
            EXPECT_TRUE(hiscores.entries[k] == valid[k]) << length << " " << k;
        if (length == 0) {
            EXPECT_EQ(hiscores.entries[0].kind, persist::HISCORE_DEFAULT);
            EXPECT_GE(hiscores.entries[0].score, 2500);
            EXPECT_LE(hiscores.entries[0].score, 2599);
            EXPECT_EQ(test_support::readFile(kFile), fileOf(hiscores.entries));
        }
    }
}

}  // namespace
