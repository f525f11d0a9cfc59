// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole game in an unfriendly place: a working directory it may not write to, an audio
// device that does not open, a signal to stop, a disk that fails while the game saves.
// Whatever happens to the three files the game keeps, an earlier version is never lost and
// the game says nothing about them; a quit by signal ends the game as a window close does.

#include "game_run.h"
#include "persist/safe_file.h"
#include "platform/event_script.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using faults::GameDirectory;
using faults::GameResult;
using Names = std::vector<std::string>;

// trolk.cfg as the game writes it with every setting at its default.
const std::string kDefaultConfig =
    "volume=100\nj_jump=0\nj_fire=1\nj_start=7\nj_up=1\nj_down=4\nj_left=8\nj_right=2\n"
    "k_jump=273\nk_fire=32\nk_start=13\nk_up=273\nk_down=274\nk_left=276\nk_right=275\n"
    "mpFlagsOVERSAMPLING=1\nmpResamplingMode=1\nmpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\n"
    "mpReverbDepth=0\nmpReverbDelay=0\nmpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=0\n"
    "mpFlagsSURROUND=0\nmpSurroundDepth=0\nmpSurroundDelay=0\n";

std::string textOf(const fs::path& path) {
    const std::vector<uint8_t> bytes = test_support::readFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Ready once the game has written its first hiscore table: it then runs its first pass,
// the title (or the test map with -t).
faults::SignalPlan onceRunning(int signal) {
    return {signal, [](pid_t) { return fs::exists("hiscores.dat"); }};
}

TEST(HostileEnvironment, AnUnwritableDirectoryGetsNoFilesAndTheGameNoMessage) {
    GameDirectory directory;
    directory.replaceTestMap(faults::selfFinishingTestMap());
    // As root the game runs as nobody, for whom the directory is as closed as for anyone;
    // nobody may not be able to read the build directory, so the game and its data are copied.
    const faults::TrolkRun run{
        .program = directory.copyGame(), .arguments = {"-t"}, .unprivileged = true};
    const std::vector<std::string> before = directory.files();
    fs::permissions(directory.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                          fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
    const GameResult result = faults::runTrolk(directory.path(), run);
    fs::permissions(directory.path(), fs::perms::owner_all);
    EXPECT_NE(result.exitStatus, 126) << "could not drop root's privileges";
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(directory.files(), before);
}

TEST(HostileEnvironment, AnAudioDeviceThatDoesNotOpenEndsTheGameAtStart) {
    GameDirectory directory;
    const faults::TrolkRun run{.arguments = {"-t"},
                               .environment = {{"SDL_AUDIODRIVER", "no_such_driver"}}};
    const GameResult result = faults::runTrolk(directory.path(), run);
    EXPECT_EQ(result.output, "Mix_OpenAudio: No available audio device\n");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(directory.files(), Names{});
}

// Both signals end the game from wherever it is, through the normal shutdown that writes
// trolk.cfg: on the title, and in a level (the test map), where a window close would ask
// "SURE TO QUIT?" and wait for an answer.
TEST(HostileEnvironment, TermAndInterruptEndTheGameNormallyOnTheTitleAndInALevel) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        GameDirectory directory;
        const faults::ChildGame game{.arguments = {"-w"},
                                     .prepare = faults::scheduleWayToTitle,
                                     .signal = onceRunning(signal)};
        const GameResult result = faults::runGameInChild(directory.path(), game);
        EXPECT_EQ(result.termSignal, 0);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(directory.files(), (Names{"hiscores.dat", "trolk.cfg"}));
        EXPECT_EQ(textOf(directory.path() / "trolk.cfg"), kDefaultConfig);

        GameDirectory level;
        const faults::TrolkRun run{.arguments = {"-t"}, .signal = onceRunning(signal)};
        const GameResult inLevel = faults::runTrolk(level.path(), run);
        EXPECT_FALSE(inLevel.timedOut);
        EXPECT_EQ(inLevel.termSignal, 0);
        EXPECT_EQ(inLevel.exitStatus, 0);
        EXPECT_EQ(textOf(level.path() / "trolk.cfg"), kDefaultConfig);
    }
}

// On the warning screen a stop signal means: leave at once, without reading or writing the
// configuration. The real binary gets the signal once it has opened the archives, long after
// it began to catch the signal.
TEST(HostileEnvironment, TermAndInterruptOnTheWarningScreenLeaveTheFilesAlone) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        GameDirectory directory;
        test_support::writeText(directory.path() / "trolk.cfg", "volume=50\nk_fire=x\n");
        const faults::TrolkRun run{
            .arguments = {"-w"},
            .signal = {signal, [](pid_t pid) { return faults::hasOpen(pid, "data/gfx.zda"); }}};
        const GameResult result = faults::runTrolk(directory.path(), run);
        EXPECT_EQ(result.termSignal, 0);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(directory.files(), Names{"trolk.cfg"});
        EXPECT_EQ(textOf(directory.path() / "trolk.cfg"), "volume=50\nk_fire=x\n");
    }
}

// Every write gives up half-way, as on a full disk: the files of the last run stay as they
// were, no temporary file is left, nothing is said, and the game ends normally. The same
// run without the fault does rewrite trolk.cfg, so the write was really tried.
TEST(HostileEnvironment, WritesFailingHalfWayKeepTheEarlierFiles) {
    const std::string earlierConfig = "volume=50\nk_fire=x\n";
    for (const bool failing : {true, false}) {
        SCOPED_TRACE(failing ? "writes failing" : "writes working");
        GameDirectory directory;
        test_support::writeText(directory.path() / "trolk.cfg", earlierConfig);
        const faults::ChildGame game{.arguments = {"-w"}, .prepare = [failing] {
                                         if (failing) persist::writeFault.failAfterBytes = 20;
                                         faults::scheduleWayToTitle();
                                         SDL_Event close{};
                                         close.type = SDL_QUIT;  // a window close on the title
                                         platform::scheduleEvent(3000, close);
                                     }};
        const GameResult result = faults::runGameInChild(directory.path(), game);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output, "");
        const std::string config = textOf(directory.path() / "trolk.cfg");
        if (failing) {
            EXPECT_EQ(directory.files(), Names{"trolk.cfg"});  // nor a hiscore table
            EXPECT_EQ(config, earlierConfig);
        } else {
            EXPECT_EQ(directory.files(), (Names{"hiscores.dat", "trolk.cfg"}));
            EXPECT_EQ(config.substr(0, 11), "volume=50\nj");
            EXPECT_NE(config.find("\nk_fire=x\n"), std::string::npos);
        }
    }
}

}  // namespace
