// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The game itself, once start-up is done: the title (a level that plays by itself behind its
// menu) and the levels with their pause menu and quit question, all one level frame. A pass
// is one life in one level, or the title: its head starts the life, then it runs frames
//   1. input: in a level nothing the player does counts during frames 0..180; afterwards a
//      released fire opens the pause menu;
//   2. the world moves (effects, enemies, player), or the pause menu reads the input, or on
//      the title the view moves on by itself and the title menu reads the input;
//   3. the picture is drawn, shown and paced;
//   4. a leave request in a level opens the quit question; the title advances its
//      scroller; then the next frame's count, a dead player's death timer, and the end of
//      the pass: a leave request, a finished level, a death whose timer ran out.
// Menus act when a control is let go; start confirms while held.

#include <libmodplug/modplug.h>

#include <cstddef>
#include <cstdint>

#include "app/flow.h"
#include "screens/screen.h"
#include "world/level.h"

namespace app {

// Why a pass (or the frame of a pass) is over.
enum class PassEnd {
    None,
    Quit,         // a leave request met the head of a pass: the game ends
    Leave,        // the quit question was answered with yes, or the title was left
    Question,     // escape or "EXIT" in a level: "SURE TO QUIT?"
    Finished,     // the player went through the open door
    LifeLost,     // the death timer ran out
    TitleChoice,  // start confirmed an entry of the title menu
};

// Kept by the game from pass to pass.
struct Game {
    bool testMode = false;           // every pass plays the test map
    int savedLevel = 0;              // finished levels stored in the savegame, 0 when none
    ModPlugFile* music = nullptr;    // the module the game loaded, or none
    int musicId = -1;                // its number (audio::MusicId), -1 for none
    bool restartMusic = true;        // the next pass starts its level's music afresh
    int gameOverLevel = 0;           // the level a "yes" to "CONTINUE?" plays again
    bool endingBeforeNames = false;  // the name entry follows the ending, not "GAME OVER"
    // A level held in memory that the test mode plays in place of maps/test.bin (the level
    // editor's level); its owner keeps the bytes for as long as the game runs. Null: none.
    const uint8_t* levelBytes = nullptr;
    size_t levelSize = 0;
};

// One pass: a life in a level, or the title.
struct Pass {
    int frame = 0;                       // frames of the pass; drives animation and blinking
    int menuSelection = 0;               // title: video::MenuEntry; pause menu: video::PauseEntry
    bool startHeldOnPrompt = false;      // start held on "PRESS START": the title stands
    Screen questionFrom = Screen::Play;  // where "SURE TO QUIT?" returns to
    PassEnd end = PassEnd::None;
};

extern Game game;
extern Pass pass;

// Runs the game until the player leaves it: beginGame, the flow until it ends, endGame.
void runGameLoop(bool testMode);
// The set-up of the game (tile set, sounds, a new run, the savegame) and its first pass.
void beginGame(bool testMode);
// The test mode on level bytes held in memory instead of maps/test.bin, for the level
// editor: a new run and level whose first life starts from (restartX, restartY), as if a
// checkpoint there had been touched. The tile set and sounds must be loaded already. When
// the bytes are no playable level from there, nothing starts and the fault is returned.
// A later life whose restart point has no ground ends the game instead of the program.
[[nodiscard]] world::LevelFault beginGameOn(const uint8_t* bytes, size_t size, int32_t restartX,
                                            int32_t restartY);
// The game is over: its music stops.
void endGame();
// Loads module `id` and plays it for ever, with a fade-in or at once.
void playGameMusic(int id, bool fadeIn);
// Stops the music the game loaded, if any.
void stopGameMusic();

// The head of a pass (Screen::Title or Screen::Play): the level loaded afresh, the player
// placed (or, on the title, none), the music started when it is to restart. Done, with
// PassEnd::Quit, when the player asked to leave meanwhile, or when a level held in memory
// has no ground below the restart point.
screens::Step enterPass();
screens::Rules levelFrameRules();
screens::Step tickLevelFrame();
void drawLevelFrame();
screens::Step afterLevelFrame();
// "SURE TO QUIT?" over the frozen world: drawn once; left answers yes, right no.
screens::Step enterQuitQuestion();
screens::Rules quitQuestionRules();
screens::Step afterQuitQuestion();
// The rest of the frame that opened the quit question, once it is answered.
screens::Step resumeAfterQuestion();

}  // namespace app
