// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/game_over.h"

#include <cstdio>

#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"
#include "world/world_step.h"

namespace screens {

namespace {

struct GameOver {
    int frame = 0;  // goes on from the level's frame count
    char scoreText[32] = {};
};

GameOver gameOver;

}  // namespace

Step enterGameOver(int levelFrame) {
    gameOver = {};
    gameOver.frame = levelFrame;
    std::snprintf(gameOver.scoreText, sizeof gameOver.scoreText, "SCORE: %d", world::run.score);
    platform::resetFrameClock();
    return afterGameOver();
}

Step enterContinueQuestion() {
    platform::resetFrameClock();
    return afterContinueQuestion();
}

Rules gameOverRules() { return {Poll::Actions, Draw::OnTime, Pace::FrameClock}; }

Step tickGameOver() {
    world::updateTileEffects();
    world::updateEnemies(world::life.player);
    ++gameOver.frame;
    return Step::Stay;
}

void drawGameOver() {
    video::drawFrame(gameOver.frame, world::life.player, {});
    video::drawVeil();
    video::drawTextCentered("GAME OVER", 96, video::bigFont);
    video::drawTextCentered(gameOver.scoreText, 136, video::bigFont);
    if (!(gameOver.frame & video::kBlinkBit) && !world::life.deathMessage.empty())
        video::drawTextCentered(world::life.deathMessage, 116, video::bigFont);
}

void drawContinueQuestion() {
    video::drawFrame(gameOver.frame, world::life.player, {});
    video::drawVeil();
    video::drawTextCentered("CONTINUE?", 96, video::bigFont);
    video::drawTextCentered("PRESS LEFT FOR YES, PRESS RIGHT FOR NO", 128, video::smallFont);
}

Step afterGameOver() { return platform::actions.startHeld ? Step::Done : Step::Stay; }

Step afterContinueQuestion() {
    return platform::released(platform::INPUT_LEFT) || platform::released(platform::INPUT_RIGHT)
               ? Step::Done
               : Step::Stay;
}

bool continueChosen() { return platform::released(platform::INPUT_LEFT); }

}  // namespace screens
