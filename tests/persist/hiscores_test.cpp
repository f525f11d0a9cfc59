// The hiscore table against files made here byte by byte from the format (fields
// little-endian, XOR chain from 0x5E), so the reader and writer are checked against the
// format and not only against each other.

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
using Entries = std::array<HiscoreEntry, persist::kHiscoreCount>;

constexpr const char* kFile = "hiscores.dat";

HiscoreEntry entry(const char* name, uint8_t kind, int32_t score) {
    HiscoreEntry e;
    std::strncpy(e.name.data(), name, persist::kHiscoreNameLength);
    e.kind = kind;
    e.score = score;
    return e;
}

std::vector<uint8_t> plainBytes(const Entries& entries) {
    std::vector<uint8_t> bytes;
    for (const HiscoreEntry& e : entries) {
        bytes.insert(bytes.end(), e.name.begin(), e.name.end());
        bytes.push_back(e.kind);
        bytes.insert(bytes.end(), e.reserved.begin(), e.reserved.end());
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(e.score) >> (8 * i)));
    }
    return bytes;
}

std::vector<uint8_t> fileOf(const Entries& entries) {
    std::vector<uint8_t> bytes = plainBytes(entries);
    bytes[0] ^= persist::kHiscoreSeed;
    for (size_t i = 1; i < bytes.size(); ++i) bytes[i] ^= bytes[i - 1];
    return bytes;
}

std::string nameOf(const HiscoreEntry& e) { return std::string(e.name.data()); }

bool sameEntry(const HiscoreEntry& a, const HiscoreEntry& b) {
    return a.name == b.name && a.kind == b.kind && a.reserved == b.reserved && a.score == b.score;
}

bool isDefaultName(const std::string& name) {
    for (std::string_view d : persist::kDefaultHiscoreNames)
        if (name == d) return true;
    return false;
}

// Player entries with empty names and 0 points, all bytes zero.
Entries zeroTable() {
    Entries t;
    for (HiscoreEntry& e : t) e = entry("", persist::HISCORE_PLAYER, 0);
    return t;
}

// Ten player entries of 1000, 900, ... 100 points named P0..P9.
Entries playerTable() {
    Entries t;
    for (int k = 0; k < persist::kHiscoreCount; ++k)
        t[k] = entry(("P" + std::to_string(k)).c_str(), persist::HISCORE_PLAYER, 1000 - 100 * k);
    return t;
}

class HiscoresTest : public ::testing::Test {
  protected:
    void SetUp() override { hiscores = {}; }
    void TearDown() override { hiscores = {}; }
    test_support::ScratchDirectory scratch;
};

TEST(HiscoreChain, UnscramblingUndoesScrambling) {
    std::vector<uint8_t> bytes(persist::kHiscoreFileBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 37 + 11);
    const std::vector<uint8_t> plain = bytes;
    persist::scrambleHiscores(bytes.data(), bytes.size());
    EXPECT_EQ(bytes[0], plain[0] ^ persist::kHiscoreSeed);
    EXPECT_EQ(bytes[5], bytes[4] ^ plain[5]);
    persist::unscrambleHiscores(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, plain);
}

TEST_F(HiscoresTest, SavesAndLoadsTheFileFormatFieldByField) {
    Entries table = playerTable();
    table[0] = entry("ALICE", persist::HISCORE_PLAYER, 43210);
    table[0].reserved = {0xAB, 0xCD};
    table[3] = entry("CHEATER", persist::HISCORE_RESET, 50000);
    table[9] = entry("ZERO", persist::HISCORE_PLAYER, 0);
    hiscores.entries = table;
    ASSERT_TRUE(persist::saveHiscores());
    EXPECT_EQ(test_support::readFile(kFile), fileOf(table));

    hiscores = {};
    persist::loadHiscores();
    for (int k = 0; k < persist::kHiscoreCount; ++k)
        EXPECT_TRUE(sameEntry(hiscores.entries[k], table[k])) << "position " << k;
    EXPECT_EQ(test_support::readFile(kFile), fileOf(table));  // a valid file is not rewritten
}

TEST_F(HiscoresTest, InsertsBelowEqualScoresShiftsDownAndSaves) {
    struct Case {
        int32_t score;
        int position;
    } cases[] = {{5000, 0}, {1000, 1}, {700, 4}, {650, 4}, {150, 9}, {100, 9}};
    for (const Case& c : cases) {
        const Entries before = playerTable();
        hiscores.entries = before;
        EXPECT_EQ(persist::insertHiscore(c.score, "NEWBIE"), c.position) << c.score;
        for (int k = 0; k < persist::kHiscoreCount; ++k) {
            const HiscoreEntry& now = hiscores.entries[k];
            if (k != c.position) {
                EXPECT_TRUE(sameEntry(now, before[k < c.position ? k : k - 1])) << k;
            }
        }
        const HiscoreEntry& added = hiscores.entries[c.position];
        EXPECT_EQ(nameOf(added), "NEWBIE");
        EXPECT_EQ(added.kind, persist::HISCORE_PLAYER);
        EXPECT_EQ(added.score, c.score);
        EXPECT_EQ(test_support::readFile(kFile), fileOf(hiscores.entries));
    }
    persist::insertHiscore(9999, "LONGERTHANEIGHT");
    EXPECT_EQ(nameOf(hiscores.entries[0]), "LONGERTH");
}

TEST_F(HiscoresTest, AForgedEntryTurnsTheTableIntoCheatersAndSavesIt) {
    struct Case {
        const char* what;
        int position;
        void (*forge)(HiscoreEntry&);
        bool forged;
    } cases[] = {
        {"name without zero", 0, [](HiscoreEntry& e) { e.name[8] = 'X'; }, true},
        {"negative score", 9, [](HiscoreEntry& e) { e.score = -1; }, true},
        {"score above 50000", 4, [](HiscoreEntry& e) { e.score = 50001; }, true},
        {"unknown kind", 7, [](HiscoreEntry& e) { e.kind = 3; }, true},
        {"score 50000 is fine", 0, [](HiscoreEntry& e) { e.score = 50000; }, false},
        {"kind 2 is fine", 5, [](HiscoreEntry& e) { e.kind = persist::HISCORE_RESET; }, false},
    };
    for (const Case& c : cases) {
        Entries file = playerTable();
        c.forge(file[c.position]);
        test_support::writeFile(kFile, fileOf(file));
        hiscores = {};
        persist::loadHiscores();
        for (const HiscoreEntry& e : hiscores.entries) {
            EXPECT_EQ(nameOf(e) == "CHEATER" && e.kind == persist::HISCORE_RESET &&
                          e.score == persist::kHiscoreMaxScore,
                      c.forged)
                << c.what;
        }
        EXPECT_EQ(test_support::readFile(kFile),
                  c.forged ? fileOf(hiscores.entries) : fileOf(file))
            << c.what;
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
    std::array<std::string, persist::kHiscoreCount> firstNames;
    bool renamed = false;
    for (int load = 0; load < 2; ++load) {
        persist::loadHiscores();
        std::set<std::string> names;
        for (int k = 0; k < persist::kHiscoreCount; ++k) {
            const HiscoreEntry& e = hiscores.entries[k];
            EXPECT_EQ(e.kind, file[k].kind);
            EXPECT_EQ(e.score, file[k].score);
            const std::string name = nameOf(e);
            if (k == 1 || k == 5) {
                EXPECT_EQ(name, nameOf(file[k]));
            } else {
                EXPECT_TRUE(isDefaultName(name)) << name;
            }
            names.insert(name);
            if (load == 0) firstNames[k] = name;
            else renamed = renamed || name != firstNames[k];
        }
        EXPECT_EQ(names.size(), size_t(persist::kHiscoreCount));
    }
    EXPECT_TRUE(renamed);
    EXPECT_EQ(test_support::readFile(kFile), fileOf(file));
}

TEST_F(HiscoresTest, WithoutAFileDrawsAndSavesAFreshTable) {
    persist::loadHiscores();
    std::set<std::string> names;
    for (int k = 0; k < persist::kHiscoreCount; ++k) {
        const HiscoreEntry& e = hiscores.entries[k];
        EXPECT_EQ(e.kind, persist::HISCORE_DEFAULT);
        EXPECT_GE(e.score, 2500 - 250 * k);
        EXPECT_LE(e.score, 2599 - 250 * k);
        EXPECT_TRUE(isDefaultName(nameOf(e)));
        names.insert(nameOf(e));
    }
    EXPECT_EQ(names.size(), size_t(persist::kHiscoreCount));
    EXPECT_EQ(test_support::readFile(kFile), fileOf(hiscores.entries));
}

TEST_F(HiscoresTest, AShortFileIsJudgedByItsContent) {
    // Bytes a short file does not deliver keep the table's old bytes and are unscrambled
    // with the rest: behind the built-in table that gives impossible scores, behind an
    // all-zero table empty player entries of 0 points.
    const Entries valid = playerTable();
    const std::vector<uint8_t> whole = fileOf(valid);
    struct Case {
        size_t length;
        Entries before;
        bool cheater;
    } cases[] = {
        {0, persist::builtInHiscoreEntries(), true},
        {100, persist::builtInHiscoreEntries(), true},
        {32, zeroTable(), false},
        {144, zeroTable(), false},
    };
    for (const Case& c : cases) {
        test_support::writeFile(kFile, {whole.begin(), whole.begin() + long(c.length)});
        hiscores.entries = c.before;
        persist::loadHiscores();
        EXPECT_EQ(nameOf(hiscores.entries[0]) == "CHEATER", c.cheater) << c.length;
        if (c.cheater) continue;
        for (size_t k = 0; k < c.length / persist::kHiscoreEntryBytes; ++k) {
            EXPECT_TRUE(sameEntry(hiscores.entries[k], valid[k])) << c.length << " " << k;
        }
    }
}

}  // namespace
