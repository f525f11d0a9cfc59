// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "ALL ITEMS ARE BACK AND YOU ARE SAFE AT HOME. HOME SWEET HOME!"

#include "screens/ending.h"

#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"

namespace screens {

namespace {

constexpr video::TextLine kEndingLines[] = {
    {70, "ALL ITEMS ARE BACK"},
    {90, "AND YOU ARE SAFE"},
    {110, "AT HOME."},
    {150, "HOME SWEET HOME!"},
};

bool releasingStart = false;  // start ended the screen: waiting until it is let go

// The screen is over: a leave request that ended it is forgotten.
Step finish() {
    if (platform::actions.leaveRequested) {
        platform::input.quitRequested = false;
        platform::actions.leaveRequested = false;
    }
    return Step::Done;
}

}  // namespace

Step enterEnding() {
    releasingStart = false;
    video::drawLinesOnBlack(kEndingLines, video::bigFont);
    video::presentFrame();
    return afterEnding();
}

Rules endingRules() { return {Poll::Actions, Draw::Never, Pace::Wait100}; }

Step afterEnding() {
    const platform::ActionFlags& actions = platform::actions;
    if (releasingStart) return actions.startHeld ? Step::Stay : finish();
    if (actions.startHeld) {
        releasingStart = true;
        return Step::Stay;
    }
    return actions.leaveRequested ? finish() : Step::Stay;
}

}  // namespace screens
