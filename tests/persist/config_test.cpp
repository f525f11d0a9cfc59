// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The configuration reader against hand-written files: where keys are found, which values
// are refused or clamped, and what goes back into the file at exit.

#include "persist/config.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/test_support.h"

namespace {

using persist::keyBindings;
using persist::mixSettings;

void resetSettings() {
    keyBindings = {};
    mixSettings = {};
    persist::volume = persist::kMaxVolume;
}

// Every setting in one line, so a failing case shows what changed where.
std::string describeSettings() {
    std::string text;
    for (const persist::InputKeys& input : persist::kInputKeys) {
        const std::string name(input.name);
        text += "k_" + name + "=" + std::to_string(keyBindings.*input.keyboard) + " ";
        text += "j_" + name + "=" + std::to_string(keyBindings.*input.joystick) + " ";
    }
    const persist::MixSettings& m = mixSettings;
    for (int v : {persist::volume, m.flags, m.resamplingMode, m.reverbDepth, m.reverbDelay,
                  m.bassAmount, m.bassRange, m.surroundDepth, m.surroundDelay})
        text += std::to_string(v) + " ";
    return text;
}

std::string readConfigText() {
    const std::vector<uint8_t> bytes = test_support::readFile("trolk.cfg");
    return std::string(bytes.begin(), bytes.end());
}

class ConfigTest : public ::testing::Test {
  protected:
    void SetUp() override { resetSettings(); }
    void TearDown() override { resetSettings(); }
    test_support::ScratchDirectory scratch;
};

struct ReadCase {
    const char* what;
    std::string file;
    void (*expect)();          // changes the defaults into what the file should give
    const char* written = "";  // a line the file written back at exit must hold
};

TEST_F(ConfigTest, ReadsKeysAnywhereRefusesAndClampsValues) {
    const ReadCase cases[] = {
        {"a letter binds its key", "k_fire=x\n", [] { keyBindings.k_fire = 'x'; }, "k_fire=x\n"},
        {"the same key as a number", "k_fire=120\n", [] { keyBindings.k_fire = 120; }},
        {"an upper-case letter reads as 0", "k_fire=X\n", [] {}},
        {"a lone digit is a number", "k_fire=5\n", [] {}},
        {"the digit 5 by its code", "k_fire=53\n", [] { keyBindings.k_fire = '5'; }, "k_fire=53\n"},
        {"a sign by its code", "k_fire=59\n", [] { keyBindings.k_fire = ';'; }},
        {"a sign as itself reads as 0", "k_fire=;\n", [] {}},
        {"space by its code", "k_jump=32\n", [] { keyBindings.k_jump = ' '; }},
        {"a special key is refused", "k_left=300\n", [] {}, "k_left=276\n"},
        {"inside a longer word", "foo_k_jump=100\n", [] { keyBindings.k_jump = 'd'; }},
        {"the later of two", "k_jump=a\nk_jump=b\n", [] { keyBindings.k_jump = 'b'; }},
        {"search stops once both are known", "k_up=u\nj_up=2\nk_up=v\nj_up=8\n",
         [] {
             keyBindings.k_up = 'u';
             keyBindings.j_up = 2;
         }},
        {"negative button ignored", "j_jump=-1\n", [] {}},
        {"button without a number is 0", "j_start=x\n", [] { keyBindings.j_start = 0; }},
        {"huge numbers saturate", "j_fire=99999999999999999999\n",
         [] { keyBindings.j_fire = INT_MAX; }},
        {"atoi skips white space", "j_fire= 6\n", [] { keyBindings.j_fire = 6; }},
        {"a key at the very end has no value", "j_fire=3\nj_fire=", [] { keyBindings.j_fire = 3; }},
        {"a setting at the very end has no value", "mpReverbDelay=", [] {}},
        {"no setting starts in the last 8 bytes", "volume=5", [] {}, "volume=100\n"},
        {"but one byte more is enough", "volume=50", [] { persist::volume = 64; }},
        {"volume percentage", "volume=50\n", [] { persist::volume = 64; }, "volume=50\n"},
        {"volume rounds down", "volume=33\n", [] { persist::volume = 42; }, "volume=32\n"},
        {"volume 0 is silence", "volume=0\n", [] { persist::volume = 0; }},
        {"volume above 100", "volume=50\nvolume=101\n", [] {}},
        {"volume below 0", "volume=50\nvolume=-5\n", [] {}, "volume=100\n"},
        {"a 0 flag does not clear", "mpFlagsOVERSAMPLING=0\n", [] {}},
        {"a flag is set by 1 alone", "mpFlagsREVERB=2\nmpFlagsMEGABASS=-1\n", [] {}},
        {"flags only add up", "mpFlagsREVERB=1\nmpFlagsREVERB=0\nmpFlagsSURROUND=1\n",
         [] { mixSettings.flags |= persist::MIX_REVERB | persist::MIX_SURROUND; },
         "mpFlagsREVERB=1\n"},
        {"resampling mode", "mpResamplingMode=3\n", [] { mixSettings.resamplingMode = 3; }},
        {"unknown resampling mode", "mpResamplingMode=3\nmpResamplingMode=4\n", [] {}},
        {"clamped settings",
         "mpReverbDepth=150\nmpReverbDelay=10\nmpBassAmount=-3\nmpBassRange=500\n"
         "mpSurroundDepth=50\nmpSurroundDelay=1\n",
         [] { mixSettings = {3, 1, 100, 40, 0, 100, 50, 5}; }, "mpReverbDelay=40\n"},
        {"other line ends and foreign text", "# mine\r\nk_jump=z\r\nvolume=25\r\nxyz",
         [] {
             keyBindings.k_jump = 'z';
             persist::volume = 32;
         }},
        {"an empty file", "", [] {}},
    };
    for (const ReadCase& c : cases) {
        resetSettings();
        c.expect();
        const std::string expected = describeSettings();
        resetSettings();
        test_support::writeText("trolk.cfg", c.file);
        persist::readConfig();
        EXPECT_EQ(describeSettings(), expected) << c.what;
        ASSERT_TRUE(persist::writeConfig());
        EXPECT_NE(("\n" + readConfigText()).find("\n" + std::string(c.written)), std::string::npos)
            << c.what;
    }
}

TEST_F(ConfigTest, WithoutAFileWritesTheDefaultFile) {
    persist::readConfig();
    ASSERT_TRUE(persist::writeConfig());
    EXPECT_EQ(readConfigText(),
              "volume=100\nj_jump=0\nj_fire=1\nj_start=7\nj_up=1\nj_down=4\nj_left=8\n"
              "j_right=2\nk_jump=273\nk_fire=32\nk_start=13\nk_up=273\nk_down=274\n"
              "k_left=276\nk_right=275\nmpFlagsOVERSAMPLING=1\nmpResamplingMode=1\n"
              "mpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\nmpReverbDepth=0\nmpReverbDelay=0\n"
              "mpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=0\nmpFlagsSURROUND=0\n"
              "mpSurroundDepth=0\nmpSurroundDelay=0\n");
}

TEST_F(ConfigTest, AWrittenFileReadsBackTheSameSettings) {
    keyBindings = {'w', 'f', '#', 'k', 'j', 'h', 'l', 3, 9, 10, 1, 4, 8, 2};
    mixSettings = {31, 2, 55, 120, 66, 70, 12, 25};
    persist::volume = 64;
    const std::string written = describeSettings();
    ASSERT_TRUE(persist::writeConfig());
    resetSettings();
    persist::readConfig();
    EXPECT_EQ(describeSettings(), written);
}

}  // namespace
