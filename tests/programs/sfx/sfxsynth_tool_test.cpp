// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// sfxsynth as the build runs it: a parameter file in, a WAV file out; on a bad file one
// line naming the file and the line, exit status 1, and no WAV file left behind.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class SfxsynthTool : public ::testing::Test {
  protected:
    // Runs the tool with standard error joined to standard output.
    test_support::ChildResult sfxsynth(const std::string& args) {
        return test_support::runProgram(
            {"/bin/sh", "-c", std::string(SFXSYNTH_PATH) + " " + args + " 2>&1"}, scratch.path());
    }
    test_support::ScratchDirectory scratch;
};

TEST_F(SfxsynthTool, RendersAParameterFileIntoAWavFile) {
    test_support::writeText("beep.sfx", "wave = square\nfrequency = 660 Hz\nsustain = 100 ms\n"
                                        "decay = 100 ms\n");
    const test_support::ChildResult result = sfxsynth("--info beep.sfx beep.wav");
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(result.output, "beep.wav: 0.200 s, peak -3.0 dBFS\n");
    const std::vector<uint8_t> file = test_support::readFile("beep.wav");
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_FALSE(fs::exists("beep.wav.tmp"));

    // The build depends on this: the same file always gives the same bytes.
    ASSERT_EQ(sfxsynth("beep.sfx again.wav").exitStatus, 0);
    EXPECT_EQ(test_support::readFile("again.wav"), file);
}

TEST_F(SfxsynthTool, BadInputFailsWithOneLineAndNoFile) {
    test_support::writeText("typo.sfx", "wave = square\nfrequncy = 660 Hz\n");
    test_support::writeText("long.sfx", "wave = sine\nfrequency = 200 Hz\nsustain = 2000 ms\n");
    struct Case {
        const char* args;
        const char* message;
    };
    for (const Case& c : {
             Case{"typo.sfx out.wav", "sfxsynth: typo.sfx: line 2: unknown key \"frequncy\"\n"},
             Case{"long.sfx out.wav",
                  "sfxsynth: long.sfx: the sound lasts 2.000 s (allowed 0.05 to 1.50 s)\n"},
             Case{"missing.sfx out.wav", "sfxsynth: cannot read missing.sfx\n"},
             Case{"typo.sfx", "sfxsynth: usage: sfxsynth [--info] IN.sfx OUT.wav\n"},
         }) {
        const test_support::ChildResult result = sfxsynth(c.args);
        EXPECT_EQ(result.exitStatus, 1) << c.args;
        EXPECT_EQ(result.output, c.message) << c.args;
        EXPECT_FALSE(fs::exists("out.wav")) << c.args;
    }
}

}  // namespace
