// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game in a real window, driven by synthetic keys: the screens from the warning to the
// closing picture, what is written at exit, and the fatal errors a player can meet.

#include "archive/archive.h"
#include "video/display.h"
#include "video/graphics.h"
#include "window_fixture.h"
#include "zda_writer.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using test_support::readFile;
using test_support::writeFile;
using test_support::writeText;

namespace e2e {

namespace {

constexpr bool kBig = true;
constexpr bool kSmall = false;
constexpr int kTitleTop = 40;  // the blinking title of the warning and credits screens
constexpr int kTitleBottom = 56;

// Ten hiscores of players; the game must show them as they are and never rewrite them.
struct Score {
    const char* name;
    int points;
};
constexpr std::array<Score, 10> kScores = {{{"ALICE", 9000},
                                            {"BORIS", 8100},
                                            {"CLARA", 7200},
                                            {"DMITRI", 6300},
                                            {"EDDA", 5400},
                                            {"FRANZ", 4500},
                                            {"GRETA", 3600},
                                            {"HUGO", 2700},
                                            {"IRMA", 1800},
                                            {"JUSTUS", 909}}};

// hiscores.dat: ten 16-byte entries (name, kind 0 for a player, score), through the XOR chain.
std::vector<uint8_t> hiscoreFile() {
    std::vector<uint8_t> plain;
    for (const Score& score : kScores) {
        std::array<uint8_t, 16> entry{};
        std::snprintf(reinterpret_cast<char*>(entry.data()), 9, "%s", score.name);
        for (int i = 0; i < 4; ++i) entry[size_t(12 + i)] = uint8_t(score.points >> (8 * i));
        plain.insert(plain.end(), entry.begin(), entry.end());
    }
    std::vector<uint8_t> stored(plain.size());
    uint8_t chain = 0x5E;
    for (size_t i = 0; i < plain.size(); ++i) stored[i] = chain = uint8_t(chain ^ plain[i]);
    return stored;
}

// The hiscore list as the title shows it, drawn by the game's own text routine.
Drawing hiscoreList() {
    std::vector<Drawing> rows{textCentred("HISCORES", 16, kBig)};
    for (size_t i = 0; i < kScores.size(); ++i) {
        char points[8];
        std::snprintf(points, sizeof points, "%05d", kScores[i].points);
        const int y = 48 + 18 * int(i);
        rows.push_back(textAt(kScores[i].name, 48, y, kBig));
        rows.push_back(textAt(points, 192, y, kBig));
    }
    return allOf(rows);
}

Drawing storyScreen() {
    return allOf({[] {
                      video::fillRect(video::display.backBuffer, 0, 0, 320, 240,
                                      video::display.colorBlack);
                  },
                  textCentred("TROLK WANDERED", 40, kBig), textCentred("AROUND AND LOST", 60, kBig),
                  textCentred("ALL HIS ITEMS.", 80, kBig), textCentred("GET THEM BACK", 100, kBig),
                  textCentred("AND BEWARE THE", 120, kBig), textCentred("CREATURES OF", 140, kBig),
                  textCentred("THE NIGHT", 160, kBig), textCentred("GOOD LUCK!", 200, kBig)});
}

// The bottom row of the HUD at the start of level 1: the hero, "X", the lives, the score and
// the level number "00".
Drawing hudRow(int lives) {
    return allOf({[] { video::blitAt(video::tileImages[24], 16, 220); }, textAt("X", 40, 220, kBig),
                  hudNumber(lives, 64, 2), hudNumber(0, 124, 4), hudNumber(0, 276, 2)});
}

class GameFlow : public WindowTest {
  protected:
    // The warning, credits and style-choice screens, each checked; right picks the deluxe
    // style and the game goes on to the title.
    void passFrontScreens() {
        Expected warning = expect(warningScreen());
        warning.ignoreRows(kTitleTop, kTitleBottom);
        Expected credits = expect(creditsScreen());
        credits.ignoreRows(kTitleTop, kTitleBottom);
        const Expected style = expect(styleChoiceScreen());

        ASSERT_TRUE(shows(warning, Presentation::Plain, "the warning screen"));
        ASSERT_TRUE(pressUntil("Up", Press::Tap, showing(credits, Presentation::Plain),
                               "the credits screen"));
        ASSERT_TRUE(
            pressUntil("Up", Press::Tap, showing(style, Presentation::Plain), "the style choice"));
        window().tap("Right");
    }
};

// The four items of the title menu and the three of the pause menu, in their places.
constexpr std::array<const char*, 4> kTitleItems = {"NEW GAME", "CONTINUE", "HISCORES", "EXIT"};
constexpr std::array<const char*, 3> kPauseItems = {"SUICIDE", "GO ON", "EXIT"};
constexpr int kTitleMenuTop = 124;
constexpr int kPauseMenuTop = 124;
constexpr int kMenuStep = 18;

// A menu with one item left out: what stays while the selected item blinks.
template <size_t N>
Drawing menuWithout(const std::array<const char*, N>& items, int top, size_t left) {
    std::vector<Drawing> drawn;
    for (size_t i = 0; i < N; ++i)
        if (i != left) drawn.push_back(textCentred(items[i], top + kMenuStep * int(i), kBig));
    return allOf(drawn);
}

}  // namespace

TEST_F(GameFlow, PlaysFromTheWarningToTheClosingPicture) {
    linkBuiltData();
    writeFile(workDir() / "hiscores.dat", hiscoreFile());
    const std::vector<uint8_t> hiscoresBefore = readFile(workDir() / "hiscores.dat");

    const auto plain = Presentation::Plain;
    const Expected pressStart = expect(textCentred("PRESS START", 128, kBig));
    const Expected version = expect(textCentred("TROLK V0.9.9", 216, kBig));
    std::array<Expected, 4> titleItem, titleMenuOn;
    for (size_t i = 0; i < 4; ++i) {
        titleItem[i] =
            expect(textCentred(kTitleItems[i], kTitleMenuTop + kMenuStep * int(i), kBig));
        titleMenuOn[i] = expect(menuWithout(kTitleItems, kTitleMenuTop, i));
    }
    const Expected story = expect(storyScreen());
    const Expected levelStart = expect(allOf({textCentred("TROLK, RUN!", 96, kBig), hudRow(6)}));
    const Expected suicideItem = expect(textCentred("SUICIDE", kPauseMenuTop, kBig));
    const Expected goOnItem = expect(textCentred("GO ON", kPauseMenuTop + kMenuStep, kBig));
    const Expected pauseOnSuicide = expect(
        allOf({textCentred("-PAUSE-", 96, kBig), menuWithout(kPauseItems, kPauseMenuTop, 0)}));
    const Expected pauseOnGoOn = expect(
        allOf({textCentred("-PAUSE-", 96, kBig), menuWithout(kPauseItems, kPauseMenuTop, 1)}));
    const Expected suicideMessage = expect(textCentred("SUICIDE", 96, kBig));
    const Expected nextLife = expect(allOf({textCentred("TROLK, RUN!", 96, kBig), hudRow(5)}));
    const Expected question =
        expect(allOf({textCentred("SURE TO QUIT?", 96, kBig),
                      textCentred("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", 128, kSmall),
                      textCentred("ANY POSSIBLE HISCORE ENTRY WILL BE LOST", 140, kSmall)}));
    const Expected hiscores = expect(hiscoreList());
    const Expected donate = expect(donatePicture());

    ASSERT_TRUE(startGame({"-w"}));
    ASSERT_NO_FATAL_FAILURE(passFrontScreens());

    // The title: start opens the menu on "NEW GAME" (there is no savegame).
    ASSERT_TRUE(shows(pressStart, plain, "PRESS START"));
    ASSERT_TRUE(shows(version, plain, "the version line"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, selected(titleMenuOn[0], titleItem[0], plain),
                           "the title menu on NEW GAME"));

    // A new game: the story, then level 1 with six lives.
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(story, plain), "the story"));
    ASSERT_TRUE(
        pressUntil("Return", Press::Hold, showing(levelStart, plain), "the start of level 1"));

    // Fire opens the pause menu on "GO ON" once the first 181 frames are over; up selects
    // "SUICIDE", which costs a life.
    std::this_thread::sleep_for(Milliseconds(3200));
    ASSERT_TRUE(pressUntil("space", Press::Tap, selected(pauseOnGoOn, goOnItem, plain),
                           "the pause menu on GO ON"));
    ASSERT_TRUE(pressUntil("Up", Press::Tap, selected(pauseOnSuicide, suicideItem, plain),
                           "the pause menu on SUICIDE"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(suicideMessage, plain),
                           "the death message SUICIDE"));
    ASSERT_TRUE(shows(nextLife, plain, "the next life with five lives", 12000));

    // Escape asks; right goes on playing, left goes back to the title.
    ASSERT_TRUE(pressUntil("Escape", Press::Tap, showing(question, plain), "the quit question"));
    ASSERT_TRUE(
        pressUntil("Right", Press::Tap, missing(question, plain), "the game again after no"));
    ASSERT_TRUE(
        pressUntil("Escape", Press::Tap, showing(question, plain), "the quit question again"));
    ASSERT_TRUE(
        pressUntil("Left", Press::Tap, showing(pressStart, plain), "PRESS START after yes"));

    // Three downs select "HISCORES"; the list shows the players of the file.
    for (size_t i = 0; i < 3; ++i)
        ASSERT_TRUE(pressUntil("Down", Press::Tap, selected(titleMenuOn[i], titleItem[i], plain),
                               std::string("the title menu on ") + kTitleItems[i]));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(hiscores, plain), "the hiscore list"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(pressStart, plain),
                           "PRESS START after the hiscores"));

    // Up on "PRESS START" selects "EXIT"; the deluxe style shows its closing card, which
    // start ends after two seconds.
    ASSERT_TRUE(pressUntil("Up", Press::Tap, selected(titleMenuOn[3], titleItem[3], plain),
                           "the title menu on EXIT"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(donate, plain), "the closing picture"));
    std::this_thread::sleep_for(Milliseconds(2200));
    window().tap("Return");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(window().output(), "");

    // Settings written back with every default, hiscores untouched, no savegame for level 1.
    const std::vector<uint8_t> settings = readFile(workDir() / "trolk.cfg");
    EXPECT_EQ(std::string(settings.begin(), settings.end()), kDefaultSettingsFile);
    EXPECT_EQ(readFile(workDir() / "hiscores.dat"), hiscoresBefore);
    EXPECT_FALSE(fs::exists(workDir() / "savegame.dat"));
}

TEST_F(GameFlow, EscapeOnTheWarningScreenLeavesTheSettingsFileAlone) {
    linkBuiltData();
    const std::string mine = "# my keys\nk_fire=x\nvolume=50\n";
    writeText(workDir() / "trolk.cfg", mine);
    Expected warning = expect(warningScreen());
    warning.ignoreRows(kTitleTop, kTitleBottom);

    ASSERT_TRUE(startGame({"-w"}));
    ASSERT_TRUE(shows(warning, Presentation::Plain, "the warning screen"));
    window().tap("Escape");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(window().output(), "");
    EXPECT_EQ(readFile(workDir() / "trolk.cfg"), test_support::bytesOf(mine));
    EXPECT_FALSE(fs::exists(workDir() / "hiscores.dat"));
}

// `cmake --install` into a scratch prefix; the installed launcher, started from a fresh home,
// makes the player's folder, links the installed data and plays there in a real window.
TEST_F(GameFlow, InstalledLauncherPlaysInThePlayersOwnFolder) {
    linkBuiltData();  // for the expected pictures
    const fs::path prefix = workDir() / "prefix";
    const fs::path home = workDir() / "home";
    fs::create_directories(home);
    const CommandResult install =
        runCommand({TROLK_CMAKE, "--install", TROLK_BUILT_DIR, "--prefix", prefix.string()}, {},
                   Milliseconds(120000));
    ASSERT_EQ(install.status, 0) << install.output;
    const Expected pressStart = expect(textCentred("PRESS START", 128, kBig));
    const Expected donate = expect(donatePicture());

    ASSERT_TRUE(startGame({"-w"}, prefix / "bin/trolk", {{"HOME", home}, {"XDG_DATA_HOME", ""}}));
    ASSERT_NO_FATAL_FAILURE(passFrontScreens());
    ASSERT_TRUE(shows(pressStart, Presentation::Plain, "PRESS START"));
    window().tap("Escape");
    ASSERT_TRUE(shows(donate, Presentation::Plain, "the closing picture"));
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(window().output(), "");

    const fs::path player = home / ".local/share/trolk";
    const fs::path shared = prefix / "share/games/trolk";
    EXPECT_TRUE(fs::is_symlink(player / "data"));
    EXPECT_TRUE(fs::is_symlink(player / "maps"));
    EXPECT_EQ(fs::canonical(player / "data"), fs::canonical(shared / "data"));
    EXPECT_EQ(fs::canonical(player / "maps"), fs::canonical(shared / "maps"));
    const std::vector<uint8_t> settings = readFile(player / "trolk.cfg");
    EXPECT_EQ(std::string(settings.begin(), settings.end()), kDefaultSettingsFile);
    EXPECT_EQ(fs::file_size(player / "hiscores.dat"), 160u);
    // Nothing lands where the game was started from, nor beside the installed data.
    EXPECT_FALSE(fs::exists(workDir() / "trolk.cfg"));
    EXPECT_FALSE(fs::exists(shared / "trolk.cfg"));
    EXPECT_FALSE(fs::exists(shared / "hiscores.dat"));
}

namespace {

// The entries of a built archive, as the game reads them.
std::vector<zda::ListedEntry> entriesOf(const std::vector<uint8_t>& archive) {
    std::vector<zda::ListedEntry> entries;
    std::string error;
    EXPECT_TRUE(zda::readDirectory(archive, entries, error)) << error;
    return entries;
}

void linkBuilt(const fs::path& workDir, const std::vector<std::string>& archives) {
    fs::create_directories(workDir / "data");
    for (const std::string& name : archives)
        fs::create_symlink(test_support::buildDirectory() / "data" / name, workDir / "data" / name);
}

}  // namespace

// A fatal error ends the game at once, without freeing what it holds: under the sanitizers
// these runs go without the leak check.

TEST_F(GameFlow, EndsWithOneLineWhenTheDataFolderIsMissing) {
    launchGame({"-w"}, TROLK_PROGRAM, withoutLeakCheck());
    EXPECT_EQ(exitStatus(), 1);
    EXPECT_EQ(window().output(), "Error loading gfx file: font\n");
}

TEST_F(GameFlow, EndsWithOneLineWhenTheSoundArchiveIsDamaged) {
    linkBuilt(workDir(), {"gfx.zda", "music.zda", "maps.zda"});
    // Every packed stream of the sound archive gets garbled; its directory stays sound.
    std::vector<uint8_t> sounds = readFile(test_support::buildDirectory() / "data/sound.zda");
    for (const zda::ListedEntry& entry : entriesOf(sounds))
        for (int32_t i = 0; i < entry.packedSize; ++i) sounds[size_t(entry.fileOffset + i)] ^= 0xA5;
    writeFile(workDir() / "data/sound.zda", sounds);

    ASSERT_TRUE(startGame({"-w"}, TROLK_PROGRAM, withoutLeakCheck()));
    ASSERT_NO_FATAL_FAILURE(passFrontScreens());
    EXPECT_EQ(exitStatus(), 1);
    EXPECT_EQ(window().output(), "Can't load sound file: klonk\n");
}

TEST_F(GameFlow, EndsWithOneLineWhenTheFirstLevelIsMissing) {
    linkBuilt(workDir(), {"gfx.zda", "music.zda", "sound.zda"});
    // A maps archive with the title level alone.
    const std::vector<uint8_t> maps = readFile(test_support::buildDirectory() / "data/maps.zda");
    std::vector<zda::PackEntry> kept;
    for (const zda::ListedEntry& entry : entriesOf(maps)) {
        if (entry.name != "plan0.bin") continue;
        const archive::ResourceBuffer title = archive::inflateEntry(
            &maps[size_t(entry.fileOffset)], entry.packedSize, entry.unpackedSize);
        ASSERT_TRUE(title);
        kept.push_back(
            {entry.name, std::vector<uint8_t>(title.bytes.get(), title.bytes.get() + title.size)});
    }
    ASSERT_EQ(kept.size(), 1u);
    test_support::writeArchive(workDir() / "data/maps.zda", kept);
    const Expected pressStart = expect(textCentred("PRESS START", 128, kBig));
    const Expected newGame = expect(textCentred("NEW GAME", kTitleMenuTop, kBig));
    const Expected belowNewGame = expect(menuWithout(kTitleItems, kTitleMenuTop, 0));
    const Expected story = expect(storyScreen());
    const auto plain = Presentation::Plain;

    ASSERT_TRUE(startGame({"-w"}, TROLK_PROGRAM, withoutLeakCheck()));
    ASSERT_NO_FATAL_FAILURE(passFrontScreens());
    ASSERT_TRUE(shows(pressStart, plain, "PRESS START"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, selected(belowNewGame, newGame, plain),
                           "the title menu on NEW GAME"));
    ASSERT_TRUE(pressUntil("Return", Press::Hold, showing(story, plain), "the story"));
    window().hold("Return");
    EXPECT_EQ(exitStatus(), 1);
    EXPECT_EQ(window().output(), "Can't load file: beginner\n");
}

}  // namespace e2e
