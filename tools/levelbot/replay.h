// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Replays: the held controls of one life, frame by frame, kept as a small text file that a
// person can read and a diff can show. The controls of a frame are letters (L left, R right,
// J jump, D down) or "-" for nothing held; consecutive frames with the same controls share
// one line with their count:
//
//   ; a comment
//   level plan8          the level's name (its text is content/levels/plan8.lvl)
//   start 16 100         the restart point of the life, world pixels
//   frames 2412          play frames in all
//   R 38                 right held for 38 frames
//   RJ 4
//   - 12
//   end
//
// Frames are counted from the first frame of the life that moves: the 181 frozen frames at
// the start of every life are not part of a replay. The counts must add up to "frames".

#include "world/world_step.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

struct StartPoint;

constexpr std::string_view kReplayExtension = ".rpl";

// One line of a replay: controls held for a number of frames.
struct ControlRun {
    world::Controls controls;
    int32_t frames = 0;
};

struct Replay {
    std::string level;                       // level name, e.g. "plan8" or "test"
    int32_t startX = world::kRestartStartX;  // restart point of the life, world pixels
    int32_t startY = world::kRestartStartY;
    std::vector<ControlRun> runs;

    // Frames in all.
    int32_t frameCount() const;
    // The controls of every frame, in order.
    std::vector<world::Controls> frames() const;
    // Adds frames at the end, joining them to the last line when the controls are the same.
    void append(const world::Controls& controls, int32_t frames = 1);
};

// A replay made of per-frame controls.
Replay replayOf(std::string_view level, int32_t startX, int32_t startY,
                const std::vector<world::Controls>& frames);

bool sameControls(const world::Controls& a, const world::Controls& b);
// "-", "R", "RJ", "LJD", ...: the letters in the order L R J D.
std::string controlsName(const world::Controls& controls);
// The controls a name stands for; none for unknown or repeated letters, or left with right.
std::optional<world::Controls> parseControls(std::string_view name);

// Why a replay text was refused: the line (from 1) and what is wrong there.
struct ParseError {
    int line = 0;
    std::string message;
};

// Reads a replay text; none, with the error, when it is malformed.
std::optional<Replay> parseReplay(std::string_view text, ParseError& error);
// Writes a replay text; `comment` lines (without ';') go at the top.
std::string formatReplay(const Replay& replay, const std::vector<std::string>& comment = {});

// Reads a replay file; false with "file:line: message" (or why the file cannot be read).
bool readReplayFile(const std::string& path, Replay& replay, std::string& error);
// Writes a replay file; false when it cannot be written.
bool writeReplayFile(const std::string& path, const Replay& replay,
                     const std::vector<std::string>& comment = {});
// "<level>.rpl" for a life from the level's start, "<level>@<column>.rpl" from a checkpoint,
// "<level>@<column>.<row>.rpl" when another checkpoint shares the column.
std::string replayFileName(const Replay& replay, bool withRow = false);

// Removes the replays of the level in the folder whose start is none of the level's lives any
// more (a checkpoint moved or taken out): they would fail the replay tests for no fault of the
// level. Returns the files removed.
std::vector<std::string> removeStaleReplays(const std::string& directory, const std::string& level,
                                            const std::vector<StartPoint>& starts);

}  // namespace replay
