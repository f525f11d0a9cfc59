// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Whole runs of the game for the fault tests: a working directory laid out as the game
// expects it (data/ with the four archives, maps/test.bin), where any file may be swapped for
// a damaged one, and two ways to run the game in it.
//
// - runTrolk starts the real trolk binary with arguments and extra environment, optionally
//   as an unprivileged user, and can send it a signal once it has reached a given point.
// - runGameInChild runs the whole program (app::runProgram) in a forked child under the
//   virtual clock, so that key presses scheduled at virtual moments carry it past the
//   warning, credits and style screens, which the real binary under SDL's dummy driver
//   cannot be given.
// Every run is bounded: a game that does not end in time is killed and reported as such.

#include "support/test_support.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace faults {

// A scratch working directory holding links to the built archives and test map.
class GameDirectory {
  public:
    GameDirectory();

    const std::filesystem::path& path() const { return scratch_.path(); }
    // Puts `bytes` in place of data/<name>.zda.
    void replaceArchive(const std::string& name, const std::vector<uint8_t>& bytes) const;
    // Puts `bytes` in place of maps/test.bin.
    void replaceTestMap(const std::vector<uint8_t>& bytes) const;
    // Copies the game and its data into the directory in place of the links, so that a user
    // who may not read the build directory can run it from here; returns the game's path.
    std::filesystem::path copyGame() const;
    // The names of the files directly in the directory (not in data/ or maps/).
    std::vector<std::string> files() const;

  private:
    test_support::ScratchDirectory scratch_;
};

// The bytes of build/data/<name>.zda.
std::vector<uint8_t> builtArchive(const std::string& name);
// Every entry of a built archive with its unpacked content, in the archive's order.
std::vector<zda::PackEntry> builtEntries(const std::string& name);
// A test map on which the player stands on the open exit door from the start, so that the
// test mode ends by itself with status 0 once the level intro is over (about 3 seconds).
std::vector<uint8_t> selfFinishingTestMap();

struct GameResult {
    int exitStatus = -1;    // -1 when it did not exit normally
    int termSignal = 0;     // the signal that ended it, if one did
    bool timedOut = false;  // killed because it ran too long
    std::string output;     // standard output
};

// When to send a signal: once `ready` says so (it is asked every few milliseconds).
struct SignalPlan {
    int signal = 0;  // 0: none
    std::function<bool(pid_t)> ready = {};
};

struct TrolkRun {
    std::filesystem::path program = {};                   // the built game when empty
    std::vector<std::string> arguments = {};              // after the program name
    std::map<std::string, std::string> environment = {};  // in addition to the test's own
    bool unprivileged = false;  // run as user and group nobody (when started as root)
    SignalPlan signal = {};
    int timeoutSeconds = 30;
};

// Runs build/trolk in `directory`.
GameResult runTrolk(const std::filesystem::path& directory, const TrolkRun& run);

struct ChildGame {
    std::vector<std::string> arguments = {};  // after the program name
    // Runs in the child before the program starts: schedule input, inject faults.
    std::function<void()> prepare = {};
    SignalPlan signal = {};
    int timeoutSeconds = 60;
};

// Runs app::runProgram in a forked child whose working directory is `directory`, under
// the virtual clock; the child's exit status is the program's.
GameResult runGameInChild(const std::filesystem::path& directory, const ChildGame& game);

// Key presses that take a normal start past the warning and credits screens (up) and the
// style choice (right: the deluxe style), to the title. The last one is let go at 1 second.
void scheduleWayToTitle();

// True once the process holds a file open whose path ends in `name`.
bool hasOpen(pid_t pid, const std::string& name);

}  // namespace faults
