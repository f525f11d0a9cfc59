// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each frame: the title blinks (shown while bit 5 of the frame count is clear, so frames 1 to
// 31 show it), the lines stand still, and the screen ends on a released up or jump. Start and
// fire do not end it. A quit request ends it before the next picture.

#include "screens/intro_screens.h"

#include <span>
#include <string_view>

#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/text.h"

namespace screens {

namespace {

constexpr int kTitleY = 40;
constexpr int kTitleBlinkBit = 32;  // the title shows while this bit of the frame count is clear

constexpr video::TextLine kWarningLines[] = {
    {90, "THIS GAME IS VERY DIFFICULT."}, {110, "WE ARE NOT RESPONSIBLE IF"},
    {120, "YOU BREAK YOUR DEVICE OR"},    {130, "THROW IT AGAINST AN OBJECT."},
    {150, "IF YOU DO NOT HAVE NERVES,"},  {160, "PLEASE PLAY GOLF OR DO"},
    {170, "SOME MEDITATION INSTEAD!"},    {200, "PRESS UP TO GO ON"},
};

constexpr video::TextLine kCreditsLines[] = {
    {80, "THIS PROJECT USES CODE"},
    {90, "OF THE FOLLOWING OPEN-SOURCE"},
    {100, "PROJECTS IN AN UNMODDED FORM:"},
    {120, "SDL, SDL MIXER, LIBMODPLUG"},
    {130, "AND ZLIB"},
    {150, "YOU CAN GET THE SOURCE CODE"},
    {160, "OF THE MENTIONED LIBRARIES"},
    {170, "BY VISITING THE RESPECTIVE"},
    {180, "HOMEPAGES."},
    {210, "PRESS UP TO GO ON"},
};

struct Intro {
    IntroScreen which = IntroScreen::Warning;
    int frame = 0;  // frames drawn so far
};

Intro intro;

}  // namespace

void enterIntro(IntroScreen which) {
    intro = {which, 0};
    platform::resetFrameClock();
}

Rules introRules() {
    return {intro.frame == 0 ? Poll::None : Poll::Events, Draw::Always, Pace::FrameClock};
}

Step tickIntro() {
    if (intro.frame > 0 &&
        (platform::released(platform::INPUT_UP) || platform::released(platform::INPUT_JUMP)))
        return Step::Done;
    if (platform::input.quitRequested) return Step::Done;
    ++intro.frame;
    return Step::Stay;
}

void drawIntro() {
    const bool warning = intro.which == IntroScreen::Warning;
    video::fillRect(video::display.backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                    video::display.colorBlack);
    if (!(intro.frame & kTitleBlinkBit))
        video::drawTextCentered(warning ? "WARNING" : "CREDITS", kTitleY, video::bigFont);
    video::drawCenteredLines(warning ? std::span<const video::TextLine>(kWarningLines)
                                     : std::span<const video::TextLine>(kCreditsLines),
                             video::smallFont);
}

}  // namespace screens
