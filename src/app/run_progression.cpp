// Between the passes of a run. Level n of a run plays map levelNames[n] with music
// (n mod 16) + 2. The savegame is written each time a level from 2 to 16 is entered (never
// for level 1, never after "CONTINUE?" following a game over), so the next "CONTINUE"
// starts at the last level entered with a fresh score and six lives.
//
// The tally at the end of a level runs 360 frames (counter 192..551): the time bonus (whole
// seconds left) comes at 282, the life bonus (one point per life) at 342, both by the
// ordinary points rule, so a bonus can give at most one extra life.

#include "app/run_progression.h"

#include <cstdio>

#include "platform/frame_clock.h"
#include "app/game_loop.h"
#include "app/game_state.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/savegame.h"
#include "screens/name_entry.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"
#include "world/score.h"
#include "world/world_step.h"

namespace app {

namespace {

constexpr int kTallyFirstFrame = 192;
constexpr int kTallyLastFrame = 551;
constexpr int kTimeBonusFrame = 282;
constexpr int kLifeBonusFrame = 342;
constexpr int kFramesPerSecond = 60;
constexpr int kLastLevelWithNext = 15;

constexpr video::TextLine kStoryLines[] = {
    {40, "TROLK WANDERED"}, {60, "AROUND AND LOST"}, {80, "ALL HIS ITEMS."},
    {100, "GET THEM BACK"}, {120, "AND BEWARE THE"}, {140, "CREATURES OF"},
    {160, "THE NIGHT"},     {200, "GOOD LUCK!"},
};

constexpr video::TextLine kEndingLines[] = {
    {70, "ALL ITEMS ARE BACK"},
    {90, "AND YOU ARE SAFE"},
    {110, "AT HOME."},
    {150, "HOME SWEET HOME!"},
};

// A black screen with these lines in the big font.
void showLines(std::span<const video::TextLine> lines) {
    video::fillRect(video::backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                    video::colorBlack);
    video::drawCenteredLines(lines, video::bigFont);
    video::presentFrame();
}

// Polls every 100 ms until start is held or the player asks to leave; a start already held
// ends it at once.
void waitForStartOrLeave() {
    while (!platform::actions.startHeld && !platform::actions.leaveRequested) {
        platform::updateActionFlags();
        platform::waitMilliseconds(platform::kReleasePollMs);
    }
}

void enterLevel() { beginPass(true); }

void writeSavegame() { game.savedLevel = persist::writeSavegame(world::run.levelCounter); }

// "TROLK WANDERED AROUND AND LOST ALL HIS ITEMS...", before level 1.
void showStory() {
    platform::waitForStartRelease();
    showLines(kStoryLines);
    waitForStartOrLeave();
    if (platform::actions.leaveRequested) returnToTitle();
    else enterLevel();
}

// The world of the finished level keeps moving behind a screen of its own.
void drawMovingWorld() {
    platform::updateActionFlags();
    world::updateTileEffects();
    world::updateEnemies(world::life.player);
    ++loop.frame;
    video::drawFrame(loop.frame, world::life.player, false);
}

void showEnding();

void gameOver() {
    const int gameOverLevel = world::run.levelCounter;
    audio::stopMusic(loop.music);
    loop.music = audio::loadMusic(audio::MUSIC_SCENEY);
    audio::startMusic(loop.music, audio::kPlayForever);

    platform::waitForStartRelease();
    char scoreText[32];
    std::snprintf(scoreText, sizeof scoreText, "SCORE: %d", world::run.score);
    platform::resetFrameClock();
    // Escape and a window close are not acted upon here.
    while (!platform::actions.startHeld) {
        drawMovingWorld();
        if (!platform::frameClock.skipDraw) {
            video::drawVeil();
            video::drawTextCentered("GAME OVER", 96, video::bigFont);
            video::drawTextCentered(scoreText, 136, video::bigFont);
            if (!(loop.frame & video::kBlinkBit) && !world::life.deathMessage.empty())
                video::drawTextCentered(world::life.deathMessage, 116, video::bigFont);
            video::presentFrame();
        }
        platform::paceFrame();
    }
    platform::waitForStartRelease();
    world::life.deathMessage = {};

    screens::enterHiscoreName(world::life.player);

    platform::resetFrameClock();
    while (platform::input.released != int(platform::INPUT_LEFT) && platform::input.released != int(platform::INPUT_RIGHT)) {
        drawMovingWorld();
        if (!platform::frameClock.skipDraw) {
            video::drawVeil();
            video::drawTextCentered("CONTINUE?", 96, video::bigFont);
            video::drawTextCentered("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", 128,
                                    video::smallFont);
            video::presentFrame();
        }
        platform::paceFrame();
    }
    const bool again = platform::input.released == int(platform::INPUT_LEFT);
    platform::input.quitRequested = false;
    platform::actions.leaveRequested = false;
    resetRun();
    if (again) world::run.levelCounter = gameOverLevel;  // afresh: no story, no savegame
    enterLevel();
}

// "ALL ITEMS ARE BACK AND YOU ARE SAFE AT HOME." The music is left as it is: after the last
// level it is still fading out.
void showEnding() {
    showLines(kEndingLines);
    waitForStartOrLeave();
    if (platform::actions.startHeld) platform::waitForStartRelease();  // the press must not reach the name entry
    if (platform::actions.leaveRequested) {
        platform::input.quitRequested = false;
        platform::actions.leaveRequested = false;
    }
    screens::enterHiscoreName(world::life.player);
    resetRun();
    enterLevel();
}

}  // namespace

void startRun() {
    if (world::run.levelCounter == world::kAllLevelsDone) {
        showEnding();
    } else if (world::run.levelCounter == 1) {
        showStory();
    } else {
        writeSavegame();
        enterLevel();
    }
}

void loseLife() {
    --world::run.lives;
    if (world::run.lives == 0) {
        gameOver();
        return;
    }
    world::life.deathMessage = {};
    beginPass(false);
}

void finishLevel() {
    audio::playSound(audio::SOUND_JIPIE);
    const int timeBonus = world::life.timeLeft / kFramesPerSecond;
    const int lifeBonus = world::run.lives;
    char timeText[32];
    char lifeText[32];
    std::snprintf(timeText, sizeof timeText, "TIME BONUS: %d", timeBonus);
    std::snprintf(lifeText, sizeof lifeText, "LIFE BONUS: %d", lifeBonus);
    audio::fadeOutMusic();
    world::life.player.alive = 0;
    platform::resetFrameClock();

    for (int c = kTallyFirstFrame; c <= kTallyLastFrame; ++c) {
        platform::pollInput();
        platform::input.held = 0;
        platform::input.released = 0;
        if (c == kTimeBonusFrame && timeBonus > 0) world::addScore(timeBonus);
        if (c == kLifeBonusFrame && lifeBonus > 0) world::addScore(lifeBonus);
        video::drawFrame(c, world::life.player, false);
        if (!platform::frameClock.skipDraw) {
            video::drawVeil();
            video::drawTextCentered("CONGRATULATIONS", 70, video::bigFont);
            if (c >= kTimeBonusFrame) video::drawTextCentered(timeText, 110, video::bigFont);
            if (c >= kLifeBonusFrame) video::drawTextCentered(lifeText, 130, video::bigFont);
            if (world::run.levelCounter <= kLastLevelWithNext && !(c & video::kBlinkBit)) {
                video::drawTextCentered("NEXT LEVEL", 160, video::bigFont);
                video::drawTextCentered("APPROACHING", 180, video::bigFont);
            }
            video::presentFrame();
        }
        platform::paceFrame();
    }

    world::life.player.alive = 1;
    ++world::run.levelCounter;
    if (world::run.levelCounter == world::kAllLevelsDone) {
        platform::waitForStartRelease();
        showEnding();
        return;
    }
    writeSavegame();
    enterLevel();
}

}  // namespace app
