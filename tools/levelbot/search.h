// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The level bot's search for a way through one life of a level: a beam search over world
// states, each step holding one of a handful of control combinations for a few frames.
//
// Every step expands every kept state by every combination, plays the frames with the game's
// own world update, drops the states that died, that left a counted item or the door behind
// the view (the view never scrolls back), and those already seen (same player position,
// speed and jump latch, same view, items, nearby cells and a coarse picture of the enemies).
// The rest are ranked by the frames still needed, as the coarse map of nav.h estimates them
// for taking the remaining items from left to right and then reaching the door; the best are
// kept, a few per player cell at most so that the beam does not crowd into one dead end.
// Waiting is one of the combinations, so a state can let an enemy pass.

#include "playback.h"
#include "probe.h"
#include "world/world_step.h"

#include <cstdint>
#include <string>
#include <vector>

namespace levelbot {

struct SearchSettings {
    int32_t beamWidth = 300;                      // states kept after each step
    int32_t stepFrames = 4;                       // frames a combination is held in one step
    int32_t perCell = 4;                          // states kept per player cell and item count
    int32_t frameLimit = world::kLifeFrames - 1;  // the life must end with time left
    int32_t patience = 1500;        // frames without coming closer to the goal before giving up
    int64_t probeStates = 1000000;  // states of the look without enemies after a failure; 0: none
    bool progress = false;          // a progress line on standard error
    int32_t progressEveryMs = 0;    // how often; 0: twice a second on a terminal, else every 5 s
    std::string label;              // what the progress line calls the search
};

// A cause of death and how often it struck.
struct DeathCount {
    std::string cause;
    int64_t count = 0;
};

struct SearchResult {
    bool found = false;
    std::vector<world::Controls> frames;  // the controls of the way, frame by frame
    int64_t framesPlayed = 0;             // world frames the search played in all
    int64_t statesKept = 0;               // states that made it into the beam
    double seconds = 0;
    int32_t furthestX = 0;       // the furthest right the hero came (box x)
    int32_t itemsLeftThere = 0;  // items it still had to take there
    int32_t fewestItemsLeft = 0;
    std::string stop;                   // why the search gave up
    std::vector<std::string> noMapWay;  // targets the coarse map knows no way to from the start
    std::string stuckBefore;            // what the closest state still had to reach first
    int32_t stuckColumn = 0;            // and where that is
    int32_t stuckRow = 0;
    bool stuckAtDoor = false;
    Reach stuckReach = Reach::Unknown;  // whether it could, moving freely without enemies
    world::WorldSnapshot closestWorld;  // the closest state
    world::PlayerState closestPlayer;
    std::vector<world::Controls> closestWay;  // the controls to the closest state
    std::vector<DeathCount> deaths;           // every death, most frequent first
    std::vector<DeathCount> frontDeaths;      // deaths near the furthest x, most frequent first

    // Lines that say where it got stuck and what killed it.
    std::vector<std::string> failureReport() const;
};

// Searches a way through the life that starts at `start`.
SearchResult searchLife(const std::vector<uint8_t>& levelBytes, const replay::StartPoint& start,
                        const SearchSettings& settings);

// Looks at the spot where a failed search got stuck without enemies (probe.h) and notes in
// the result whether the hero could reach what it was after.
void probeStuck(SearchResult& result, int64_t maxStates);

// Searches with the settings given, then with a beam four times as wide, then with it and
// steps half as long, then with a beam sixteen times as wide (not beyond `maxBeam`), until a
// way is found; the seconds and frames of all tries add up. After a failed try whose target
// the coarse map knows no way to, and after the last, it looks at the spot without enemies;
// when that says the target is out of reach, it tries no further.
SearchResult solveLife(const std::vector<uint8_t>& levelBytes, const replay::StartPoint& start,
                       SearchSettings settings, int32_t maxBeam);

}  // namespace levelbot
