// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The name starts as "A......." with the cursor (a hyphen in the line below) under the 'A';
// a full stop marks a position the cursor has not reached yet, and every position it
// reaches becomes a letter, so a stored name never holds a full stop: it is cut after the
// cursor's character when start ends the entry early. Moving right past the eighth
// character completes the name, and it is stored without waiting for start.

#include "screens/name_entry.h"

#include <array>
#include <string_view>

#include "persist/hiscores.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/scene.h"
#include "video/text.h"
#include "world/lifetimes.h"

namespace screens {

namespace {

constexpr int kNameLength = 8;
constexpr int kTitleY = 96;
constexpr int kNameY = 136;
constexpr int kCursorY = 148;

struct NameEntry {
    std::array<char, kNameLength + 1> name{'A', '.', '.', '.', '.', '.', '.', '.', 0};
    std::array<char, kNameLength + 1> cursorLine{'-', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0};
    int position = 0;  // 0..8; 8: past the last character
    int repeatDelay = 0;
    bool releasingStart = false;         // start ended the entry: waiting until it is let go
    bool completedHoldingStart = false;  // the frame that completed the name with start held
    int32_t score = 0;                   // the run's score, which goes into the table
};

NameEntry entry;

char stepBack(char c) {
    if (c == 'A') return ' ';
    if (c == ' ') return 'Z';
    return char(c - 1);
}

char stepForward(char c) {
    if (c == 'Z') return ' ';
    if (c == ' ') return 'A';
    return char(c + 1);
}

bool held(platform::InputBit bit) { return platform::input.held & bit; }

// Handles one accepted input; true when the name became complete.
bool readInput(NameEntry& entry) {
    char& c = entry.name[size_t(entry.position)];
    if (held(platform::INPUT_DOWN)) {
        c = stepBack(c);
    } else if (held(platform::INPUT_UP)) {
        c = stepForward(c);
    } else if (held(platform::INPUT_LEFT) && entry.position > 0) {
        entry.cursorLine[size_t(entry.position)] = ' ';
        entry.cursorLine[size_t(--entry.position)] = '-';
    } else if (held(platform::INPUT_RIGHT) || held(platform::INPUT_FIRE)) {
        entry.cursorLine[size_t(entry.position)] = ' ';
        if (entry.position == kNameLength - 1) {
            entry.position = kNameLength;
            return true;
        }
        entry.cursorLine[size_t(++entry.position)] = '-';
        char& next = entry.name[size_t(entry.position)];
        if (next == '.') next = 'A';
    } else {
        return false;
    }
    entry.repeatDelay = kNameRepeatDelay;
    return false;
}

// The name as far as the cursor went goes into the table, which is saved at once.
Step store() {
    if (entry.position < kNameLength) entry.name[size_t(entry.position) + 1] = 0;
    persist::insertHiscore(entry.score, entry.name.data());
    return Step::Done;
}

}  // namespace

Step enterNameEntry() {
    const int32_t score = world::run.score;
    if (score <= persist::hiscores.entries[persist::kHiscoreCount - 1].score) return Step::Done;
    entry = {};
    entry.score = score;
    platform::resetFrameClock();
    return afterNameEntry();
}

Rules nameEntryRules() {
    // The wait for start begins at once after the frame that completed the name.
    if (entry.releasingStart)
        return {Poll::Actions, Draw::Never,
                entry.completedHoldingStart ? Pace::None : Pace::Wait100};
    return {entry.repeatDelay > 0 ? Poll::None : Poll::Actions, Draw::OnTime, Pace::FrameClock};
}

Step tickNameEntry() {
    if (entry.releasingStart) return Step::Stay;
    if (entry.repeatDelay > 0) {
        --entry.repeatDelay;
        return Step::Stay;
    }
    if (!readInput(entry)) return Step::Stay;
    // Complete: stored at once, unless start is held, which is waited out first.
    if (!platform::actions.startHeld) return store();
    entry.releasingStart = entry.completedHoldingStart = true;
    return Step::Stay;
}

void drawNameEntry() {
    video::drawFrame(video::kStaticPicture, world::life.player, {});
    video::drawVeil();
    video::drawTextCentered("ENTER YOUR NAME", kTitleY, video::bigFont);
    const std::string_view name(entry.name.data());
    if (!name.empty()) video::drawTextCentered(name, kNameY, video::bigFont);
    video::drawTextCentered(entry.cursorLine.data(), kCursorY, video::bigFont);
}

Step afterNameEntry() {
    // Start ends the entry early; it is waited out before the name is stored.
    entry.completedHoldingStart = false;
    if (!entry.releasingStart) entry.releasingStart = platform::actions.startHeld;
    if (entry.releasingStart && !platform::actions.startHeld) return store();
    return Step::Stay;
}

}  // namespace screens
