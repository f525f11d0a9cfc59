// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "HISCORES" at the top, then one row per entry from y 48, 18 pixels apart: the name from
// x 48 and the score as five digits from x 192, both in the big font.

#include "screens/hiscore_list.h"

#include <cstdio>

#include "persist/hiscores.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"

namespace screens {

namespace {

constexpr int kTitleY = 16;
constexpr int kTopY = 48;
constexpr int kRowStep = 18;
constexpr int kNameX = 48;
constexpr int kScoreX = 192;

int titleFrame = 0;  // the title's frame count, which stands while the list shows

}  // namespace

Step enterHiscoreList(int frame) {
    titleFrame = frame;
    platform::resetFrameClock();
    return afterHiscoreList();
}

Rules hiscoreListRules() { return {Poll::Actions, Draw::OnTime, Pace::FrameClock}; }

Step tickHiscoreList() {
    world::scrollView(1);
    return Step::Stay;
}

void drawHiscoreList() {
    video::drawFrame(titleFrame, world::life.player, {video::MENU_HIDDEN});
    video::drawVeil();
    video::drawTextCentered("HISCORES", kTitleY, video::bigFont);
    for (int k = 0; k < persist::kHiscoreCount; ++k) {
        const persist::HiscoreEntry& entry = persist::hiscores.entries[size_t(k)];
        const int y = kTopY + kRowStep * k;
        char score[16];
        std::snprintf(score, sizeof score, "%05d", entry.score);
        video::drawText(entry.name.data(), kNameX, y, video::bigFont);
        video::drawText(score, kScoreX, y, video::bigFont);
    }
}

Step afterHiscoreList() {
    const platform::ActionFlags& actions = platform::actions;
    return actions.startHeld || actions.leaveRequested ? Step::Done : Step::Stay;
}

}  // namespace screens
