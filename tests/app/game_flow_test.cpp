// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game flow driven as a player would drive it: keys scheduled at exact virtual moments,
// levels of the test's own, and the screen the game shows at chosen moments.

#include "app/game_loop.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <ostream>

#include "app/flow.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/hiscores.h"
#include "persist/savegame.h"
#include "platform/event_script.h"
#include "platform/input.h"
#include "platform/stop_signal.h"
#include "platform/ticks.h"
#include "support/game_harness.h"
#include "support/sdl_fixture.h"
#include "video/graphics.h"
#include "world/lifetimes.h"

namespace app {

// Screens print by name in the messages of failed tests.
void PrintTo(Screen screen, std::ostream* out) {
    static constexpr const char* kNames[] = {
        "Warning",      "Credits",     "StyleChoice", "Title",    "Play",      "Pause",
        "QuitQuestion", "Story",       "Tally",       "GameOver", "NameEntry", "ContinueQuestion",
        "Ending",       "HiscoreList", "ExitCard",    "Ended"};
    *out << kNames[int(screen)];
}

}  // namespace app

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

using app::Screen;
using test_support::GameHarness;
using test_support::simpleLevel;

int played(audio::SoundId id) { return audio::soundsPlayed[size_t(id)]; }

// A short level: an item on the way and the exit door at its end.
std::string levelWithDoor() {
    return simpleLevel(
        32, {{9, std::string(25, '.') + "[]"}, {10, "..........*" + std::string(14, '.') + "()"}});
}

// The ground ends after two columns: walking right means falling out. The door stands out
// of reach on a ledge; the item lies at the brink.
std::string levelWithPit() {
    return "map\n" + std::string("........................\n") +
           "........................\n"
           "........................\n"
           "........................\n"
           "................[]......\n"
           "................()......\n"
           "...............####.....\n"
           "........................\n"
           "........................\n"
           "........................\n"
           "..*.....................\n"
           "##......................\n";
}

struct At {
    uint32_t ms;
    Screen screen;
};

// Runs the game on to each moment and checks the screen it shows then.
void expectScreens(GameHarness& game, std::initializer_list<At> timeline) {
    for (const At& at : timeline) {
        game.runUntil(at.ms);
        EXPECT_EQ(app::flow.screen, at.screen) << "at " << at.ms << " ms";
    }
}

// "NEW GAME" from the title at `ms`, past the story a second later: level 1 begins about
// 1.2 s after `ms`, and its player can move 3 s (181 frames) later.
void newGame(GameHarness& game, uint32_t ms) {
    game.tap(SDLK_RETURN, ms);         // "PRESS START"
    game.tap(SDLK_RETURN, ms + 500);   // "NEW GAME"
    game.tap(SDLK_RETURN, ms + 1500);  // past the story
}

// Six falls into the pit of levelWithPit, from `ms` on: the last life is lost about 47 s
// later.
void fallSixTimes(GameHarness& game, uint32_t ms) {
    for (uint32_t t = ms; t < ms + 47000; t += 500) game.tap(SDLK_RIGHT, t, 400);
}

TEST(GameFlow, LeavingTheTitleShowsTheDonateCardOnlyInTheDeluxeStyle) {
    {
        GameHarness game({{"plan0", simpleLevel(40)}});
        game.press(SDLK_ESCAPE, 1000);  // held: it does not cut the card short
        game.begin();
        expectScreens(game, {{900, Screen::Title}, {1100, Screen::ExitCard}});
        EXPECT_TRUE(game.runUntil(8900));  // 480 frames of the card
        EXPECT_FALSE(game.runUntil(9300));
    }
    {
        GameHarness game({{"plan0", simpleLevel(40)}});
        game.tap(SDLK_ESCAPE, 1000);
        game.tap(SDLK_RETURN, 1500);  // too early: the card stands at least 120 frames
        game.tap(SDLK_RETURN, 3500);
        game.begin();
        expectScreens(game, {{3400, Screen::ExitCard}});
        EXPECT_FALSE(game.runUntil(3800));
    }
    {
        GameHarness game({{"plan0", simpleLevel(40)}});
        video::graphicsStyle = video::STYLE_CLASSIC;
        game.tap(SDLK_ESCAPE, 1000);
        game.begin();
        EXPECT_FALSE(game.runUntil(1200));
    }
}

TEST(GameFlow, TheTitleMenuStepsOnReleasesAndTheUpArrowCountsAsUp) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    const struct {
        SDLKey key;
        int selection;  // after its release
    } steps[] = {
        {SDLK_DOWN, 1},   // from "PRESS START" straight to NEW GAME
        {SDLK_DOWN, 2},   // CONTINUE
        {SDLK_UP, 1},     // its release reports jump, which counts as up
        {SDLK_LEFT, 4},   // wraps to EXIT
        {SDLK_RIGHT, 1},  // wraps to NEW GAME
    };
    uint32_t t = 500;
    for (const auto& step : steps) game.tap(step.key, t), t += 300;
    game.tap(SDLK_RETURN, 2000);    // a new game: the story
    game.press(SDLK_ESCAPE, 3000);  // leaving the story goes back to the title
    game.release(SDLK_ESCAPE, 3050);
    game.tap(SDLK_ESCAPE, 4000);
    game.begin();
    t = 500;
    for (const auto& step : steps) {
        game.runUntil(t + 150);
        EXPECT_EQ(app::pass.menuSelection, step.selection) << "after key " << step.key;
        t += 300;
    }
    expectScreens(game, {{2300, Screen::Story}, {3300, Screen::Title}, {3900, Screen::Title}});
    EXPECT_EQ(app::pass.menuSelection, 0);  // closed again
    EXPECT_FALSE(game.runUntil(4300));
}

TEST(GameFlow, ContinueStartsAfterTheSavedLevelAndTheQuitQuestionReturnsToTheTitle) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"plan6", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    persist::writeSavegame(4);    // three levels finished
    game.tap(SDLK_RETURN, 500);   // the menu opens on CONTINUE
    game.tap(SDLK_RETURN, 1000);  // level 4
    game.tap(SDLK_ESCAPE, 2000);  // during the call to run: only noted
    game.tap(SDLK_RIGHT, 7000);   // "no": play goes on
    game.tap(SDLK_ESCAPE, 8000);
    game.tap(SDLK_LEFT, 9000);  // "yes": back to the title
    game.tap(SDLK_ESCAPE, 11000);
    game.begin();
    game.runUntil(700);
    EXPECT_EQ(app::pass.menuSelection, 2);
    expectScreens(game, {{1300, Screen::Play}, {4000, Screen::Play}});
    EXPECT_EQ(world::run.levelCounter, 4);
    EXPECT_EQ(persist::readSavegame(), 3);              // rewritten on entering level 4
    expectScreens(game, {{4500, Screen::QuitQuestion},  // at the end of the call to run
                         {6900, Screen::QuitQuestion},
                         {7300, Screen::Play},
                         {8300, Screen::QuitQuestion},
                         {9300, Screen::Title}});
    EXPECT_EQ(world::run.levelCounter, 0);
    EXPECT_FALSE(game.runUntil(11300));
}

TEST(GameFlow, AFinishedLevelGivesItsBonusesAndSavesOnEnteringTheNext) {
    GameHarness game(
        {{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}, {"plan8", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    newGame(game, 500);
    game.press(SDLK_RIGHT, 5500);  // after the call to run: walk to the door
    game.release(SDLK_RIGHT, 12000);
    game.begin();
    expectScreens(game, {{5000, Screen::Play}, {9000, Screen::Tally}});
    EXPECT_EQ(world::run.score, 1);               // the item; the bonuses come later
    EXPECT_EQ(audio::music.rampStep.load(), -1);  // the level's music fades out
    const int32_t timeLeft = world::life.timeLeft;
    expectScreens(game, {{16000, Screen::Play}});
    // The item, whole seconds left, six lives; passing 100 gave a seventh.
    EXPECT_EQ(world::run.score, 1 + timeLeft / 60 + 6);
    EXPECT_EQ(world::run.lives, 7);
    EXPECT_EQ(played(audio::SOUND_TADA), 1);
    EXPECT_EQ(world::run.levelCounter, 2);
    EXPECT_EQ(persist::readSavegame(), 1);
}

TEST(GameFlow, FireOpensThePauseMenuOnlyWhenTheHeroCanMoveAndSuicideCriesTwice) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    game.tap(SDLK_SPACE, 300);  // on the title: nothing
    newGame(game, 500);
    game.tap(SDLK_SPACE, 3000);   // during the call to run: ignored
    game.tap(SDLK_RETURN, 3500);  // so start has nothing to confirm
    game.tap(SDLK_SPACE, 6000);   // paused on GO ON
    game.tap(SDLK_UP, 6500);      // SUICIDE
    game.tap(SDLK_RETURN, 7000);
    game.tap(SDLK_SPACE, 7500);  // while dying: nothing
    game.begin();
    expectScreens(game, {{450, Screen::Title}});
    EXPECT_EQ(app::pass.menuSelection, 0);
    expectScreens(game, {{3200, Screen::Play}, {5900, Screen::Play}});
    EXPECT_EQ(app::game.musicId, 3);  // level 1 plays module 3
    expectScreens(game, {{6200, Screen::Pause}});
    EXPECT_EQ(app::pass.menuSelection, 2);
    expectScreens(game, {{6700, Screen::Pause}});
    EXPECT_EQ(app::pass.menuSelection, 1);
    expectScreens(game, {{7200, Screen::Play}});
    EXPECT_EQ(world::life.player.dying, 1);
    EXPECT_EQ(world::life.deathMessage, "SUICIDE");
    EXPECT_EQ(played(audio::SOUND_AJ), 2);
    expectScreens(game, {{7700, Screen::Play}});
    EXPECT_EQ(world::life.player.dying, 1);
}

TEST(GameFlow, FireDoesNotPauseADeadHeroNorTheTestMap) {
    {
        GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithPit()}});
        newGame(game, 500);
        game.tap(SDLK_RIGHT, 5500, 400);  // into the pit
        game.tap(SDLK_SPACE, 7000);       // dead, waiting for the next life
        game.begin();
        expectScreens(game, {{6900, Screen::Play}});
        EXPECT_EQ(world::life.player.alive, 0);
        expectScreens(game, {{7200, Screen::Play}});
    }
    {
        GameHarness game({{"plan0", simpleLevel(40)}, {"test", levelWithDoor()}});
        game.tap(SDLK_SPACE, 4000);
        game.begin(true);
        expectScreens(game, {{4200, Screen::Play}});
    }
}

TEST(GameFlow, TheLastLifeLeadsToGameOverTheNameEntryAndTheContinueQuestion) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithPit()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    for (persist::HiscoreEntry& entry : persist::hiscores.entries) entry.score = 0;
    newGame(game, 500);
    fallSixTimes(game, 5000);
    game.tap(SDLK_ESCAPE, 53000);  // not acted upon on this screen
    game.tap(SDLK_RETURN, 54000);  // past "GAME OVER"
    game.tap(SDLK_RETURN, 56000);  // the name entry: "A"
    game.tap(SDLK_RIGHT, 58000);   // "CONTINUE?" no
    game.begin();
    expectScreens(game, {{53900, Screen::GameOver}});
    EXPECT_EQ(app::game.musicId, 1);  // the game-over music
    EXPECT_EQ(world::run.lives, 0);
    EXPECT_EQ(world::life.deathMessage, "FELL TO DEATH");
    expectScreens(game, {{55000, Screen::NameEntry}, {57000, Screen::ContinueQuestion}});
    EXPECT_EQ(persist::hiscores.entries[0].score, 6);  // one item in each life
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "A");
    persist::hiscores = {};
    persist::loadHiscores(1);
    EXPECT_EQ(persist::hiscores.entries[0].score, 6);  // saved at once
    expectScreens(game, {{58300, Screen::Title}});
    EXPECT_EQ(world::run.levelCounter, 0);
    EXPECT_EQ(app::game.musicId, 0);
}

TEST(GameFlow, YesToContinuePlaysTheLevelAgainWithAFreshRun) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"plan8", levelWithPit()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    persist::writeSavegame(2);    // level 1 finished
    game.tap(SDLK_RETURN, 500);   // the menu opens on CONTINUE
    game.tap(SDLK_RETURN, 1000);  // level 2
    fallSixTimes(game, 4500);
    game.tap(SDLK_RETURN, 53000);  // past "GAME OVER"; the score enters no table
    game.tap(SDLK_ESCAPE, 54000);  // escape and a window close do not answer "CONTINUE?"
    SDL_Event close{};
    close.type = SDL_QUIT;
    platform::scheduleEvent(54500, close);
    game.tap(SDLK_LEFT, 55000);  // yes
    game.begin();
    expectScreens(game, {{52900, Screen::GameOver}, {54900, Screen::ContinueQuestion}});
    expectScreens(game, {{55300, Screen::Play}});
    EXPECT_EQ(world::run.levelCounter, 2);
    EXPECT_EQ(world::run.score, 0);
    EXPECT_EQ(world::run.lives, 6);
    EXPECT_EQ(app::game.musicId, 4);        // the level's music from its start
    EXPECT_EQ(persist::readSavegame(), 1);  // not written again
    EXPECT_FALSE(platform::actions.leaveRequested);
}

TEST(GameFlow, AReleaseLeftOverFromTheNameEntryAnswersTheContinueQuestion) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithPit()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    newGame(game, 500);
    fallSixTimes(game, 5000);
    game.tap(SDLK_RETURN, 54000);  // past "GAME OVER"; the score enters no table
    game.tap(SDLK_RIGHT, 54020);   // let go while start is waited out: "no"
    game.begin();
    expectScreens(game, {{53900, Screen::GameOver}, {54400, Screen::Title}});
}

TEST(GameFlow, TheHiscoreListScrollsTheTitleAndStartReturnsToIt) {
    GameHarness game({{"plan0", simpleLevel(40)}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    game.tap(SDLK_DOWN, 500);     // NEW GAME
    game.tap(SDLK_DOWN, 800);     // CONTINUE
    game.tap(SDLK_DOWN, 1100);    // HISCORES
    game.tap(SDLK_RETURN, 1400);  // the list
    game.tap(SDLK_DOWN, 2000);    // no menu on the list: nothing happens
    game.tap(SDLK_RETURN, 3000);  // back to the title, its menu closed again
    game.tap(SDLK_ESCAPE, 4000);
    game.begin();
    expectScreens(game, {{1600, Screen::HiscoreList}});
    const int32_t cameraX = world::life.cameraX;
    expectScreens(game, {{2900, Screen::HiscoreList}});
    EXPECT_GT(world::life.cameraX, cameraX);  // the title scrolls on behind the list
    expectScreens(game, {{3300, Screen::Title}});
    EXPECT_EQ(app::pass.menuSelection, 0);
    EXPECT_EQ(played(audio::SOUND_KLONK), 3);
    EXPECT_FALSE(game.runUntil(4300));
}

TEST(GameFlow, TheLastLevelLeadsToTheEndingAndItsNameEntry) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"planf", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    for (persist::HiscoreEntry& entry : persist::hiscores.entries) entry.score = 0;
    persist::writeSavegame(16);   // fifteen levels finished
    game.tap(SDLK_RETURN, 500);   // the menu opens on CONTINUE
    game.tap(SDLK_RETURN, 1000);  // level 16
    game.press(SDLK_RIGHT, 5000);
    game.release(SDLK_RIGHT, 10000);
    game.tap(SDLK_RETURN, 20000);  // past the ending
    game.tap(SDLK_RETURN, 21000);  // the name entry: "A"
    game.begin();
    expectScreens(game, {{1300, Screen::Play}});
    EXPECT_EQ(app::game.musicId, 2);  // level 16 plays module 2
    expectScreens(game,
                  {{19000, Screen::Ending}, {20500, Screen::NameEntry}, {21300, Screen::Title}});
    EXPECT_EQ(persist::readSavegame(), 15);  // entering level 16 saved; the ending did not
    const int32_t score = persist::hiscores.entries[0].score;
    EXPECT_GT(score, 100);  // the item, the time bonus and six lives
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "A");
}

TEST(GameFlow, TheTestMapEndsTheProgramAtItsOpenDoor) {
    GameHarness game({{"plan0", simpleLevel(40)},
                      {"test", simpleLevel(30, {{9, std::string(20, '.') + "[]"},
                                                {10, std::string(20, '.') + "()"}})}});
    game.press(SDLK_RIGHT, 4000);
    game.begin(true);
    expectScreens(game, {{3000, Screen::Play}});
    EXPECT_EQ(world::run.levelCounter, -1);
    EXPECT_EQ(app::game.musicId, 1);
    EXPECT_FALSE(game.runUntil(8000));
}

// The level editor plays the level it holds in memory as the test map, from a restart point
// of its choosing: a point without ground starts nothing, the open door ends the game, and a
// lost life starts again at that point.
TEST(GameFlow, LevelBytesInMemoryPlayAsTheTestMapFromTheirOwnRestartPoint) {
    GameHarness game({{"plan0", simpleLevel(40)}});
    video::loadTileSet();
    const std::vector<uint8_t> bytes = test_support::compileLevelText(levelWithPit());
    EXPECT_EQ(app::beginGameOn(bytes.data(), bytes.size(), 128, 96), world::LEVEL_NO_GROUND);
    EXPECT_EQ(app::flow.screen, Screen::Ended);

    // On the ledge, beside the door; the item lies left of the view and is not counted.
    ASSERT_EQ(app::beginGameOn(bytes.data(), bytes.size(), 240, 48), world::LEVEL_OK);
    expectScreens(game, {{3300, Screen::Play}});
    EXPECT_EQ(world::run.levelCounter, -1);
    EXPECT_EQ(world::life.player.x, 240);
    EXPECT_EQ(world::life.player.y, 80);
    EXPECT_EQ(world::life.itemsLeft, 0);
    game.tap(SDLK_RIGHT, 3400, 600);
    EXPECT_FALSE(game.runUntil(6000));

    // From the brink: a fall, the death wait, and the next life at the same point.
    ASSERT_EQ(app::beginGameOn(bytes.data(), bytes.size(), 16, 96), world::LEVEL_OK);
    game.tap(SDLK_RIGHT, game.now() + 3300, 800);
    game.runUntil(game.now() + 9000);
    EXPECT_EQ(app::flow.screen, Screen::Play);
    EXPECT_EQ(world::run.lives, 5);
    EXPECT_EQ(world::life.player.x, 16);
    EXPECT_EQ(world::life.player.y, 160);
    EXPECT_EQ(world::life.player.alive, 1);
}

TEST(GameFlow, EachLevelPlaysItsOwnMusicAndALostLifeKeepsIt) {
    // Level n of a run plays module (n mod 16) + 2.
    for (int level = 2; level <= 16; ++level) {
        std::map<std::string, std::string> levels{{"plan0", simpleLevel(40)}};
        levels[world::levelNames[size_t(level)]] = levelWithPit();
        GameHarness game(levels);
        persist::writeSavegame(level);  // level - 1 finished
        game.tap(SDLK_RETURN, 500);
        game.tap(SDLK_RETURN, 1000);
        game.tap(SDLK_RIGHT, 4500, 400);  // one fall
        game.begin();
        expectScreens(game, {{300, Screen::Title}});
        EXPECT_EQ(app::game.musicId, 0);
        expectScreens(game, {{1300, Screen::Play}});
        EXPECT_EQ(app::game.musicId, level == 16 ? 2 : level + 2) << "level " << level;
        audio::music.rampStep = 0;  // a fresh start would fade in again
        expectScreens(game, {{12000, Screen::Play}});
        EXPECT_EQ(world::run.lives, 5);
        EXPECT_EQ(app::game.musicId, level == 16 ? 2 : level + 2);
        EXPECT_EQ(audio::music.rampStep.load(), 0) << "level " << level;
    }
}

TEST(GameFlow, ATileEffectStartedAtTheDoorDoesNotReachIntoTheNextLevel) {
    // The checkpoint just before the first level's door is taken some frames before the
    // door; its cell is where the second level keeps its only item.
    GameHarness game(
        {{"plan0", simpleLevel(40)},
         {"beginner", simpleLevel(32, {{9, std::string(25, '.') + "[]"},
                                       {10, "..........*" + std::string(13, '.') + "C()"}})},
         {"plan8",
          simpleLevel(40, {{9, std::string(30, '.') + "[]"},
                           {10, std::string(24, '.') + "*" + std::string(5, '.') + "()"}})}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    newGame(game, 500);
    game.press(SDLK_RIGHT, 5500);
    game.release(SDLK_RIGHT, 12000);
    game.begin();
    expectScreens(game, {{9000, Screen::Tally}, {20000, Screen::Play}});
    EXPECT_EQ(world::run.levelCounter, 2);
    EXPECT_EQ(world::cellOfGrid(24, 10), world::TILE_ITEM);
    EXPECT_EQ(world::life.itemsLeft, 1);
}

TEST(GameFlow, TheWindowsCloseButtonAsksWhileAStopSignalEndsTheGame) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}});
    newGame(game, 500);
    SDL_Event close{};
    close.type = SDL_QUIT;
    platform::scheduleEvent(6000, close);
    game.begin();
    expectScreens(game, {{6200, Screen::QuitQuestion}});
    // A stop signal ends the game from the question too.
    const test_support::ChildResult child = test_support::runInChild([&] {
        platform::catchStopSignals();
        platform::scheduleSignal(6500, SIGTERM);
        const bool going = game.runUntil(7000);
        std::printf("%d %d", int(going), int(platform::readTicks() <= 6600));
    });
    EXPECT_EQ(child.output, "0 1");  // ended at the next poll of the question
}

// A stop signal on each screen of the game: the flow ends within a second.
TEST(GameFlow, AStopSignalEndsTheGameFromAnyScreenWithinASecond) {
    const struct {
        uint32_t signalMs;
        int signal;
        Screen screen;  // where the game is when the signal comes
    } cases[] = {
        {300, SIGTERM, Screen::Title},         {3000, SIGINT, Screen::Play},
        {6300, SIGTERM, Screen::QuitQuestion}, {50000, SIGTERM, Screen::GameOver},
        {54500, SIGTERM, Screen::NameEntry},   {56500, SIGTERM, Screen::ContinueQuestion},
        {58500, SIGTERM, Screen::ExitCard},
    };
    for (const auto& c : cases) {
        const test_support::ChildResult child = test_support::runInChild([&] {
            GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithPit()}});
            for (persist::HiscoreEntry& entry : persist::hiscores.entries) entry.score = 0;
            newGame(game, 500);
            game.tap(SDLK_ESCAPE, 6000);  // "SURE TO QUIT?"
            game.tap(SDLK_RIGHT, 7000);   // no
            fallSixTimes(game, 7500);
            game.tap(SDLK_RETURN, 54000);  // past "GAME OVER"
            game.tap(SDLK_RETURN, 56000);  // the name entry
            game.tap(SDLK_RIGHT, 57000);   // no
            game.tap(SDLK_ESCAPE, 58000);  // the donate card
            game.begin();
            game.runUntil(c.signalMs);
            const Screen before = app::flow.screen;
            platform::catchStopSignals();
            platform::scheduleSignal(c.signalMs, c.signal);
            const bool going = game.runUntil(c.signalMs + 1000);
            std::printf("%d %d", int(before), int(going));
        });
        EXPECT_EQ(child.output, std::to_string(int(c.screen)) + " 0") << c.signalMs;
    }
}

}  // namespace
