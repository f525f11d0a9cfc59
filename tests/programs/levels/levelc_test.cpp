// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The levelc program: compiling to a file, checking several files, the exit status, the
// messages on standard error, and printing a level file back as text.

#include "level_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

namespace fs = std::filesystem;
using test_support::ChildResult;

// Runs levelc in the scratch directory with standard error joined to standard output.
ChildResult levelc(const std::string& arguments) {
    return test_support::runProgram(
        {"/bin/sh", "-c", std::string("exec '") + LEVELC_PROGRAM + "' " + arguments + " 2>&1"},
        fs::current_path());
}

std::string levelText(std::string_view row10) {
    std::string text = "; test level\nmap\n";
    for (int i = 0; i < 10; ++i) text += ".....................\n";
    return text + std::string(row10) + "\n#####################\n";
}

class Levelc : public ::testing::Test {
  protected:
    void SetUp() override { fs::copy_file(level_text::sharedLegendPath(), "legend.txt"); }
    test_support::ScratchDirectory scratch;
};

TEST_F(Levelc, CompilesWithTheLegendBesideTheLevel) {
    std::string text = "legend z 42\nmap\n";
    for (int i = 0; i < 9; ++i) text += ".....................\n";
    text += "..b..*........[]..C..\n..............()..z..\n#####################\n";
    test_support::writeText("good.lvl", text);

    const ChildResult result = levelc("-o good.bin good.lvl");
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(result.output, "");
    level_text::Diagnostics errors;
    const std::vector<uint8_t> expected = level_text::compileWithSharedLegend(text, errors);
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(test_support::readFile("good.bin"), expected);

    // Printed back as text and compiled again, the same bytes.
    const ChildResult shown = levelc("--text good.bin");
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_NE(shown.output.find("legend "), std::string::npos);  // 42 has no shared character
    test_support::writeText("again.lvl", shown.output);
    EXPECT_EQ(levelc("-o again.bin again.lvl").exitStatus, 0);
    EXPECT_EQ(test_support::readFile("again.bin"), expected);
}

TEST_F(Levelc, ReportsEachProblemWithItsPlaceAndFailsWithoutWriting) {
    test_support::writeText("bad.lvl", levelText("..Z..*..............."));
    const ChildResult result = levelc("-o bad.bin bad.lvl");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, "bad.lvl:13:3: error: the character 'Z' is not in the legend\n");
    EXPECT_FALSE(fs::exists("bad.bin"));

    test_support::writeText("nodoor.lvl", levelText("..*.................."));
    const ChildResult checked = levelc("--check nodoor.lvl bad.lvl");
    EXPECT_EQ(checked.exitStatus, 1);
    EXPECT_EQ(checked.output,
              "nodoor.lvl:13:3: error: items need an exit door (27 28 above 47 48), but the "
              "level has none\n"
              "bad.lvl:13:3: error: the character 'Z' is not in the legend\n");

    // --no-check writes what the game would refuse, for experiments.
    EXPECT_EQ(levelc("--no-check -o nodoor.bin nodoor.lvl").exitStatus, 0);
    EXPECT_TRUE(fs::exists("nodoor.bin"));
}

TEST_F(Levelc, NamesMissingFilesAndShowsItsUsage) {
    const ChildResult missing = levelc("-o x.bin missing.lvl");
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.output, "missing.lvl: error: cannot read the level\n");

    const ChildResult noLegend = levelc("--legend none.txt --check good.lvl");
    EXPECT_EQ(noLegend.exitStatus, 1);
    EXPECT_EQ(noLegend.output, "none.txt: error: cannot read the legend file\n");

    for (const char* arguments : {"", "good.lvl", "--bogus -o x.bin good.lvl"}) {
        const ChildResult usage = levelc(arguments);
        EXPECT_EQ(usage.exitStatus, 1) << arguments;
        EXPECT_EQ(usage.output.rfind("usage: levelc", 0), 0u) << arguments;
    }

    // Without a legend beside it, a level of the shared characters fails at every cell: the
    // first twenty are shown, then how many more, and why.
    fs::create_directory("alone");
    test_support::writeText("alone/plain.lvl", levelText("....................."));
    const ChildResult alone = levelc("--check alone/plain.lvl");
    EXPECT_EQ(alone.exitStatus, 1);
    EXPECT_EQ(alone.output.substr(0, alone.output.find('\n')),
              "alone/plain.lvl:3:1: error: the character '.' is not in the legend");
    EXPECT_NE(alone.output.find("\nalone/plain.lvl: 232 more errors\n"
                                "alone/plain.lvl: note: no legend.txt beside the level and no "
                                "--legend given, so only the level's own legend lines and the "
                                "enemies' characters are known\n"),
              std::string::npos)
        << alone.output;
    EXPECT_EQ(std::count(alone.output.begin(), alone.output.end(), '\n'), 22);

    test_support::writeFile("short.bin", {20, 0, 1, 2});
    const ChildResult shortFile = levelc("--text short.bin");
    EXPECT_EQ(shortFile.exitStatus, 1);
    EXPECT_EQ(shortFile.output, "short.bin: error: fewer cells than the header promises\n");
}

}  // namespace
