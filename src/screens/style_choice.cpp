// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The logo stands centred 24 pixels above the middle, the two lines 8 and 20 pixels below
// it. The first release of left or right ends the screen at once, so the hidden style needs
// its ten downs before either.

#include "screens/style_choice.h"

#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"

namespace screens {

namespace {

constexpr int kDownReleases = 10;
constexpr int kLogoRaise = 24;

int downReleases = 0;  // releases of down seen on this screen

}  // namespace

Step enterStyleChoice() {
    using namespace video;
    downReleases = 0;
    fillRect(display.backBuffer, 0, 0, kScreenWidth, kScreenHeight, display.colorBlack);
    const int top = ((kScreenHeight - logoImage->h) >> 1) - kLogoRaise;
    blitAt(logoImage, (kScreenWidth - logoImage->w) >> 1, top);
    drawTextCentered("PRESS LEFT FOR CLASSIC GRAPHICS", top + logoImage->h + 8, smallFont);
    drawTextCentered("PRESS RIGHT FOR DELUXE GRAPHICS", top + logoImage->h + 20, smallFont);
    presentFrame();
    return afterStyleChoice();
}

Rules styleChoiceRules() { return {Poll::Events, Draw::Never, Pace::Wait10}; }

Step tickStyleChoice() {
    switch (platform::input.released) {
    case platform::INPUT_LEFT: video::graphicsStyle = video::STYLE_CLASSIC; return Step::Done;
    case platform::INPUT_RIGHT: video::graphicsStyle = video::STYLE_DELUXE; return Step::Done;
    case platform::INPUT_DOWN:
        if (++downReleases < kDownReleases) return Step::Stay;
        video::graphicsStyle = video::STYLE_HANDHELD;
        return Step::Done;
    default: return Step::Stay;
    }
}

Step afterStyleChoice() { return platform::input.quitRequested ? Step::Done : Step::Stay; }

}  // namespace screens
