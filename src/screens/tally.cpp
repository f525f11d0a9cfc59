// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/tally.h"

#include <cstdio>

#include "audio/sound.h"
#include "platform/frame_clock.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"

namespace screens {

namespace {

constexpr int kFirstFrame = 192;
constexpr int kLastFrame = 551;
constexpr int kTimeBonusFrame = 282;
constexpr int kLifeBonusFrame = 342;
constexpr int kFramesPerSecond = 60;
constexpr int kLastLevelWithNext = 15;

struct Tally {
    int c = kFirstFrame;  // the frame counter the world is drawn with
    int timeBonus = 0;
    int lifeBonus = 0;
    char timeText[32] = {};
    char lifeText[32] = {};
};

Tally tally;

}  // namespace

void enterTally() {
    audio::playSound(audio::SOUND_JIPIE);
    tally = {};
    tally.timeBonus = world::life.timeLeft / kFramesPerSecond;
    tally.lifeBonus = world::run.lives;
    std::snprintf(tally.timeText, sizeof tally.timeText, "TIME BONUS: %d", tally.timeBonus);
    std::snprintf(tally.lifeText, sizeof tally.lifeText, "LIFE BONUS: %d", tally.lifeBonus);
    world::life.player.alive = 0;
    platform::resetFrameClock();
}

Rules tallyRules() { return {Poll::Ignored, Draw::OnTime, Pace::FrameClock}; }

Step tickTally() {
    if (tally.c == kTimeBonusFrame && tally.timeBonus > 0) world::addScore(tally.timeBonus);
    if (tally.c == kLifeBonusFrame && tally.lifeBonus > 0) world::addScore(tally.lifeBonus);
    return Step::Stay;
}

void drawTally() {
    const int c = tally.c;
    video::drawFrame(c, world::life.player, {});
    video::drawVeil();
    video::drawTextCentered("CONGRATULATIONS", 70, video::bigFont);
    if (c >= kTimeBonusFrame) video::drawTextCentered(tally.timeText, 110, video::bigFont);
    if (c >= kLifeBonusFrame) video::drawTextCentered(tally.lifeText, 130, video::bigFont);
    if (world::run.levelCounter <= kLastLevelWithNext && !(c & video::kBlinkBit)) {
        video::drawTextCentered("NEXT LEVEL", 160, video::bigFont);
        video::drawTextCentered("APPROACHING", 180, video::bigFont);
    }
}

Step afterTally() {
    if (++tally.c <= kLastFrame) return Step::Stay;
    world::life.player.alive = 1;
    return Step::Done;
}

}  // namespace screens
