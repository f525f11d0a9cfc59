// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole program in a child process under the virtual clock: start-up through the
// warning, credits and style screens to the title and into a level, out again, and the files
// it leaves behind.

#include "app/startup.h"

#include <gtest/gtest.h>

#include <libmodplug/modplug.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/event_script.h"
#include "platform/ticks.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

struct Tap {
    uint32_t ms;
    SDLKey key;
};

// Runs trolk with these arguments and key taps in a child; its exit status and output (and,
// when asked, the module player's reverb setting as libmodplug holds it at the end).
test_support::ChildResult runTrolk(std::vector<const char*> args, const std::vector<Tap>& taps,
                                   bool reportReverb = false) {
    return test_support::runInChild([&] {
        platform::setVirtualClock(true);
        for (const Tap& tap : taps) {
            platform::scheduleKey(tap.ms, tap.key, true);
            platform::scheduleKey(tap.ms + 50, tap.key, false);
        }
        args.insert(args.begin(), "trolk");
        const int status = app::runProgram(int(args.size()), const_cast<char**>(args.data()));
        if (reportReverb) {
            ModPlug_Settings mixing;
            ModPlug_GetSettings(&mixing);
            std::printf("reverb %d, depth %d", mixing.mFlags & MODPLUG_ENABLE_REVERB ? 1 : 0,
                        mixing.mReverbDepth);
        }
        std::exit(status);
    });
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class WholeProgram : public ::testing::Test {
  protected:
    void SetUp() override { scratch.linkBuiltData(); }
    test_support::ScratchDirectory scratch;
};

TEST_F(WholeProgram, FromTheWarningScreenIntoALevelAndOutWritesTheSettingsAtExit) {
    const test_support::ChildResult result =
        runTrolk({"-w"}, {
                             {1000, SDLK_UP},       // past the warning
                             {2000, SDLK_UP},       // past the credits
                             {3000, SDLK_RIGHT},    // the deluxe style
                             {4000, SDLK_RETURN},   // "PRESS START"
                             {5000, SDLK_RETURN},   // NEW GAME
                             {6000, SDLK_RETURN},   // past the story
                             {12000, SDLK_ESCAPE},  // in level 1, after the call to run
                             {13000, SDLK_LEFT},    // yes, quit
                             {15000, SDLK_ESCAPE},  // on the title: the donate card, then the end
                             {18000, SDLK_RETURN},
                         });
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(readText("trolk.cfg"),
              "volume=100\nj_jump=0\nj_fire=1\nj_start=7\nj_up=1\nj_down=4\nj_left=8\n"
              "j_right=2\nk_jump=273\nk_fire=32\nk_start=13\nk_up=273\nk_down=274\n"
              "k_left=276\nk_right=275\nmpFlagsOVERSAMPLING=1\nmpResamplingMode=1\n"
              "mpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\nmpReverbDepth=0\nmpReverbDelay=0\n"
              "mpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=0\nmpFlagsSURROUND=0\n"
              "mpSurroundDepth=0\nmpSurroundDelay=0\n");
    EXPECT_EQ(test_support::readFile("hiscores.dat").size(), 160u);  // made at the first start
    EXPECT_FALSE(fs::exists("savegame.dat"));                        // level 1 is never saved
}

TEST_F(WholeProgram, EscapeOnTheWarningScreenLeavesTheSettingsFileAlone) {
    test_support::writeText("trolk.cfg", "volume=50\nk_fire=x\n");
    const test_support::ChildResult result = runTrolk({"-w"}, {{500, SDLK_ESCAPE}});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(readText("trolk.cfg"), "volume=50\nk_fire=x\n");
    EXPECT_FALSE(fs::exists("hiscores.dat"));
}

TEST_F(WholeProgram, TheSettingsFileIsReadAndWrittenBackNormalised) {
    test_support::writeText(
        "trolk.cfg",
        "volume=33\r\nk_fire=x\r\nmpReverbDelay=5\r\nmpFlagsREVERB=1\r\nmpReverbDepth=50\r\n");
    const test_support::ChildResult result =
        runTrolk({"-t"}, {{4000, SDLK_ESCAPE}, {5000, SDLK_LEFT}, {7000, SDLK_RETURN}}, true);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, "reverb 1, depth 50");  // the module player got its options
    const std::string written = readText("trolk.cfg");
    EXPECT_NE(written.find("volume=32\n"), std::string::npos);
    EXPECT_NE(written.find("k_fire=x\n"), std::string::npos);
    EXPECT_NE(written.find("mpReverbDelay=40\n"), std::string::npos);
}

TEST_F(WholeProgram, AStopSignalEndsTheGameWithinASecondThroughTheNormalShutdown) {
    const std::vector<Tap> toLevelOne = {{1000, SDLK_UP},     {2000, SDLK_UP},
                                         {3000, SDLK_RIGHT},  {4000, SDLK_RETURN},
                                         {5000, SDLK_RETURN}, {6000, SDLK_RETURN}};
    const struct {
        std::vector<const char*> args;
        std::vector<Tap> taps;
        uint32_t signalMs;
        int signal;
        bool settingsWritten;  // only when the front end was left behind
    } cases[] = {
        {{"-w"}, {}, 500, SIGTERM, false},                 // the warning screen
        {{"-w"}, {{1000, SDLK_UP}}, 1500, SIGINT, false},  // the credits
        {{"-w"}, toLevelOne, 10000, SIGTERM, true},        // a level
        {{"-t"}, {}, 2000, SIGINT, true},                  // the test map
    };
    for (const auto& c : cases) {
        std::filesystem::remove("trolk.cfg");
        const test_support::ChildResult result = test_support::runInChild([&] {
            platform::setVirtualClock(true);
            for (const Tap& tap : c.taps) {
                platform::scheduleKey(tap.ms, tap.key, true);
                platform::scheduleKey(tap.ms + 50, tap.key, false);
            }
            platform::scheduleSignal(c.signalMs, c.signal);
            std::vector<const char*> args = c.args;
            args.insert(args.begin(), "trolk");
            const int status = app::runProgram(int(args.size()), const_cast<char**>(args.data()));
            std::printf("%d", int(platform::readTicks() - c.signalMs <= 1000));
            std::exit(status);
        });
        EXPECT_EQ(result.exitStatus, 0) << c.signalMs;
        EXPECT_EQ(result.output, "1") << c.signalMs;
        EXPECT_EQ(fs::exists("trolk.cfg"), c.settingsWritten) << c.signalMs;
    }
}

TEST_F(WholeProgram, AMissingDataFolderIsFatal) {
    fs::remove("data");
    const test_support::ChildResult result = runTrolk({"-t"}, {});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output, "Error loading gfx file: font\n");
}

}  // namespace
