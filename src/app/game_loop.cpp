// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The level frame. The title and the levels share it, because the title is itself a level
// (level counter 0) that plays by itself behind the menu; the pause menu and the quit
// question are states of the same frame, over a world that stands still.

#include "app/game_loop.h"

#include "app/flow.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/savegame.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"
#include "world/world_step.h"

namespace app {

Game game;
Pass pass;

namespace {

using screens::Step;

constexpr int kHiddenBlinkFrame = 32;  // a frame count on which blinking items are hidden
constexpr int kMessageY = 96;
constexpr int kQuestionY = 128;
constexpr int kQuestionNoteY = 140;

// With the default keys jump and up share a key, so a released jump also counts as up.
bool releasedPrevious() {
    return platform::released(platform::INPUT_UP) || platform::released(platform::INPUT_LEFT) ||
           (platform::released(platform::INPUT_JUMP) &&
            platform::keyBindings.k_jump == platform::keyBindings.k_up);
}

bool releasedNext() {
    return platform::released(platform::INPUT_DOWN) || platform::released(platform::INPUT_RIGHT);
}

// Moves the selection of a menu of entries 1..last on a released direction, wrapping round,
// with a click; false when no direction was released.
bool stepMenu(int last) {
    int& selection = pass.menuSelection;
    if (releasedNext()) selection = selection >= last ? 1 : selection + 1;
    else if (releasedPrevious()) selection = selection <= 1 ? last : selection - 1;
    else return false;
    audio::playSound(audio::SOUND_KLONK);
    return true;
}

audio::MusicId musicOfLevel(int levelCounter) {
    if (levelCounter == world::kTitleLevel) return audio::MUSIC_TURBOCHIP;
    return audio::MusicId(levelCounter % world::kLastLevel + 2);  // the test map's -1 gives 1
}

bool onTitle() { return world::run.levelCounter == world::kTitleLevel; }

// Nothing the player does counts, and nothing moves, during the first 181 frames of a life.
bool callToRun() { return !onTitle() && pass.frame <= video::kIntroFrames; }

video::MenuView menuView() {
    const Screen shown = flow.screen == Screen::QuitQuestion ? pass.questionFrom : flow.screen;
    return {pass.menuSelection, shown == Screen::Pause};
}

// The world of the title stands while start is held on "PRESS START": its effects and
// enemies move, the view and the frame count do not.
void moveTitleActors() {
    world::updateTileEffects();
    world::updateEnemies(world::life.player);
}

// The title menu after the world update; Done when start confirmed an entry.
Step readTitleMenu() {
    const platform::ActionFlags& actions = platform::actions;
    if (pass.startHeldOnPrompt) {
        if (actions.startHeld) {
            moveTitleActors();
        } else {
            pass.startHeldOnPrompt = false;
            pass.menuSelection = game.savedLevel > 0 ? video::MENU_CONTINUE : video::MENU_NEW_GAME;
        }
        return Step::Stay;
    }
    world::stepTitleFrame(world::life.player);
    if (pass.menuSelection == video::MENU_PRESS_START && actions.startHeld) {
        pass.startHeldOnPrompt = true;
        moveTitleActors();
        return Step::Stay;
    }
    if (stepMenu(video::MENU_EXIT) || !actions.startHeld) return Step::Stay;
    if (pass.menuSelection == video::MENU_NEW_GAME || pass.menuSelection == video::MENU_CONTINUE)
        audio::playSound(audio::SOUND_JIPIE);
    else if (pass.menuSelection == video::MENU_EXIT) audio::playSound(audio::SOUND_AJ);
    pass.end = PassEnd::TitleChoice;
    return Step::Done;
}

// The pause menu, each frame while it is open: the world stands still.
void readPauseMenu() {
    if (stepMenu(video::PAUSE_EXIT) || !platform::actions.startHeld) return;
    flow.screen = Screen::Play;
    switch (pass.menuSelection) {
    case video::PAUSE_SUICIDE:
        world::killPlayer(world::life.player, world::kSuicide);
        audio::playSound(audio::SOUND_AJ);  // a second cry over the one of dying
        break;
    case video::PAUSE_GO_ON: audio::playSound(audio::SOUND_JIPIE); break;
    default: platform::actions.leaveRequested = true; break;  // the quit question follows
    }
    pass.menuSelection = 0;
}

// The end of every frame of a pass: the count goes on, a dead player's timer runs down, and
// the pass may be over.
Step endOfFrame() {
    ++pass.frame;
    const world::PlayerState& player = world::life.player;
    if (!player.alive) --world::life.player.idleCounter;
    if (platform::actions.leaveRequested) pass.end = PassEnd::Leave;
    else if (player.alive && player.reachedExit) pass.end = PassEnd::Finished;
    else if (!player.alive && player.idleCounter <= 0 && !onTitle()) pass.end = PassEnd::LifeLost;
    else return Step::Stay;
    return Step::Done;
}

}  // namespace

Step enterPass() {
    if (platform::actions.leaveRequested) {
        pass.end = PassEnd::Quit;
        return Step::Done;
    }
    video::fillRect(video::display.backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                    video::display.colorBlack);
    const world::Arrival arrival = onTitle() ? world::Arrival::Nobody : world::Arrival::Player;
    if (game.testMode && game.levelBytes) {
        if (world::startLife(game.levelBytes, game.levelSize, arrival) != world::LEVEL_OK) {
            pass.end = PassEnd::Quit;
            return Step::Done;
        }
    } else {
        const char* name =
            game.testMode ? nullptr : world::levelNames[size_t(world::run.levelCounter)];
        world::startLifeIn(name, arrival);
    }
    video::placeMoon();
    if (game.restartMusic) playGameMusic(musicOfLevel(world::run.levelCounter), true);
    pass = {};
    platform::resetFrameClock();
    return Step::Stay;
}

screens::Rules levelFrameRules() {
    return {callToRun() ? screens::Poll::Ignored : screens::Poll::Actions, screens::Draw::OnTime,
            screens::Pace::FrameClock};
}

Step tickLevelFrame() {
    if (callToRun()) return Step::Stay;
    world::PlayerState& player = world::life.player;
    if (flow.screen == Screen::Play && player.alive && !player.dying &&
        world::run.levelCounter > 0 && platform::released(platform::INPUT_FIRE)) {
        flow.screen = Screen::Pause;
        pass.menuSelection = video::PAUSE_GO_ON;
    }
    switch (flow.screen) {
    case Screen::Pause: readPauseMenu(); return Step::Stay;
    case Screen::Title: return readTitleMenu();
    default: {
        const platform::ActionFlags& actions = platform::actions;
        world::stepPlayFrame(player, {actions.leftHeld == 1, actions.rightHeld == 1,
                                      actions.jumpHeld == 1, actions.downHeld == 1});
        return Step::Stay;
    }
    }
}

void drawLevelFrame() { video::drawFrame(pass.frame, world::life.player, menuView()); }

Step afterLevelFrame() {
    if (flow.screen == Screen::Title) {
        if (pass.startHeldOnPrompt) return Step::Stay;
        video::advanceScroller();
    } else if (platform::actions.leaveRequested) {
        pass.questionFrom = flow.screen;
        pass.end = PassEnd::Question;
        return Step::Done;
    }
    return endOfFrame();
}

Step enterQuitQuestion() {
    platform::frameClock.skipDraw = false;
    video::drawFrame(kHiddenBlinkFrame, world::life.player, menuView());
    video::drawVeil();
    video::drawTextCentered("SURE TO QUIT?", kMessageY, video::bigFont);
    video::drawTextCentered("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", kQuestionY, video::smallFont);
    video::drawTextCentered("ANY POSSIBLE HISCORE ENTRY WILL BE LOST", kQuestionNoteY,
                            video::smallFont);
    video::presentFrame();
    return afterQuitQuestion();
}

// The picture stands while the question waits; escape or a window close change nothing.
screens::Rules quitQuestionRules() {
    return {screens::Poll::Events, screens::Draw::Never, screens::Pace::Wait100};
}

Step afterQuitQuestion() {
    return platform::released(platform::INPUT_LEFT) || platform::released(platform::INPUT_RIGHT)
               ? Step::Done
               : Step::Stay;
}

Step resumeAfterQuestion() {
    flow.screen = pass.questionFrom;
    return endOfFrame();
}

void playGameMusic(int id, bool fadeIn) {
    game.music = audio::loadMusic(audio::MusicId(id));
    game.musicId = id;
    if (fadeIn) audio::startMusicFadeIn(game.music, audio::kPlayForever);
    else audio::startMusic(game.music, audio::kPlayForever);
}

void stopGameMusic() {
    audio::stopMusic(game.music);
    game.music = nullptr;
    game.musicId = -1;
}

void beginGame(bool testMode) {
    video::resetScroller();
    video::loadTileSet();
    audio::loadSounds();
    endGame();  // a game begun over one not ended lets go of its music
    game = {};
    game.testMode = testMode;
    world::startRun(testMode ? world::kTestMapLevel : world::kTitleLevel);
    if (!testMode) game.savedLevel = persist::readSavegame();
    world::startLevel();
    flow = {};
    go(onTitle() ? Screen::Title : Screen::Play, false);
}

world::LevelFault beginGameOn(const uint8_t* bytes, size_t size, int32_t restartX,
                              int32_t restartY) {
    video::resetScroller();
    endGame();
    game = {};
    game.testMode = true;
    world::startRun(world::kTestMapLevel);
    world::startLevel();
    world::level.restartX = restartX;
    world::level.restartY = restartY;
    // A look before the pass head starts the same life again.
    const world::LevelFault fault = world::startLife(bytes, size, world::Arrival::Player);
    if (fault != world::LEVEL_OK) return fault;
    game.levelBytes = bytes;
    game.levelSize = size;
    flow = {};
    go(Screen::Play, false);
    return world::LEVEL_OK;
}

void endGame() { stopGameMusic(); }

void runGameLoop(bool testMode) {
    beginGame(testMode);
    runUntilEnded();
    endGame();
}

}  // namespace app
