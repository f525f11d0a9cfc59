// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The prover runs the built levelbot beside the test on small levels, with short limits: it
// finds a way for every life and saves replays that play back, reports where the bot got
// stuck on a level without a way, restarts when the level changes and stops the bot when
// cancelled.

#include "edit_fixture.h"
#include "level_edits.h"
#include "prover.h"
#include "support/test_support.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace fs = std::filesystem;
using trolkedit::Prover;

namespace {

// A walk past two items to the door, with a checkpoint in column 10 when asked for; with
// `pit`, a pit of ten cells no jump clears.
std::string walkLevel(bool checkpoint, bool pit = false) {
    std::vector<std::string> rows(12, "..............................");
    rows[8] = ".........................[]...";
    rows[9] = checkpoint ? "....*.....C....*.........()..." : "....*..........*.........()...";
    rows[10] = rows[11] = pit ? "######..........##############" : "##############################";
    return edit_fixture::blockOf(rows);
}

trolkedit::ProverSettings smallBot() {
    trolkedit::ProverSettings settings;
    settings.levelbot = LEVELBOT_PROGRAM;
    settings.beam = settings.maxBeam = 100;
    settings.progressEveryMs = 1;
    return settings;
}

// Looks at the prover once a frame, as the editor does, until the bot is done.
void waitForProof(Prover& prover) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (prover.state == trolkedit::PROVER_RUNNING && std::chrono::steady_clock::now() < giveUp) {
        trolkedit::updateProver(prover);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
}

TEST(Prover, FindsAWayForEveryLifeAndSavesReplaysThatPlayBack) {
    test_support::ScratchDirectory scratch;
    trolkedit::Document doc = edit_fixture::open(walkLevel(true), "walk.lvl");
    fs::path botFolder;
    {
        Prover prover;
        ASSERT_TRUE(trolkedit::startProving(prover, doc, smallBot())) << prover.problem;
        botFolder = prover.scratch;
        waitForProof(prover);
        ASSERT_EQ(prover.state, trolkedit::PROVER_DONE) << prover.problem;
        EXPECT_EQ(prover.progress.rfind("walk", 0), 0u) << prover.progress;
        ASSERT_EQ(prover.lives.size(), 2u);
        for (const trolkedit::LifeProof& life : prover.lives) {
            EXPECT_EQ(life.state, trolkedit::LIFE_FOUND) << life.outcome;
            EXPECT_EQ(life.way.level, "walk");
        }
        EXPECT_EQ(prover.lives[1].way.startX, 160);
        EXPECT_EQ(prover.lives[1].way.startY, 144);

        // Saved: a replay of a checkpoint the level no longer has goes, another level's stays.
        fs::create_directory("replays");
        test_support::writeText("replays/walk@5.rpl",
                                "level walk\nstart 80 144\nframes 1\nR 1\nend\n");
        test_support::writeText("replays/other.rpl",
                                "level other\nstart 80 144\nframes 1\nR 1\nend\n");
        std::vector<std::string> written, removed;
        std::string message;
        ASSERT_TRUE(trolkedit::saveReplays(prover, doc, "replays", written, removed, message));
        EXPECT_EQ(written, (std::vector<std::string>{"replays/walk.rpl", "replays/walk@10.rpl"}));
        EXPECT_EQ(removed, std::vector<std::string>{"replays/walk@5.rpl"});
        EXPECT_TRUE(fs::exists("replays/other.rpl"));
        ASSERT_TRUE(trolkedit::saveLevel(doc, message));
        const test_support::ChildResult played =
            test_support::runProgram({LEVELBOT_PROGRAM, "--replay", "replays/walk.rpl",
                                      "replays/walk@10.rpl", "--level", "walk.lvl"},
                                     scratch.path());
        EXPECT_EQ(played.exitStatus, 0) << played.output;

        ASSERT_EQ(trolkedit::paint(doc, {0, 0}, 'B').outcome, trolkedit::EDIT_CHANGED);
        EXPECT_FALSE(trolkedit::saveReplays(prover, doc, "replays", written, removed, message));
        EXPECT_EQ(message, "no proof of the level as it is now");
    }
    EXPECT_FALSE(fs::exists(botFolder));  // the scratch folder goes with the prover
}

TEST(Prover, ReportsWhereTheBotGotStuckOnALevelWithoutAWay) {
    test_support::ScratchDirectory scratch;
    const trolkedit::Document doc = edit_fixture::open(walkLevel(false, true), "pit.lvl");
    Prover prover;
    ASSERT_TRUE(trolkedit::startProving(prover, doc, smallBot())) << prover.problem;
    waitForProof(prover);
    ASSERT_EQ(prover.state, trolkedit::PROVER_DONE) << prover.problem;
    ASSERT_EQ(prover.lives.size(), 1u);
    const trolkedit::LifeProof& life = prover.lives[0];
    EXPECT_EQ(life.state, trolkedit::LIFE_NO_WAY);
    EXPECT_EQ(life.outcome.rfind("NO WAY", 0), 0u) << life.outcome;
    ASSERT_GE(life.report.size(), 2u);
    EXPECT_EQ(life.report[0].rfind("no way found: ", 0), 0u) << life.report[0];
    EXPECT_EQ(life.report.back().rfind("deaths in all: FELL TO DEATH (", 0), 0u)
        << life.report.back();
    EXPECT_TRUE(life.hasWay);  // the way to the state that came closest
    EXPECT_GT(life.way.frameCount(), 0);
}

// Whether the process stops running within a second: it is gone, or a zombie to be reaped.
bool stopsRunning(pid_t pid) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    do {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string id, name, state;
        if (!(stat >> id >> name >> state) || state == "Z") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < giveUp);
    return false;
}

TEST(Prover, AChangeRestartsARunningProofAndCancellingStopsTheBot) {
    test_support::ScratchDirectory scratch;
    trolkedit::Document doc = edit_fixture::open(walkLevel(false), "walk.lvl");
    std::vector<pid_t> bots;
    {
        Prover prover;
        const trolkedit::ProverSettings settings = smallBot();
        ASSERT_TRUE(trolkedit::startProving(prover, doc, settings));
        EXPECT_FALSE(trolkedit::keepProving(prover, doc, settings));
        const pid_t firstBot = trolkedit::waitForStart(prover.child);
        ASSERT_GT(firstBot, 0);
        ASSERT_EQ(trolkedit::paint(doc, {10, 9}, 'C').outcome, trolkedit::EDIT_CHANGED);
        EXPECT_FALSE(trolkedit::proofIsCurrent(prover, doc));
        ASSERT_TRUE(trolkedit::keepProving(prover, doc, settings));
        EXPECT_TRUE(trolkedit::proofIsCurrent(prover, doc));
        EXPECT_TRUE(stopsRunning(firstBot));  // killed; reaped once it has ended
        waitForProof(prover);
        ASSERT_EQ(prover.state, trolkedit::PROVER_DONE) << prover.problem;
        EXPECT_EQ(prover.lives.size(), 2u);  // the checkpoint painted is a life of its own

        ASSERT_TRUE(trolkedit::startProving(prover, doc, settings));
        const pid_t bot = trolkedit::waitForStart(prover.child);
        trolkedit::cancelProving(prover);
        EXPECT_EQ(prover.state, trolkedit::PROVER_IDLE);
        EXPECT_TRUE(prover.lives.empty());
        EXPECT_TRUE(stopsRunning(bot));
        bots = {firstBot, bot};
    }
    for (pid_t bot : bots) EXPECT_EQ(kill(bot, 0), -1) << bot;  // reaped with the prover
}

TEST(Prover, FailsWithOneLineWhenItCannotProve) {
    test_support::ScratchDirectory scratch;
    std::string doorless = walkLevel(false);
    doorless.replace(doorless.find("[]"), 2, "..");
    // A file that may be run but is no program fails only once its start has been tried.
    test_support::writeText("notaprogram", "neither a program nor a script\n");
    fs::permissions("notaprogram", fs::perms::owner_all);
    const std::string notAProgram = (scratch.path() / "notaprogram").string();
    struct FailureCase {
        std::string level;
        std::string levelbot;
        bool failsAtOnce;
        std::string problem;
    };
    const std::vector<FailureCase> cases = {
        {doorless, LEVELBOT_PROGRAM, true,
         "the level breaks a rule of the checker: items need an exit door (27 28 above 47 48), "
         "but the level has none"},
        {walkLevel(false), "/nonexistent/levelbot", true,
         "cannot run /nonexistent/levelbot: No such file or directory"},
        {walkLevel(false), notAProgram, false, "cannot run " + notAProgram + ": Exec format error"},
    };
    for (const FailureCase& c : cases) {
        trolkedit::ProverSettings settings = smallBot();
        settings.levelbot = c.levelbot;
        Prover prover;
        EXPECT_EQ(
            trolkedit::startProving(prover, edit_fixture::open(c.level, "walk.lvl"), settings),
            !c.failsAtOnce);
        waitForProof(prover);
        EXPECT_EQ(prover.state, trolkedit::PROVER_FAILED);
        EXPECT_EQ(prover.problem, c.problem);
    }
}

TEST(Prover, KeepsReplaysBesideTheLevelsAsContentDoes) {
    test_support::ScratchDirectory scratch;
    for (const char* folder : {"content/levels", "content/replays", "mine/levels"})
        fs::create_directories(folder);
    const fs::path here = scratch.path();
    EXPECT_EQ(trolkedit::replayFolderFor("content/levels/new.lvl"), here / "content/replays");
    EXPECT_EQ(trolkedit::replayFolderFor("mine/levels/new.lvl"), here / "mine/levels");
    EXPECT_EQ(trolkedit::replayFolderFor("new.lvl"), here);
}

}  // namespace
