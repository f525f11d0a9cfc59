// One pass: load the level afresh, place the player (or, on the title, none), start the
// music when it is to restart, then run frames. One frame:
//   1. a dead player's death timer runs down;
//   2. a leave request ends the title or the test map (exit sequence) or a level (back to
//      the title); a finished level or a death whose timer ran out ends the pass;
//   3. input: in a level nothing the player does counts during frames 0..180; afterwards a
//      released fire opens the pause menu;
//   4./5. the world moves (effects, enemies, player), or the pause menu reads the input, or
//      on the title the view moves on by itself and the title menu reads the input;
//   6. the picture is drawn, shown and paced;
//   7. a leave request in a level opens the quit question; the title advances its scroller.
// Menus act when a control is let go; start confirms while held.

#include "app/game_loop.h"

#include <cstdio>
#include <cstdlib>

#include "platform/fatal.h"
#include "platform/frame_clock.h"
#include "app/game_state.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "app/run_progression.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/config.h"
#include "persist/hiscores.h"
#include "persist/savegame.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"
#include "world/effects.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/score.h"
#include "world/world_step.h"

namespace app {

PlayLoop loop;

namespace {

constexpr int kHiddenBlinkFrame = 32;  // a frame count on which blinking items are hidden
constexpr int kExitShortestFrames = 120;
constexpr int kExitLastFrame = 479;
constexpr int kMessageY = 96;
constexpr int kQuestionY = 128;
constexpr int kQuestionNoteY = 140;
constexpr int kHiscoreTitleY = 16;
constexpr int kHiscoreTopY = 48;
constexpr int kHiscoreRowStep = 18;
constexpr int kHiscoreNameX = 48;
constexpr int kHiscoreScoreX = 192;
constexpr int kTitleMenuLast = MENU_EXIT;
constexpr int kPauseMenuLast = PAUSE_EXIT;

bool released(platform::InputBit bit) { return platform::input.released == int(bit); }

// With the default keys jump and up share a key, so a released jump also counts as up.
bool releasedPrevious() {
    return released(platform::INPUT_UP) || released(platform::INPUT_LEFT) ||
           (released(platform::INPUT_JUMP) && platform::keyBindings.k_jump == platform::keyBindings.k_up);
}

bool releasedNext() { return released(platform::INPUT_DOWN) || released(platform::INPUT_RIGHT); }

// Moves the selection of a menu of entries 1..last on a released direction, wrapping round,
// with a click; false when no direction was released.
bool stepMenu(int last) {
    if (releasedNext())
        game.menuSelection = game.menuSelection >= last ? 1 : game.menuSelection + 1;
    else if (releasedPrevious())
        game.menuSelection = game.menuSelection <= 1 ? last : game.menuSelection - 1;
    else return false;
    audio::playSound(audio::SOUND_KLONK);
    return true;
}

audio::MusicId musicOfLevel(int levelCounter) {
    if (levelCounter == world::kTitleLevel) return audio::MUSIC_TURBOCHIP;
    return audio::MusicId(levelCounter % world::kLastLevel + 2);  // the test map's -1 gives 1
}

const char* currentLevelName() {
    return loop.testMode ? nullptr : world::levelNames[size_t(world::run.levelCounter)];
}

void clearScreen() {
    video::fillRect(video::backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                    video::colorBlack);
}

// The head of a pass: a fresh grid, the player placed, the music started when it changed.
void startPass() {
    clearScreen();
    const bool title = world::run.levelCounter == world::kTitleLevel;
    world::startLifeIn(currentLevelName(), title ? world::Arrival::Nobody : world::Arrival::Player);

    const int moonRange =
        (world::levelMap.width * world::kTileSize - (video::moonImage ? video::moonImage->w : 0)) /
        2;
    game.moonX = moonRange > 0 ? std::rand() % moonRange : 0;


    if (loop.restartMusic) {
        loop.music = audio::loadMusic(musicOfLevel(world::run.levelCounter));
        audio::startMusicFadeIn(loop.music, audio::kPlayForever);
    }
    game.paused = false;
    platform::resetFrameClock();
    loop.frame = 0;
}

void stopLoopMusic() {
    audio::stopMusic(loop.music);
    loop.music = nullptr;
}

// The closing picture: in the deluxe style the "donate" card stands over the world for at
// least 2 and at most 8 seconds. Afterwards the pass head sees the leave request.
void runExitSequence() {
    if (video::graphicsStyle == video::STYLE_DELUXE) {
        stopLoopMusic();
        platform::input.quitRequested = false;
        game.menuSelection = 0;
        platform::resetFrameClock();
        for (int i = 0;; ++i) {
            platform::updateActionFlags();
            world::updateTileEffects();
            world::updateEnemies(world::life.player);
            video::drawFrame(kHiddenBlinkFrame, world::life.player, false);
            if (!platform::frameClock.skipDraw) {
                video::blitAt(video::donateImage, 0, 0);
                video::presentFrame();
            }
            platform::paceFrame();
            if (i >= kExitShortestFrames &&
                (released(platform::INPUT_START) || platform::input.quitRequested || i >= kExitLastFrame))
                break;
        }
    }
    platform::waitForStartRelease();
}

// The hiscore table over the title level, which keeps scrolling with its enemies frozen.
void showHiscoreList() {
    platform::waitForStartRelease();
    game.menuSelection = MENU_HISCORE_LIST;
    platform::resetFrameClock();
    while (!platform::actions.startHeld && !platform::actions.leaveRequested) {
        platform::updateActionFlags();
        world::scrollView(1);
        video::drawFrame(loop.frame, world::life.player, false);
        if (!platform::frameClock.skipDraw) {
            video::drawVeil();
            video::drawTextCentered("HISCORES", kHiscoreTitleY, video::bigFont);
            for (int k = 0; k < persist::kHiscoreCount; ++k) {
                const persist::HiscoreEntry& entry = persist::hiscores.entries[size_t(k)];
                const int y = kHiscoreTopY + kHiscoreRowStep * k;
                char score[16];
                std::snprintf(score, sizeof score, "%05d", entry.score);
                video::drawText(entry.name.data(), kHiscoreNameX, y, video::bigFont);
                video::drawText(score, kHiscoreScoreX, y, video::bigFont);
            }
            video::presentFrame();
        }
        platform::paceFrame();
    }
    if (platform::actions.leaveRequested) {
        platform::input.quitRequested = false;
        platform::actions.leaveRequested = false;
    }
    resetRun();
    beginPass(true);
}

// The title menu's choice at the end of the title pass.
void takeTitleChoice() {
    switch (game.menuSelection) {
    case MENU_NEW_GAME:
        world::run.levelCounter = 1;
        startRun();
        break;
    case MENU_CONTINUE:
        world::run.levelCounter = game.savedLevel + 1;
        startRun();
        break;
    case MENU_HISCORES: showHiscoreList(); break;
    default:
        platform::actions.leaveRequested = true;
        runExitSequence();
        break;
    }
}

// Title menu input after the world update; true when start confirmed an entry.
bool readTitleMenu() {
    if (game.menuSelection == MENU_PRESS_START && platform::actions.startHeld) {
        // Until start is let go the title stands: its world moves, the view and the frame
        // count do not.
        while (platform::actions.startHeld) {
            world::updateTileEffects();
            world::updateEnemies(world::life.player);
            video::drawFrame(loop.frame, world::life.player, true);
            platform::updateActionFlags();
        }
        game.menuSelection = game.savedLevel > 0 ? MENU_CONTINUE : MENU_NEW_GAME;
        return false;
    }
    if (stepMenu(kTitleMenuLast) || !platform::actions.startHeld) return false;
    if (game.menuSelection == MENU_NEW_GAME || game.menuSelection == MENU_CONTINUE)
        audio::playSound(audio::SOUND_JIPIE);
    else if (game.menuSelection == MENU_EXIT) audio::playSound(audio::SOUND_AJ);
    return true;
}

// Pause menu input, each frame while paused: the world stands still.
void readPauseMenu() {
    if (stepMenu(kPauseMenuLast) || !platform::actions.startHeld) return;
    game.paused = false;
    switch (game.menuSelection) {
    case PAUSE_SUICIDE:
        world::killPlayer(world::life.player, world::kSuicide);
        audio::playSound(audio::SOUND_AJ);
        break;
    case PAUSE_GO_ON: audio::playSound(audio::SOUND_JIPIE); break;
    default: platform::actions.leaveRequested = true; break;
    }
    game.menuSelection = 0;
}

// "SURE TO QUIT?" over the frozen world; the picture is not redrawn while it waits, and
// escape or a window close change nothing meanwhile.
void askToQuit() {
    platform::frameClock.skipDraw = false;
    video::drawFrame(kHiddenBlinkFrame, world::life.player, false);
    video::drawVeil();
    video::drawTextCentered("SURE TO QUIT?", kMessageY, video::bigFont);
    video::drawTextCentered("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", kQuestionY, video::smallFont);
    video::drawTextCentered("ANY POSSIBLE HISCORE ENTRY WILL BE LOST", kQuestionNoteY,
                            video::smallFont);
    video::presentFrame();
    while (!released(platform::INPUT_LEFT) && !released(platform::INPUT_RIGHT)) {
        platform::pollInput();
        platform::waitMilliseconds(platform::kReleasePollMs);
    }
    if (released(platform::INPUT_LEFT)) {
        audio::playSound(audio::SOUND_AJ);  // the next frame leaves the level
        return;
    }
    platform::resetFrameClock();
    platform::input.quitRequested = false;
    platform::actions.leaveRequested = false;
    audio::playSound(audio::SOUND_JIPIE);
}

// Runs the frames of a pass and what comes at its end; false when the game is over.
bool runPassFrames() {
    world::PlayerState& player = world::life.player;
    const bool title = world::run.levelCounter == world::kTitleLevel;
    for (;; ++loop.frame) {
        const int n = loop.frame;
        if (!player.alive) --player.idleCounter;

        if (platform::actions.leaveRequested) {
            if (world::run.levelCounter <= world::kTitleLevel) runExitSequence();
            else returnToTitle();
            return true;
        }
        const bool finished = player.alive && player.reachedExit;
        if (finished || (!player.alive && player.idleCounter <= 0 && !title)) {
            if (finished && loop.testMode) return false;
            if (finished) finishLevel();
            else loseLife();
            return true;
        }

        const bool frozen = !title && n <= video::kIntroFrames;
        if (frozen) {
            platform::pollInput();
            platform::input.held = 0;
            platform::input.released = 0;
        } else {
            platform::updateActionFlags();
            if (player.alive && !player.dying && world::run.levelCounter > 0 && released(platform::INPUT_FIRE) &&
                !game.paused) {
                game.paused = true;
                game.menuSelection = PAUSE_GO_ON;
            }
        }

        if (frozen) {
            // nothing moves during the call to run
        } else if (game.paused) {
            readPauseMenu();
        } else if (title) {
            world::stepTitleFrame(player);
            if (readTitleMenu()) {
                takeTitleChoice();
                return true;
            }
        } else {
            world::stepPlayFrame(player, {platform::actions.leftHeld == 1, platform::actions.rightHeld == 1,
                                          platform::actions.jumpHeld == 1, platform::actions.downHeld == 1});
        }

        video::drawFrame(n, player, true);
        if (title) video::advanceScroller();
        else if (platform::actions.leaveRequested) askToQuit();
    }
}

}  // namespace

void resetRun() {
    world::startRun(world::kTitleLevel);
    world::life.deathMessage = {};
    game.menuSelection = 0;
    video::resetScroller();
}

void returnToTitle() {
    resetRun();
    platform::input.quitRequested = false;
    platform::actions.leaveRequested = false;
    beginPass(true);
}

void beginPass(bool fresh) {
    if (fresh) {
        world::startLevel();
        stopLoopMusic();
    }
    loop.restartMusic = fresh;
    platform::waitForStartRelease();
}

void runGameLoop(bool testMode) {
    video::resetScroller();
    video::loadTileSet();
    audio::loadSounds();
    resetRun();
    game.paused = false;
    game.savedLevel = 0;
    loop = {};
    loop.testMode = testMode;
    if (testMode) world::run.levelCounter = world::kTestMapLevel;
    else game.savedLevel = persist::readSavegame();
    world::startLevel();

    for (;;) {
        if (platform::actions.leaveRequested) break;
        startPass();
        if (!runPassFrames()) break;
    }
    stopLoopMusic();
}

}  // namespace app
