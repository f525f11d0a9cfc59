// The game loop driven as a player would drive it: keys scheduled at exact virtual moments,
// levels of the test's own, and the outcome read from sounds, files and the game state.

#include "app/game_loop.h"

#include <gtest/gtest.h>

#include "app/game_loop.h"
#include "audio/sound.h"
#include "persist/hiscores.h"
#include "persist/savegame.h"
#include "support/game_harness.h"
#include "support/sdl_fixture.h"
#include "video/graphics.h"
#include "world/lifetimes.h"
#include "world/score.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

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

TEST(GameFlow, EscapeOnTheTitleShowsTheDonateCardForAtMostEightSeconds) {
    GameHarness game({{"plan0", simpleLevel(40)}});
    game.press(SDLK_ESCAPE, 1000);
    ASSERT_TRUE(game.run());
    // 480 frames of the card after the press: the escape itself does not cut it short.
    EXPECT_GE(game.now(), 1000u + 7900u);
    EXPECT_LE(game.now(), 1000u + 8300u);
}

TEST(GameFlow, StartOnTheCardEndsItAfterTwoSecondsAndOtherStylesShowNone) {
    {
        GameHarness game({{"plan0", simpleLevel(40)}});
        game.tap(SDLK_ESCAPE, 1000);
        game.tap(SDLK_RETURN, 1500);  // too early: the card stands at least 120 frames
        game.tap(SDLK_RETURN, 3500);
        ASSERT_TRUE(game.run());
        EXPECT_GE(game.now(), 3500u);
        EXPECT_LE(game.now(), 3800u);
    }
    {
        GameHarness game({{"plan0", simpleLevel(40)}});
        video::graphicsStyle = video::STYLE_CLASSIC;
        game.tap(SDLK_ESCAPE, 1000);
        ASSERT_TRUE(game.run());
        EXPECT_LE(game.now(), 1200u);
    }
}

TEST(GameFlow, TheTitleMenuStepsOnReleasesAndTheUpArrowCountsAsUp) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    game.tap(SDLK_DOWN, 500);       // from "PRESS START" straight to NEW GAME
    game.tap(SDLK_DOWN, 800);       // CONTINUE
    game.tap(SDLK_UP, 1100);        // its release reports jump, which counts as up: NEW GAME
    game.tap(SDLK_LEFT, 1400);      // wraps to EXIT
    game.tap(SDLK_RIGHT, 1700);     // wraps to NEW GAME
    game.tap(SDLK_RETURN, 2000);    // a new game: the story
    game.press(SDLK_ESCAPE, 3000);  // leaving the story goes back to the title
    game.release(SDLK_ESCAPE, 3050);
    game.tap(SDLK_ESCAPE, 4000);
    ASSERT_TRUE(game.run());
    EXPECT_EQ(played(audio::SOUND_KLONK), 5);
    EXPECT_EQ(played(audio::SOUND_JIPIE), 1);
    EXPECT_EQ(played(audio::SOUND_AJ), 0);
    EXPECT_EQ(world::run.levelCounter, 0);
    EXPECT_LE(game.now(), 4300u);
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
    ASSERT_TRUE(game.run());
    EXPECT_EQ(persist::readSavegame(), 3);     // rewritten on entering level 4
    EXPECT_EQ(played(audio::SOUND_JIPIE), 2);  // CONTINUE, and "no"
    EXPECT_EQ(played(audio::SOUND_AJ), 1);     // "yes"
    EXPECT_EQ(world::run.levelCounter, 0);
}

TEST(GameFlow, AFinishedLevelGivesItsBonusesAndSavesOnEnteringTheNext) {
    GameHarness game(
        {{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}, {"plan8", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    game.tap(SDLK_RETURN, 500);
    game.tap(SDLK_RETURN, 1000);   // NEW GAME
    game.tap(SDLK_RETURN, 2000);   // past the story
    game.press(SDLK_RIGHT, 5500);  // after the call to run: walk to the door
    game.release(SDLK_RIGHT, 12000);
    game.tap(SDLK_ESCAPE, 20000);  // in level 2
    game.tap(SDLK_LEFT, 25000);
    game.tap(SDLK_ESCAPE, 27000);
    ASSERT_TRUE(game.run());
    EXPECT_EQ(played(audio::SOUND_CHEW), 1);
    EXPECT_EQ(played(audio::SOUND_KLACK), 1);  // the door opened
    EXPECT_EQ(played(audio::SOUND_JIPIE), 2);  // NEW GAME and the level's end
    EXPECT_EQ(played(audio::SOUND_TADA), 1);   // the time bonus passed 100 points
    EXPECT_EQ(persist::readSavegame(), 1);
}

TEST(GameFlow, FirePausesOnlyAfterTheCallToRunAndSuicideCriesTwice) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithDoor()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    game.tap(SDLK_RETURN, 500);
    game.tap(SDLK_RETURN, 1000);
    game.tap(SDLK_RETURN, 2000);
    game.tap(SDLK_SPACE, 3000);   // during the call to run: ignored
    game.tap(SDLK_RETURN, 3500);  // so start has nothing to confirm
    game.tap(SDLK_SPACE, 6000);   // paused on GO ON
    game.tap(SDLK_UP, 6500);      // SUICIDE
    game.tap(SDLK_RETURN, 7000);
    game.tap(SDLK_ESCAPE, 30000);  // in the next life
    game.tap(SDLK_LEFT, 31000);
    game.tap(SDLK_ESCAPE, 33000);
    ASSERT_TRUE(game.run());
    EXPECT_EQ(played(audio::SOUND_KLONK), 1);
    EXPECT_EQ(played(audio::SOUND_AJ), 3);  // two for the suicide, one for the "yes"
    EXPECT_EQ(played(audio::SOUND_JIPIE), 1);
}

TEST(GameFlow, TheLastLifeLeadsToGameOverTheNameEntryAndTheContinueQuestion) {
    GameHarness game({{"plan0", simpleLevel(40)}, {"beginner", levelWithPit()}});
    video::graphicsStyle = video::STYLE_CLASSIC;
    for (persist::HiscoreEntry& entry : persist::hiscores.entries) entry.score = 0;
    game.tap(SDLK_RETURN, 500);
    game.tap(SDLK_RETURN, 1000);
    game.tap(SDLK_RETURN, 2000);
    for (uint32_t t = 5000; t < 52000; t += 500) game.tap(SDLK_RIGHT, t, 400);  // six falls
    game.tap(SDLK_RETURN, 54000);                                               // past "GAME OVER"
    game.tap(SDLK_RETURN, 56000);  // the name entry: "A"
    game.tap(SDLK_RIGHT, 58000);   // "CONTINUE?" no
    game.tap(SDLK_ESCAPE, 60000);
    ASSERT_TRUE(game.run());
    EXPECT_EQ(played(audio::SOUND_CHEW), 6);  // one item in each life
    EXPECT_EQ(persist::hiscores.entries[0].score, 6);
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "A");
    persist::hiscores = {};
    persist::loadHiscores();
    EXPECT_EQ(persist::hiscores.entries[0].score, 6);  // saved at once
    EXPECT_EQ(world::run.levelCounter, 0);
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
    ASSERT_TRUE(game.run());
    EXPECT_EQ(played(audio::SOUND_KLONK), 3);
    EXPECT_EQ(played(audio::SOUND_JIPIE), 0);
    EXPECT_EQ(app::pass.menuSelection, 0);
    EXPECT_LE(game.now(), 4300u);
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
    game.tap(SDLK_ESCAPE, 23000);
    ASSERT_TRUE(game.run());
    EXPECT_EQ(persist::readSavegame(), 15);  // entering level 16 saved; the ending did not
    const int32_t score = persist::hiscores.entries[0].score;
    EXPECT_GT(score, 100);  // the item, the time bonus and six lives
    EXPECT_STREQ(persist::hiscores.entries[0].name.data(), "A");
    EXPECT_EQ(world::run.levelCounter, 0);
}

TEST(GameFlow, TheTestMapEndsTheProgramAtItsOpenDoor) {
    GameHarness game({{"plan0", simpleLevel(40)},
                      {"test", simpleLevel(30, {{9, std::string(20, '.') + "[]"},
                                                {10, std::string(20, '.') + "()"}})}});
    game.press(SDLK_RIGHT, 4000);
    ASSERT_TRUE(game.run(true));
    EXPECT_LE(game.now(), 8000u);
    EXPECT_EQ(world::run.levelCounter, world::kTestMapLevel);
}

}  // namespace
