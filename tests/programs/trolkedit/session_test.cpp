// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The editing session as the window drives it: where a level named on the command line is
// found, strokes of the mouse and their undo, the start a play asks for, quitting with unsaved
// changes, a damaged file that is never written, the test map, and the proof restarted only
// once the editing pauses.

#include "edit_fixture.h"
#include "session.h"
#include "support/test_support.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;
using trolkedit::Cell;
using trolkedit::Session;

namespace {

// 30 columns over ground: two items, a checkpoint in column 10 (and one in column 20 when
// asked for), the door at the end.
std::string walkLevel(bool secondCheckpoint = false) {
    std::vector<std::string> rows(12, std::string(30, '.'));
    rows[8] = ".........................[]...";
    rows[9] = "....*.....C....*.........()...";
    if (secondCheckpoint) rows[9][20] = 'C';
    rows[10] = rows[11] = std::string(30, '#');
    return edit_fixture::blockOf(rows);
}

void openText(Session& session, const std::string& text, const std::string& path = "walk.lvl") {
    test_support::writeText(path, text);
    trolkedit::openSession(session, {path, path, {}});
    ASSERT_TRUE(session.open) << session.problem;
}

TEST(Session, FindsALevelByPathOrByName) {
    test_support::ScratchDirectory scratch;
    fs::create_directories("game/levels");
    fs::create_directories("locked");
    test_support::writeText("game/levels/plan8.lvl", walkLevel());
    test_support::writeText("locked/plan8.lvl", walkLevel());
    test_support::writeText("plan9.lvl", walkLevel());
    test_support::writeText("game/levels/plan9.lvl", walkLevel());
    chmod("locked", 0555);
    struct Case {
        std::string argument, levels, read, save, problem;
    };
    const std::vector<Case> cases = {
        {"mine/new.lvl", "game/levels", "mine/new.lvl", "mine/new.lvl", ""},  // a new level
        {"plan9", "game/levels", "plan9.lvl", "plan9.lvl", ""},  // the current folder first
        {"plan8", "game/levels", "game/levels/plan8.lvl", "game/levels/plan8.lvl", ""},
        {"plan8", "locked", "locked/plan8.lvl", "plan8.lvl", ""},  // installed: saved here
        {"plan7", "game/levels", "", "",
         "no level named plan7 (neither plan7.lvl nor game/levels/plan7.lvl)"},
    };
    for (const Case& c : cases) {
        const trolkedit::LevelPlace place = trolkedit::placeOfLevel(c.argument, c.levels);
        EXPECT_EQ(place.readPath, c.read) << c.argument << " in " << c.levels;
        EXPECT_EQ(place.savePath, c.save) << c.argument << " in " << c.levels;
        EXPECT_EQ(place.problem, c.problem) << c.argument;
    }
    chmod("locked", 0755);
}

TEST(Session, AStrokeOfTheMouseIsOneStepToUndo) {
    test_support::ScratchDirectory scratch;
    Session session;
    openText(session, walkLevel());
    const std::string before = trolkedit::documentText(session.doc);
    struct Case {
        trolkedit::Stroke stroke;
        char brush;
        std::vector<Cell> cells;  // where the mouse goes, the first where the button went down
        std::vector<Cell> changed;
        int code;        // what the changed cells hold afterwards
        Cell unchanged;  // and a cell that keeps its air
    };
    const std::vector<Case> cases = {
        {trolkedit::Stroke::Paint,
         '*',
         {{2, 5}, {3, 5}, {3, 5}, {4, 6}},
         {{2, 5}, {3, 5}, {4, 6}},
         41,
         {3, 6}},
        {trolkedit::Stroke::Erase, '*', {{0, 10}, {1, 10}}, {{0, 10}, {1, 10}}, 0, {2, 9}},
        // The rectangle from where the button went down to where the mouse was last.
        {trolkedit::Stroke::Fill,
         'B',
         {{20, 3}, {21, 4}, {22, 2}},
         {{20, 2}, {22, 3}, {21, 2}},
         40,
         {21, 4}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(trolkedit::chooseBrush(session, c.brush));
        trolkedit::beginStroke(session, c.stroke, c.cells.front());
        for (const Cell& cell : c.cells) trolkedit::strokeTo(session, cell);
        trolkedit::endStroke(session);
        for (const Cell& cell : c.changed)
            EXPECT_EQ(trolkedit::codeAt(session.doc, cell), c.code) << int(c.stroke);
        EXPECT_EQ(trolkedit::codeAt(session.doc, c.unchanged), 0) << int(c.stroke);
        trolkedit::undoStep(session);
        EXPECT_EQ(trolkedit::documentText(session.doc), before) << int(c.stroke);
    }
    trolkedit::undoStep(session);
    EXPECT_EQ(session.message, "nothing to undo");
    trolkedit::pickUp(session, {10, 9});
    EXPECT_EQ(session.brush, 'C');
    EXPECT_EQ(session.message, "picked up 'C' 17 checkpoint: the restart point moves here");
    EXPECT_FALSE(trolkedit::chooseBrush(session, 'E'));
    EXPECT_EQ(session.message, "the character 'E' is not in the legend");
}

TEST(Session, PlayStartsAtTheLevelStartAtACheckpointOrAtTheCellUnderTheMouse) {
    test_support::ScratchDirectory scratch;
    Session session;
    const std::string twoCheckpoints = walkLevel(true);
    struct Case {
        std::string level;
        trolkedit::PlayFrom from;
        std::optional<Cell> mouse;
        int x, y;
        std::string fromText, message;
    };
    const std::vector<Case> cases = {
        {walkLevel(), trolkedit::PlayFrom::LevelStart, std::nullopt, 16, 100, "the level start",
         ""},
        {twoCheckpoints, trolkedit::PlayFrom::Checkpoint, Cell{25, 3}, 320, 144,
         "the checkpoint at column 20", ""},
        {twoCheckpoints, trolkedit::PlayFrom::Checkpoint, Cell{15, 3}, 160, 144,
         "the checkpoint at column 10", ""},
        {twoCheckpoints, trolkedit::PlayFrom::Checkpoint, Cell{4, 3}, 160, 144,
         "the checkpoint at column 10", ""},  // none left of the mouse: the first one
        {edit_fixture::blockOf(std::vector<std::string>(12, std::string(21, '#'))),
         trolkedit::PlayFrom::Checkpoint, Cell{4, 3}, 0, 0, "", "the level has no checkpoint"},
        {walkLevel(), trolkedit::PlayFrom::Cell, Cell{7, 2}, 112, 32, "column 7, row 2", ""},
        {walkLevel(), trolkedit::PlayFrom::Cell, std::nullopt, 0, 0, "",
         "point at a cell of the map to play from it"},
    };
    for (const Case& c : cases) {
        openText(session, c.level);
        session.hover = c.mouse;
        trolkedit::requestPlay(session, c.from);
        EXPECT_EQ(session.message, c.message) << c.fromText;
        ASSERT_EQ(session.play.has_value(), c.message.empty()) << c.message;
        if (!session.play) continue;
        EXPECT_EQ(session.play->x, c.x) << c.fromText;
        EXPECT_EQ(session.play->y, c.y) << c.fromText;
        EXPECT_EQ(session.play->from, c.fromText);
        session.play.reset();
    }
}

TEST(Session, QuittingWithUnsavedChangesAsksOnceAndSavingWritesTheText) {
    test_support::ScratchDirectory scratch;
    Session session;
    openText(session, walkLevel());
    trolkedit::askToQuit(session);
    EXPECT_TRUE(session.quit);  // nothing changed: at once

    session.quit = false;
    trolkedit::beginStroke(session, trolkedit::Stroke::Paint, {5, 5});
    trolkedit::endStroke(session);
    trolkedit::askToQuit(session);
    EXPECT_FALSE(session.quit);
    EXPECT_EQ(session.message.rfind("the level has unsaved changes", 0), 0u) << session.message;
    trolkedit::saveText(session);
    EXPECT_EQ(session.message, "saved walk.lvl");  // no start folder: the path as it is
    EXPECT_EQ(test_support::readFile("walk.lvl"),
              test_support::bytesOf(trolkedit::documentText(session.doc)));
    trolkedit::askToQuit(session);
    EXPECT_TRUE(session.quit);
}

TEST(Session, ADamagedFileOpensWithOneLineAndNothingIsEverWritten) {
    test_support::ScratchDirectory scratch;
    const std::string damaged = "map\n....\n..\x01..\n";
    test_support::writeText("broken.lvl", damaged);
    fs::create_directory_symlink(test_support::buildDirectory() / "maps", "maps");
    Session session;
    trolkedit::openSession(session, {"broken.lvl", "broken.lvl", {}});
    ASSERT_FALSE(session.open);
    EXPECT_EQ(session.problem.rfind("broken.lvl:", 0), 0u) << session.problem;
    EXPECT_EQ(session.problem.find('\n'), std::string::npos);
    EXPECT_EQ(trolkedit::statusLines(session)[0].text, session.problem);
    trolkedit::saveText(session);
    EXPECT_EQ(session.message, "nothing to edit: " + session.problem);
    trolkedit::writeTestMap(session);
    trolkedit::beginStroke(session, trolkedit::Stroke::Paint, {0, 0});
    trolkedit::endStroke(session);
    trolkedit::toggleProof(session);
    trolkedit::askToQuit(session);
    EXPECT_TRUE(session.quit);
    EXPECT_EQ(test_support::readFile("broken.lvl"), test_support::bytesOf(damaged));
    EXPECT_TRUE(fs::is_symlink("maps"));  // the test map was not written either
}

TEST(Session, TheTestMapGoesIntoAMapsFolderOfTheGamesOwn) {
    test_support::ScratchDirectory scratch;
    fs::create_directories("installed/maps");
    test_support::writeText("installed/maps/test.bin", "the installed test map");
    fs::create_directory_symlink(scratch.path() / "installed/maps", "maps");
    Session session;
    session.settings.gameDir = scratch.path().string();
    openText(session, walkLevel());
    trolkedit::writeTestMap(session);
    EXPECT_EQ(session.message,
              "wrote " + (scratch.path() / "maps/test.bin").string() + ": trolk -t plays it");
    EXPECT_FALSE(fs::is_symlink("maps"));
    EXPECT_EQ(test_support::readFile("maps/test.bin"),
              level_text::levelFileBytes(session.doc.level));
    EXPECT_EQ(test_support::readFile("installed/maps/test.bin"),
              test_support::bytesOf("the installed test map"));

    // A level the checker refuses is not written.
    trolkedit::deleteColumnsAt(session, 0, 10);
    trolkedit::writeTestMap(session);
    EXPECT_EQ(session.message.rfind("not written: ", 0), 0u) << session.message;
}

TEST(Session, AChangeRestartsTheProofOnlyOnceTheEditingPauses) {
    test_support::ScratchDirectory scratch;
    Session session;
    session.settings.prover.levelbot = LEVELBOT_PROGRAM;
    session.settings.prover.beam = session.settings.prover.maxBeam = 100;
    openText(session, walkLevel());
    trolkedit::tickSession(session, 1000);
    trolkedit::toggleProof(session);
    const int version = session.proofVersion;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (session.prover.state == trolkedit::PROVER_RUNNING &&
           std::chrono::steady_clock::now() < giveUp) {
        trolkedit::tickSession(session, 1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    ASSERT_EQ(session.prover.state, trolkedit::PROVER_DONE) << session.prover.problem;
    EXPECT_GT(session.proofVersion, version);  // the ways to draw came
    EXPECT_EQ(trolkedit::statusLines(session)[3].text,
              "proved: every life has a way (2 lives); Ctrl+R saves the replays");

    trolkedit::beginStroke(session, trolkedit::Stroke::Paint, {5, 5});
    trolkedit::endStroke(session);
    trolkedit::tickSession(session, 2000);  // the change is seen
    trolkedit::tickSession(session, 2399);
    EXPECT_EQ(session.prover.state, trolkedit::PROVER_DONE);  // still the old proof
    EXPECT_EQ(trolkedit::statusLines(session)[3].text, "the level changed: the bot starts again");
    trolkedit::tickSession(session, 2400);
    EXPECT_EQ(session.prover.state, trolkedit::PROVER_RUNNING);
    EXPECT_TRUE(trolkedit::proofIsCurrent(session.prover, session.doc));
    trolkedit::toggleProof(session);
    EXPECT_EQ(session.prover.state, trolkedit::PROVER_IDLE);
}

}  // namespace
