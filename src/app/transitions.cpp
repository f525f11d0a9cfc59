// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the game moves from screen to screen. A run goes title, story, levels 1 to 16,
// ending; a lost life plays the level again from the last checkpoint with the music going
// on; losing the last life leads to "GAME OVER", the name entry and the offer to continue at
// the same level. Level n of a run plays map levelNames[n] with music (n mod 16) + 2. The
// savegame is written each time a level from 2 to 16 is entered (never for level 1, never
// after "CONTINUE?" following a game over), so the next "CONTINUE" starts at the last level
// entered with a fresh score and six lives. Most screens begin only once start is let go,
// so the press that ended one screen does not also confirm the next.

#include "app/transitions.h"

#include "app/game_loop.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/savegame.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "screens/game_over.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "world/lifetimes.h"

namespace app {

namespace {

constexpr bool kAfterStartRelease = true;
constexpr bool kAtOnce = false;

Screen passScreen() {
    return world::run.levelCounter == world::kTitleLevel ? Screen::Title : Screen::Play;
}

void forgetLeave() {
    platform::input.quitRequested = false;
    platform::actions.leaveRequested = false;
}

// A new run begins on the title: score 0, six lives, the scroller from its start.
void resetRun() {
    world::startRun(world::kTitleLevel);
    video::resetScroller();
}

// The next pass. Fresh (another level or the title): the restart point back at its start and
// the music stopped, to begin anew; otherwise (a life lost) both go on.
void beginPass(bool fresh) {
    if (fresh) {
        world::startLevel();
        stopGameMusic();
    }
    game.restartMusic = fresh;
    go(passScreen(), kAfterStartRelease);
}

void enterLevel() { beginPass(true); }

void returnToTitle() {
    resetRun();
    forgetLeave();
    beginPass(true);
}

void writeSavegame() { game.savedLevel = persist::writeSavegame(world::run.levelCounter); }

// "NEW GAME" or "CONTINUE": the ending for a savegame with every level done, the story
// before level 1, any other level at once.
void beginRun() {
    if (world::run.levelCounter == world::kAllLevelsDone) {
        go(Screen::Ending, kAtOnce);
    } else if (world::run.levelCounter == 1) {
        go(Screen::Story, kAfterStartRelease);
    } else {
        writeSavegame();
        enterLevel();
    }
}

// Leaving the game from the title or the test map: in the deluxe style the "donate" card
// first. Afterwards the head of the next pass sees the leave request and ends the game.
void leaveGame() {
    if (video::graphicsStyle == video::STYLE_DELUXE) {
        stopGameMusic();
        go(Screen::ExitCard, kAtOnce);
    } else {
        go(passScreen(), kAfterStartRelease);
    }
}

void takeTitleChoice() {
    switch (pass.menuSelection) {
    case video::MENU_NEW_GAME:
        world::run.levelCounter = 1;
        beginRun();
        break;
    case video::MENU_CONTINUE:
        world::run.levelCounter = game.savedLevel + 1;
        beginRun();
        break;
    case video::MENU_HISCORES: go(Screen::HiscoreList, kAfterStartRelease); break;
    default:
        platform::actions.leaveRequested = true;
        leaveGame();
        break;
    }
}

// The last life lost: the game-over music, without a fade-in, repeating.
void gameOver() {
    game.gameOverLevel = world::run.levelCounter;
    stopGameMusic();
    playGameMusic(audio::MUSIC_SCENEY, false);
    go(Screen::GameOver, kAfterStartRelease);
}

void loseLife() {
    if (--world::run.lives == 0) gameOver();
    else beginPass(false);
}

void finishLevel() {
    audio::fadeOutMusic();
    go(Screen::Tally, kAtOnce);
}

void endPass() {
    switch (pass.end) {
    case PassEnd::Quit: go(Screen::Ended, kAtOnce); break;
    case PassEnd::Question: go(Screen::QuitQuestion, kAtOnce); break;
    case PassEnd::Leave:
        if (world::run.levelCounter <= world::kTitleLevel) leaveGame();
        else returnToTitle();
        break;
    case PassEnd::Finished:
        if (game.testMode) go(Screen::Ended, kAtOnce);  // the test map ends the program
        else finishLevel();
        break;
    case PassEnd::LifeLost: loseLife(); break;
    case PassEnd::TitleChoice: takeTitleChoice(); break;
    case PassEnd::None: break;
    }
}

void answerQuitQuestion() {
    if (platform::released(platform::INPUT_LEFT)) {
        audio::playSound(audio::SOUND_AJ);  // the leave request stays: the level is left
    } else {
        platform::resetFrameClock();
        forgetLeave();
        audio::playSound(audio::SOUND_JIPIE);
    }
    if (resumeAfterQuestion() == screens::Step::Done) endPass();
}

void nextLevel() {
    ++world::run.levelCounter;
    if (world::run.levelCounter == world::kAllLevelsDone) {
        go(Screen::Ending, kAfterStartRelease);
    } else {
        writeSavegame();
        enterLevel();
    }
}

void answerContinueQuestion() {
    const bool again = screens::continueChosen();
    forgetLeave();
    resetRun();
    if (again) world::run.levelCounter = game.gameOverLevel;  // afresh: no story, no savegame
    enterLevel();
}

}  // namespace

void finishScreen(Screen screen) {
    switch (screen) {
    case Screen::Warning: go(Screen::Credits, kAtOnce); break;
    case Screen::Credits:
        go(platform::input.quitRequested ? Screen::Ended : Screen::StyleChoice, kAtOnce);
        break;
    case Screen::StyleChoice: go(Screen::Ended, kAtOnce); break;
    case Screen::Title:
    case Screen::Play:
    case Screen::Pause: endPass(); break;
    case Screen::QuitQuestion: answerQuitQuestion(); break;
    case Screen::Story:
        if (platform::actions.leaveRequested) returnToTitle();
        else enterLevel();
        break;
    case Screen::Tally: nextLevel(); break;
    case Screen::GameOver:
        game.endingBeforeNames = false;
        go(Screen::NameEntry, kAfterStartRelease);
        break;
    case Screen::NameEntry:
        if (!game.endingBeforeNames) {
            go(Screen::ContinueQuestion, kAtOnce);
            break;
        }
        resetRun();
        enterLevel();
        break;
    case Screen::ContinueQuestion: answerContinueQuestion(); break;
    case Screen::Ending:
        game.endingBeforeNames = true;
        go(Screen::NameEntry, kAtOnce);
        break;
    case Screen::HiscoreList:
        if (platform::actions.leaveRequested) forgetLeave();
        resetRun();
        beginPass(true);
        break;
    case Screen::ExitCard: go(passScreen(), kAfterStartRelease); break;
    case Screen::Ended: break;
    }
}

}  // namespace app
