// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one frame function. In order:
//   1. a stop signal (the session ends, a launcher stops the game) ends the flow;
//   2. while start is to be let go before the next screen: a poll and a 100 ms wait;
//   3. the controls are read as the screen's rules say;
//   4. the screen's step (the world moves, a menu reads the controls...); a screen that is
//      done here ends the frame;
//   5. the picture is drawn and shown, unless the frame clock says the game is late (the
//      step still ran: the game keeps its speed on any display) or the screen draws only
//      when it begins;
//   6. the frame ends: the frame clock's 17, 17, 16 ms, or the wait of a waiting screen;
//   7. the screen says whether it is done, and the next screen is taken.

#include "app/flow.h"

#include "app/game_loop.h"
#include "app/transitions.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/stop_signal.h"
#include "platform/ticks.h"
#include "screens/ending.h"
#include "screens/exit_card.h"
#include "screens/game_over.h"
#include "screens/hiscore_list.h"
#include "screens/intro_screens.h"
#include "screens/name_entry.h"
#include "screens/story.h"
#include "screens/style_choice.h"
#include "screens/tally.h"
#include "video/display.h"

namespace app {

Flow flow;

namespace {

using screens::Step;

constexpr uint32_t kReleasePollMs = 100;
constexpr uint32_t kQuickPollMs = 10;

void poll(screens::Poll rule) {
    switch (rule) {
    case screens::Poll::None: break;
    case screens::Poll::Events: platform::pollInput(); break;
    case screens::Poll::Actions: platform::updateActionFlags(); break;
    case screens::Poll::Ignored:
        platform::pollInput();
        platform::input.held = 0;
        platform::input.released = platform::INPUT_NONE;
        break;
    }
}

void pace(screens::Pace rule) {
    switch (rule) {
    case screens::Pace::FrameClock: platform::paceFrame(); break;
    case screens::Pace::Wait100: platform::waitMilliseconds(kReleasePollMs); break;
    case screens::Pace::Wait10: platform::waitMilliseconds(kQuickPollMs); break;
    case screens::Pace::None: break;
    }
}

bool drawsNow(screens::Draw rule) {
    switch (rule) {
    case screens::Draw::OnTime: return !platform::frameClock.skipDraw;
    case screens::Draw::Always: return true;
    case screens::Draw::Never: return false;
    }
    return false;
}

Step enterScreen(Screen s) {
    switch (s) {
    case Screen::Warning: screens::enterIntro(screens::IntroScreen::Warning); return Step::Stay;
    case Screen::Credits: screens::enterIntro(screens::IntroScreen::Credits); return Step::Stay;
    case Screen::StyleChoice: return screens::enterStyleChoice();
    case Screen::Title:
    case Screen::Play: return enterPass();
    case Screen::Pause: return Step::Stay;
    case Screen::QuitQuestion: return enterQuitQuestion();
    case Screen::Story: return screens::enterStory();
    case Screen::Tally: screens::enterTally(); return Step::Stay;
    case Screen::GameOver: return screens::enterGameOver(pass.frame);
    case Screen::NameEntry: return screens::enterNameEntry();
    case Screen::ContinueQuestion: return screens::enterContinueQuestion();
    case Screen::Ending: return screens::enterEnding();
    case Screen::HiscoreList: return screens::enterHiscoreList(pass.frame);
    case Screen::ExitCard: screens::enterExitCard(); return Step::Stay;
    case Screen::Ended: return Step::Stay;
    }
    return Step::Stay;
}

screens::Rules rulesOf(Screen s) {
    switch (s) {
    case Screen::Warning:
    case Screen::Credits: return screens::introRules();
    case Screen::StyleChoice: return screens::styleChoiceRules();
    case Screen::Title:
    case Screen::Play:
    case Screen::Pause: return levelFrameRules();
    case Screen::QuitQuestion: return quitQuestionRules();
    case Screen::Story: return screens::storyRules();
    case Screen::Tally: return screens::tallyRules();
    case Screen::GameOver:
    case Screen::ContinueQuestion: return screens::gameOverRules();
    case Screen::NameEntry: return screens::nameEntryRules();
    case Screen::Ending: return screens::endingRules();
    case Screen::HiscoreList: return screens::hiscoreListRules();
    case Screen::ExitCard: return screens::exitCardRules();
    case Screen::Ended: break;
    }
    return {};
}

Step tickScreen(Screen s) {
    switch (s) {
    case Screen::Warning:
    case Screen::Credits: return screens::tickIntro();
    case Screen::StyleChoice: return screens::tickStyleChoice();
    case Screen::Title:
    case Screen::Play:
    case Screen::Pause: return tickLevelFrame();
    case Screen::Tally: return screens::tickTally();
    case Screen::GameOver:
    case Screen::ContinueQuestion: return screens::tickGameOver();
    case Screen::NameEntry: return screens::tickNameEntry();
    case Screen::HiscoreList: return screens::tickHiscoreList();
    case Screen::ExitCard: return screens::tickExitCard();
    case Screen::QuitQuestion:
    case Screen::Story:
    case Screen::Ending:
    case Screen::Ended: break;
    }
    return Step::Stay;
}

void drawScreen(Screen s) {
    switch (s) {
    case Screen::Warning:
    case Screen::Credits: screens::drawIntro(); break;
    case Screen::Title:
    case Screen::Play:
    case Screen::Pause: drawLevelFrame(); break;
    case Screen::Tally: screens::drawTally(); break;
    case Screen::GameOver: screens::drawGameOver(); break;
    case Screen::ContinueQuestion: screens::drawContinueQuestion(); break;
    case Screen::NameEntry: screens::drawNameEntry(); break;
    case Screen::HiscoreList: screens::drawHiscoreList(); break;
    case Screen::ExitCard: screens::drawExitCard(); break;
    case Screen::StyleChoice:
    case Screen::QuitQuestion:
    case Screen::Story:
    case Screen::Ending:
    case Screen::Ended: break;
    }
}

Step afterScreen(Screen s) {
    switch (s) {
    case Screen::StyleChoice: return screens::afterStyleChoice();
    case Screen::Title:
    case Screen::Play:
    case Screen::Pause: return afterLevelFrame();
    case Screen::QuitQuestion: return afterQuitQuestion();
    case Screen::Story: return screens::afterStory();
    case Screen::Tally: return screens::afterTally();
    case Screen::GameOver: return screens::afterGameOver();
    case Screen::ContinueQuestion: return screens::afterContinueQuestion();
    case Screen::NameEntry: return screens::afterNameEntry();
    case Screen::Ending: return screens::afterEnding();
    case Screen::HiscoreList: return screens::afterHiscoreList();
    case Screen::ExitCard: return screens::afterExitCard();
    case Screen::Warning:
    case Screen::Credits:
    case Screen::Ended: break;
    }
    return Step::Stay;
}

void finish(Screen s) {
    if (flow.alone) flow = {};
    else finishScreen(s);
}

void begin(Screen s) {
    flow.releasingStart = false;
    if (enterScreen(s) == Step::Done) finish(s);
}

// A frame of waiting until start is let go: a poll, a pause, a look.
void releaseFrame() {
    platform::updateActionFlags();
    platform::waitMilliseconds(kReleasePollMs);
    if (!platform::actions.startHeld) begin(flow.screen);
}

void runFrame() {
    if (platform::stopRequested()) {
        flow = {};
        return;
    }
    if (flow.releasingStart) {
        releaseFrame();
        return;
    }
    const Screen s = flow.screen;
    poll(rulesOf(s).poll);
    if (tickScreen(s) == Step::Done) {
        finish(s);
        return;
    }
    // The step may have changed the screen's rules (the name entry's end, say).
    const screens::Rules rules = rulesOf(s);
    if (drawsNow(rules.draw)) {
        drawScreen(s);
        video::presentFrame();
    }
    pace(rules.pace);
    if (afterScreen(s) == Step::Done) finish(s);
}

}  // namespace

void go(Screen next, bool afterStartRelease) {
    flow.screen = next;
    if (afterStartRelease && platform::actions.startHeld) flow.releasingStart = true;
    else begin(next);
}

void runFlow(Screen first) {
    flow = {};
    go(first, false);
    runUntilEnded();
}

void runUntilEnded() {
    while (flow.screen != Screen::Ended) runFrame();
}

bool runFramesUntil(uint32_t tick) {
    while (flow.screen != Screen::Ended && platform::readTicks() < tick) runFrame();
    return flow.screen != Screen::Ended;
}

void beginScreen(Screen screen) {
    flow = {};
    flow.alone = true;
    go(screen, false);
}

void runScreen(Screen screen) {
    beginScreen(screen);
    runUntilEnded();
}

}  // namespace app
