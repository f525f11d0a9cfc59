// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The levelbot program as the level designers run it: it writes one replay per life of a
// level, plays replays back with the right exit status, says NO WAY for a level without one,
// and clears away the replay of a checkpoint the level no longer has.

#include "support/test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

// A level with a checkpoint; `checkpoint` puts it in column 10 or, with false, takes it out.
std::string level(bool checkpoint) {
    std::string text = "map\n";
    for (int row = 0; row < 8; ++row) text += "..............................\n";
    text += ".........................[]...\n";
    text += checkpoint ? "....*.....C....*.........()...\n" : "....*..........*.........()...\n";
    text += "##############################\n##############################\n";
    return text;
}

test_support::ChildResult levelbot(const std::vector<std::string>& arguments,
                                   const fs::path& where) {
    std::vector<std::string> argv{LEVELBOT_PROGRAM, "--quiet"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return test_support::runProgram(argv, where);
}

TEST(LevelBotProgram, WritesAReplayPerLifeAndPlaysThemBack) {
    test_support::ScratchDirectory scratch;
    const fs::path dir = scratch.path();
    test_support::writeText(dir / "walk.lvl", level(true));

    const test_support::ChildResult found = levelbot({"--out", "out", "walk.lvl"}, dir);
    EXPECT_EQ(found.exitStatus, 0) << found.output;
    ASSERT_TRUE(fs::exists(dir / "out/walk.rpl")) << found.output;
    ASSERT_TRUE(fs::exists(dir / "out/walk@10.rpl")) << found.output;

    const test_support::ChildResult played =
        levelbot({"--replay", "out/walk.rpl", "out/walk@10.rpl", "--level", "walk.lvl"}, dir);
    EXPECT_EQ(played.exitStatus, 0) << played.output;
    EXPECT_NE(played.output.find("walk@10.rpl: walk from 160, 144: exit reached"),
              std::string::npos)
        << played.output;

    // The checkpoint taken out, the level solved again: its replay goes.
    test_support::writeText(dir / "walk.lvl", level(false));
    const test_support::ChildResult again = levelbot({"--out", "out", "walk.lvl"}, dir);
    EXPECT_EQ(again.exitStatus, 0) << again.output;
    EXPECT_TRUE(fs::exists(dir / "out/walk.rpl"));
    EXPECT_FALSE(fs::exists(dir / "out/walk@10.rpl")) << again.output;

    // A replay of another level does not finish this one.
    std::string wrongLevel = level(false);
    wrongLevel.replace(wrongLevel.find("....*...."), 9, "....^....");
    test_support::writeText(dir / "spiked.lvl", wrongLevel);
    const test_support::ChildResult spiked =
        levelbot({"--replay", "out/walk.rpl", "--level", "spiked.lvl"}, dir);
    EXPECT_EQ(spiked.exitStatus, 1) << spiked.output;
    EXPECT_NE(spiked.output.find("IMPALED TO DEATH"), std::string::npos) << spiked.output;
}

TEST(LevelBotProgram, SaysNoWayAndWritesNoReplayForALevelWithoutOne) {
    test_support::ScratchDirectory scratch;
    const fs::path dir = scratch.path();
    std::string pit = level(false);
    pit.replace(pit.rfind("##############################\n##############################"), 61,
                "########..........############\n########..........############");
    test_support::writeText(dir / "pit.lvl", pit);

    const test_support::ChildResult result =
        levelbot({"--out", "out", "--max-beam", "300", "--stuck", "stuck", "pit.lvl"}, dir);
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    EXPECT_NE(result.output.find("pit from the start: NO WAY"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("FELL TO DEATH"), std::string::npos) << result.output;
    EXPECT_FALSE(fs::exists(dir / "out/pit.rpl"));
    // The way to the closest state is there to look at, and it plays back without finishing.
    ASSERT_TRUE(fs::exists(dir / "stuck/pit.stuck")) << result.output;
    const test_support::ChildResult stuck =
        levelbot({"--replay", "stuck/pit.stuck", "--level", "pit.lvl"}, dir);
    EXPECT_EQ(stuck.exitStatus, 1) << stuck.output;
}

}  // namespace
