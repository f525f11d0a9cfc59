// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the world tests share: a clean world before every test, fixture levels written in the
// level text format (through the shared legend), and the sounds the rules asked for.

#include "audio/sound.h"
#include "support/test_support.h"
#include "world/effects.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tiles.h"
#include "world/world_step.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// A level text `width` columns wide: empty but for the given rows (written from column 0 on,
// padded with '.'), and solid ground in row 11 unless row 11 is given. Extra legend lines may
// come first.
inline std::string levelText(const std::map<int, std::string>& rows, int width = 30,
                             std::string_view legend = "") {
    std::string text = std::string(legend) + "map\n";
    for (int row = 0; row < 12; ++row) {
        std::string line(size_t(width), row == 11 ? '#' : '.');
        if (auto found = rows.find(row); found != rows.end())
            line.replace(0, found->second.size(), found->second);
        text += line + "\n";
    }
    return text;
}

// The numbers of the sounds the rules play, from the game's list of effects.
constexpr int kKlonk = 0, kKrack = 1, kAj = 2, kBlubb = 3, kChew = 5, kKnirk = 6, kTada = 7,
              kTrdoor = 8, kBoink = 9, kBat = 10, kKlack = 11, kSplash = 12;

class WorldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world::freeLevel();
        world::run = {};
        world::level = {};
        world::life = {};
        audio::soundsPlayed = {};
    }
    void TearDown() override { world::freeLevel(); }

    // The level file bytes of a level text; the test fails on any compile error.
    static std::vector<uint8_t> compile(std::string_view text) {
        return test_support::compileLevelText(text, false);
    }
    // Starts a life in a level text without a player.
    static void load(std::string_view text) {
        const std::vector<uint8_t> bytes = compile(text);
        ASSERT_EQ(world::startLife(bytes.data(), bytes.size(), world::Arrival::Nobody),
                  world::LEVEL_OK);
    }
    // Starts a life in a level text with the player at the restart point.
    void start(std::string_view text) {
        const std::vector<uint8_t> bytes = compile(text);
        ASSERT_EQ(world::startLife(bytes.data(), bytes.size(), world::Arrival::Player),
                  world::LEVEL_OK);
        player = world::life.player;
    }
    // One frame of play with these controls held.
    void step(world::Controls controls = {}) { world::stepPlayFrame(player, controls); }
    void steps(int n, world::Controls controls = {}) {
        for (int i = 0; i < n; ++i) step(controls);
    }

    static world::TileCode cell(int column, int row) { return world::cellOfGrid(column, row); }
    static int sounds(int id) { return audio::soundsPlayed[size_t(id)]; }
    static int activeEnemies() {
        int n = 0;
        for (const world::EnemySlot& e : world::life.enemies) n += e.active;
        return n;
    }

    world::PlayerState player;
};

constexpr world::Controls kNone{};
constexpr world::Controls kRight{false, true, false, false};
constexpr world::Controls kLeft{true, false, false, false};
constexpr world::Controls kJump{false, false, true, false};
constexpr world::Controls kRightJump{false, true, true, false};
constexpr world::Controls kSlowRight{false, true, false, true};
