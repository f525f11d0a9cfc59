// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs the real game loop in the test process under the virtual clock: a scratch working
// directory with the built pictures, sounds and music and levels of the test's own (written
// in the level text format), SDL's dummy drivers, and key presses scheduled at exact virtual
// moments. A whole run plays in milliseconds.

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>

#include "support/test_support.h"

namespace test_support {

class GameHarness {
  public:
    // `levels` maps level names ("plan0", "beginner", ...) to level texts; "test" becomes
    // maps/test.bin. Every other file comes from the build.
    explicit GameHarness(const std::map<std::string, std::string>& levels);
    ~GameHarness();

    // A key pressed at `ms` and let go `holdMs` later.
    void tap(SDLKey key, uint32_t ms, uint32_t holdMs = 50);
    void press(SDLKey key, uint32_t ms);
    void release(SDLKey key, uint32_t ms);
    // Runs the game loop until it returns; true when it did so before the virtual clock
    // passed `limitMs`.
    bool run(bool testMode = false, uint32_t limitMs = 600000);
    // Or a stretch at a time: begins the game, then runs it on until the virtual clock reaches
    // `ms` (false when it ended before), to look at the screen it is on.
    void begin(bool testMode = false);
    bool runUntil(uint32_t ms);
    // Runs the game to its end (past the limit as run does).
    bool finish(uint32_t limitMs = 600000);
    // Virtual milliseconds since the harness began.
    uint32_t now() const;

    const std::filesystem::path& directory() const { return scratch_.path(); }

  private:
    ScratchDirectory scratch_;
};

// Puts the records a game leaves behind (input, flow, run, level, life, hiscores, the
// graphics style, the frame clock, the scroller, the sounds counted) back as a fresh process
// has them, and drops the events still queued.
void forgetTheGame();

// A level text of `width` columns: ground in row 11, the given rows laid over it.
std::string simpleLevel(int width, const std::map<int, std::string>& rows = {});

}  // namespace test_support
