// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The prover: the level bot run on the level being edited, in the background. The world rules
// are process-wide state, so the bot cannot share the editor's process: the built levelbot
// program runs as a child on a copy of the level (its level file, <name>.bin, in a scratch
// folder of its own), writes its replays and the ways to where it got stuck there, and says
// how each life went on its standard output; its progress line comes on standard error.
//
// The scratch folder lives as long as the prover and serves every proof: removing files costs
// milliseconds on a journalling file system, which the editor's frame should not pay.
//
// The editor looks at the prover once a frame (updateProver), which never waits. A life is
// the level start or a checkpoint; each one ends with its way (the replay the bot found) or
// with the bot's report of where it got stuck, and the way to the state that came closest.
// A change of the level makes the proof out of date: keepProving restarts a running prover
// on the new text. Found ways can be saved as replay files beside the level, named and
// written exactly as levelbot writes them into content/replays.

#include "child_process.h"
#include "level_document.h"
#include "playback.h"
#include "replay.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace trolkedit {

struct ProverSettings {
    std::string levelbot;  // the levelbot program
    // The bot's limits (--beam, --max-beam, --step, --per-cell); 0 keeps the bot's own.
    int32_t beam = 0;
    int32_t maxBeam = 0;
    int32_t step = 0;
    int32_t perCell = 0;
    int32_t progressEveryMs = 250;  // how often the bot says how far it got
};

enum LifeState {
    LIFE_SEARCHING,  // the bot has not said yet
    LIFE_FOUND,      // `way` finishes the level from this life's start
    LIFE_NO_WAY,     // `report` says where it got stuck; `way` leads to the closest state
};

struct LifeProof {
    replay::StartPoint start;
    LifeState state = LIFE_SEARCHING;
    std::string outcome;              // the bot's words: "2412 frames, 4588 to spare (...)"
    std::vector<std::string> report;  // for a life without a way, line by line
    bool hasWay = false;
    replay::Replay way;
    std::string wayText;   // the replay file as the bot wrote it
    std::string fileName;  // and its name, for a way found ("plan8@57.rpl")
};

enum ProverState {
    PROVER_IDLE,     // nothing proved
    PROVER_RUNNING,  // the bot works
    PROVER_DONE,     // the bot has said something on every life
    PROVER_FAILED,   // could not be started or did not end well; `problem` says why
};

struct Prover {
    ProverState state = PROVER_IDLE;
    int64_t revision = -1;  // the document revision that is proved
    std::string levelName;
    std::vector<uint8_t> levelBytes;  // the level file proved, for playing its ways back
    std::string progress;             // the bot's latest progress line
    std::string problem;              // why it failed, or why there is nothing to prove
    std::vector<LifeProof> lives;     // in the bot's order: the start, then checkpoints
    // The bot at work.
    ChildProcess child;
    std::filesystem::path scratch;  // the scratch folder, made by the first proof
    int reportOf = -1;              // the life the bot's indented lines are about

    Prover() = default;
    Prover(const Prover&) = delete;
    Prover& operator=(const Prover&) = delete;
    ~Prover();
};

// Starts proving the document as it is now, stopping a proof under way. False (state
// PROVER_FAILED, with the problem) when the checker finds faults or the bot cannot be run.
bool startProving(Prover& prover, const Document& doc, const ProverSettings& settings);
// Reads what the bot has said since, without waiting; true when anything changed.
bool updateProver(Prover& prover);
// Stops the bot and forgets the proof (the scratch folder goes with the prover).
void cancelProving(Prover& prover);
// Restarts a running proof when the document changed since it started; true when it did.
bool keepProving(Prover& prover, const Document& doc, const ProverSettings& settings);
// Whether the proof is of the document as it is now.
bool proofIsCurrent(const Prover& prover, const Document& doc);

// Where replays of the level are kept: the folder replays beside its folder levels, as
// content/replays is beside content/levels, when there is one; else the level's own folder.
std::filesystem::path replayFolderFor(const std::string& levelPath);
// Writes the found ways of a current proof into the folder as levelbot names them; when every
// life was found, also removes the level's replays of starts it no longer has. The files
// written and removed go to the lists; false with why when nothing could be saved.
[[nodiscard]] bool saveReplays(const Prover& prover, const Document& doc,
                               const std::filesystem::path& folder,
                               std::vector<std::string>& written, std::vector<std::string>& removed,
                               std::string& message);

}  // namespace trolkedit
