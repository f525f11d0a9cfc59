// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The savegame file: what is stored for a level, and which files read as no savegame.

#include "persist/savegame.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"

namespace {

constexpr const char* kFile = "savegame.dat";

// The four bytes of the format for a mask and a count.
std::vector<uint8_t> fileOf(uint16_t mask, uint8_t level) {
    const uint8_t high = uint8_t(mask >> 8), low = uint8_t(mask);
    return {high, uint8_t(low ^ level), low, uint8_t(high ^ level)};
}

TEST(Savegame, EnteringALevelStoresTheLevelsBeforeItUnderAFreshMask) {
    test_support::ScratchDirectory scratch;
    std::srand(3);
    for (int levelCounter = 2; levelCounter <= 17; ++levelCounter) {
        EXPECT_EQ(persist::writeSavegame(levelCounter), levelCounter - 1);
        const std::vector<uint8_t> file = test_support::readFile(kFile);
        ASSERT_EQ(file.size(), 4u);
        EXPECT_EQ(file, fileOf(uint16_t(file[0] << 8 | file[2]), uint8_t(levelCounter - 1)));
        const int stored = levelCounter - 1;
        EXPECT_EQ(persist::readSavegame(), stored <= 16 ? stored : 0);
    }
    persist::writeSavegame(6);
    const std::vector<uint8_t> first = test_support::readFile(kFile);
    persist::writeSavegame(6);
    EXPECT_NE(test_support::readFile(kFile), first);
    EXPECT_EQ(persist::readSavegame(), 5);
}

TEST(Savegame, OddFilesReadAsNoSavegame) {
    test_support::ScratchDirectory scratch;
    std::vector<uint8_t> damagedLow = fileOf(0x1234, 7), damagedHigh = fileOf(0x1234, 7);
    damagedLow[1] ^= 0x01;
    damagedHigh[3] ^= 0x80;
    std::vector<uint8_t> longer = fileOf(0xBEEF, 16);
    longer.push_back(0x99);
    const std::pair<std::vector<uint8_t>, int> cases[] = {
        {{0, 0, 0, 0}, 0},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0},
        {fileOf(0x0000, 3), 0},
        {fileOf(0xFFFF, 3), 0},
        {damagedLow, 0},
        {damagedHigh, 0},
        {fileOf(0x4321, 0), 0},
        {fileOf(0x4321, 17), 0},
        {{0x12, 0x34 ^ 5, 0x34}, 0},
        {{}, 0},
        {fileOf(0x4321, 16), 16},
        {fileOf(0x00FF, 1), 1},
        {longer, 16},
    };
    EXPECT_EQ(persist::readSavegame(), 0) << "no file";
    for (int i = 0; const auto& [bytes, level] : cases) {
        test_support::writeFile(kFile, bytes);
        EXPECT_EQ(persist::readSavegame(), level) << "case " << i++;
    }
}

TEST(SaveMask, NeverZeroOrAllOnes) {
    struct Case {
        std::vector<int> draws;
        uint16_t mask;
        size_t used;
    } cases[] = {
        {{0x1234}, 0x1234, 1},
        {{0, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x2A0001}, 0x0001, 5},  // the low 16 bits count
        {std::vector<int>(10, 0), 0x7C41, 10},
        {{0, 0, 0, 0xFFFF, 0, 0, 0, 0, 0, 0, 0x5555}, 0x7C41, 10},
    };
    for (const Case& c : cases) {
        size_t used = 0;
        EXPECT_EQ(persist::drawSaveMask([&] { return c.draws[used++]; }), c.mask);
        EXPECT_EQ(used, c.used);
    }
}

}  // namespace
