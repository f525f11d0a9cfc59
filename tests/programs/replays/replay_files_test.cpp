// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every replay file of content/replays, played back with the world update against the
// current text of its level: the exit is reached, no item is left, the hero never dies and
// the time never runs out. And every life of a level the bot has played (its start and each
// checkpoint) has its replay.
//
// The files are looked up whenever the tests are listed, which CTest does at every run, so
// replays and levels added after the build are played too.

#include "level_source.h"
#include "playback.h"
#include "replay.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitleLevel = "plan0";

std::vector<std::string> filesIn(const std::string& folder, const std::string& extension) {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored))
        if (entry.path().extension() == extension) found.push_back(entry.path().string());
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> replayFiles() {
    return filesIn(replay::replayDirectory(), std::string(replay::kReplayExtension));
}

// Names of the level texts that are played (all but the title level).
std::vector<std::string> playedLevels() {
    std::vector<std::string> names;
    for (const std::string& path :
         filesIn(fs::path(replay::sourceLevelPath("x")).parent_path().string(), ".lvl"))
        if (replay::levelNameOf(path) != kTitleLevel) names.push_back(replay::levelNameOf(path));
    return names;
}

// A test name from a file name: "plan8@57" becomes "plan8_at_57".
std::string testName(const std::string& path) {
    std::string name;
    for (char c : replay::levelNameOf(path)) {
        if (c == '@') name += "_at_";
        else if (std::isalnum(static_cast<unsigned char>(c))) name += c;
        else name += '_';
    }
    return name;
}

class ReplayFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ReplayFile, FinishesItsLevel) {
    replay::Replay way;
    std::string error;
    ASSERT_TRUE(replay::readReplayFile(GetParam(), way, error)) << error;
    std::vector<uint8_t> level;
    ASSERT_TRUE(replay::levelBytesFromFile(replay::sourceLevelPath(way.level), level, error))
        << error;

    // A life starts at the level start or at a checkpoint, nowhere else.
    const std::vector<replay::StartPoint> starts = replay::startPoints(level);
    const bool aStart = std::any_of(starts.begin(), starts.end(), [&](const replay::StartPoint& s) {
        return s.x == way.startX && s.y == way.startY;
    });
    EXPECT_TRUE(aStart) << way.level << " has no checkpoint at " << way.startX << ", " << way.startY
                        << " any more: run levelbot on it again";

    const replay::LifeResult result = replay::playLife(level, way.startX, way.startY, way.frames());
    EXPECT_TRUE(result.finished()) << GetParam() << ": " << result.summary() << " (run levelbot on "
                                   << replay::sourceLevelPath(way.level) << " to find a new way)";
}

INSTANTIATE_TEST_SUITE_P(Replays, ReplayFile, ::testing::ValuesIn(replayFiles()),
                         [](const auto& info) { return testName(info.param); });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReplayFile);

class PlayedLevel : public ::testing::TestWithParam<std::string> {};

TEST_P(PlayedLevel, HasAReplayFromEveryStart) {
    const std::string name = GetParam();
    std::vector<uint8_t> level;
    std::string error;
    ASSERT_TRUE(replay::levelBytesFromFile(replay::sourceLevelPath(name), level, error)) << error;

    std::set<std::pair<int32_t, int32_t>> replayed;
    for (const std::string& file : replayFiles()) {
        replay::Replay way;
        if (replay::readReplayFile(file, way, error) && way.level == name)
            replayed.insert({way.startX, way.startY});
    }
    for (const replay::StartPoint& start : replay::startPoints(level))
        EXPECT_TRUE(replayed.count({start.x, start.y}))
            << name << " has no replay of the life from "
            << (start.checkpoint ? "the checkpoint at column " + std::to_string(start.column())
                                 : std::string("its start"))
            << ": run levelbot " << replay::sourceLevelPath(name);
}

INSTANTIATE_TEST_SUITE_P(Levels, PlayedLevel, ::testing::ValuesIn(playedLevels()),
                         [](const auto& info) { return info.param; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PlayedLevel);

}  // namespace
