// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/exit_card.h"

#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/scene.h"
#include "world/lifetimes.h"
#include "world/world_step.h"

namespace screens {

namespace {

constexpr int kShortestFrames = 120;
constexpr int kLastFrame = 479;
constexpr int kHiddenBlinkFrame = 32;  // a frame count on which blinking items are hidden

int cardFrame = 0;  // frames the card has stood

}  // namespace

void enterExitCard() {
    platform::input.quitRequested = false;
    cardFrame = 0;
    platform::resetFrameClock();
}

Rules exitCardRules() { return {Poll::Actions, Draw::OnTime, Pace::FrameClock}; }

Step tickExitCard() {
    world::updateTileEffects();
    world::updateEnemies(world::life.player);
    return Step::Stay;
}

void drawExitCard() {
    video::drawFrame(kHiddenBlinkFrame, world::life.player, {});
    video::blitAt(video::donateImage, 0, 0);
}

Step afterExitCard() {
    const bool over =
        cardFrame >= kShortestFrames && (platform::released(platform::INPUT_START) ||
                                         platform::input.quitRequested || cardFrame >= kLastFrame);
    ++cardFrame;
    return over ? Step::Done : Step::Stay;
}

}  // namespace screens
