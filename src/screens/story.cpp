// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "TROLK WANDERED AROUND AND LOST ALL HIS ITEMS. GET THEM BACK AND BEWARE THE CREATURES OF
// THE NIGHT", in the big font, each line centred.

#include "screens/story.h"

#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"

namespace screens {

namespace {

constexpr video::TextLine kStoryLines[] = {
    {40, "TROLK WANDERED"}, {60, "AROUND AND LOST"}, {80, "ALL HIS ITEMS."},
    {100, "GET THEM BACK"}, {120, "AND BEWARE THE"}, {140, "CREATURES OF"},
    {160, "THE NIGHT"},     {200, "GOOD LUCK!"},
};

}  // namespace

Step enterStory() {
    video::drawLinesOnBlack(kStoryLines, video::bigFont);
    video::presentFrame();
    return afterStory();
}

Rules storyRules() { return {Poll::Actions, Draw::Never, Pace::Wait100}; }

Step afterStory() {
    const platform::ActionFlags& actions = platform::actions;
    return actions.startHeld || actions.leaveRequested ? Step::Done : Step::Stay;
}

}  // namespace screens
