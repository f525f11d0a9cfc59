// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// levelbot: proves levels finishable by playing them with the game's own world rules,
// without a window and without sound, and keeps the ways it finds as replay files.
//
//   levelbot [options] LEVEL...     search every life of the levels and write replays
//   levelbot [options] --all        the same for every level text but the title level
//   levelbot --replay FILE...       play replays back and say how each one ends
//
// LEVEL is a level text (.lvl), a level file (.bin) or a level name, read from
// data/maps.zda (or, when the archive has no such entry, from content/levels/<name>.lvl).
// A level has one life from its start and one from each checkpoint; each gets its own
// replay file. Options:
//   --out DIR        where the replays go (default: content/replays of the source tree)
//   --from WHERE     only the life from "start" or from the checkpoint in column WHERE
//   --beam N         states kept per step in the first try (default 300)
//   --max-beam N     the widest beam tried before giving up (default 4800)
//   --step N         frames per step in the first try (default 4)
//   --per-cell N     states kept per player cell (default 4)
//   --data DIR       the folder holding data/ (default: the build folder)
//   --no-write       search and report, write no replay
//   --stuck DIR      for a life without a way, write the way to the state that came closest
//                    to DIR as <level>[@column].stuck, a replay for trolkrender --replay
//   --quiet          no progress line
//   --progress-every MS  the progress line every MS milliseconds (default: twice a second on
//                    a terminal, every 5 seconds otherwise), for a program that shows it
//   --level LEVEL    with --replay: play against this level instead of the replay's own
// The exit status is 0 when every life was solved (every replay finished), 1 when not.

#include "archive/archive.h"
#include "level_source.h"
#include "playback.h"
#include "replay.h"
#include "search.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitleLevel = "plan0";  // scrolls by itself behind the title: no one plays it

struct Options {
    std::vector<std::string> levels;
    std::vector<std::string> replays;
    std::string out;
    std::string data = LEVELBOT_BUILD_DIR;
    std::string level;  // --level for --replay
    std::string from;   // "start", a column, or empty for every life
    std::string stuck;  // where the ways to the closest states go
    bool all = false;
    bool write = true;
    bool quiet = false;
    bool replayMode = false;
    levelbot::SearchSettings settings;
    int32_t maxBeam = 4800;
};

int usage() {
    std::fprintf(stderr,
                 "usage: levelbot [--out DIR] [--from start|COLUMN] [--beam N] [--max-beam N]\n"
                 "                [--step N] [--per-cell N] [--data DIR] [--no-write] [--quiet]\n"
                 "                [--stuck DIR] [--progress-every MS]\n"
                 "                LEVEL... | --all\n"
                 "       levelbot [--data DIR] [--level LEVEL] --replay FILE...\n");
    return 2;
}

bool positive(const char* text, int32_t& value) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end != '\0' || n < 1 || n > 1000000) return false;
    value = int32_t(n);
    return true;
}

std::string describeStart(const replay::StartPoint& start) {
    if (!start.checkpoint) return "from the start";
    return "from the checkpoint at column " + std::to_string(start.column()) + ", row " +
           std::to_string(start.row());
}

bool wanted(const Options& options, const replay::StartPoint& start) {
    if (options.from.empty()) return true;
    if (options.from == "start") return !start.checkpoint;
    return start.checkpoint && std::to_string(start.column()) == options.from;
}

// Whether another checkpoint shares the column, so the file name needs the row too.
bool columnShared(const std::vector<replay::StartPoint>& starts, const replay::StartPoint& start) {
    int shared = 0;
    for (const replay::StartPoint& other : starts)
        shared += other.checkpoint && other.column() == start.column();
    return shared > 1;
}

// The way to the state that came closest, for a look with trolkrender --replay. Not named
// .rpl: it finishes nothing, and the replay tests play every .rpl they find.
void writeClosestWay(const Options& options, const std::string& name,
                     const std::vector<replay::StartPoint>& starts, const replay::StartPoint& start,
                     const levelbot::SearchResult& found) {
    const replay::Replay closest = replay::replayOf(name, start.x, start.y, found.closestWay);
    const std::string file =
        fs::path(replay::replayFileName(closest, columnShared(starts, start))).stem().string() +
        ".stuck";
    const fs::path path = fs::path(options.stuck) / file;
    const std::vector<std::string> comment = {name + " " + describeStart(start) +
                                              ": the way to the state that came closest"};
    if (replay::writeReplayFile(path.string(), closest, comment))
        std::printf("    the way to the closest state: %s\n", path.string().c_str());
    else std::printf("    cannot write %s\n", path.string().c_str());
}

// Searches every wanted life of one level; false when one of them found no way.
bool solveLevel(const Options& options, const std::string& level) {
    const std::string name = replay::levelNameOf(level);
    if (name == kTitleLevel) {
        std::printf("levelbot: %s is the title level, which nobody plays: skipped\n", name.c_str());
        return true;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!replay::levelBytes(level, bytes, error, true)) {
        std::printf("levelbot: %s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    const std::vector<replay::StartPoint> starts = replay::startPoints(bytes);
    const int32_t width = int32_t(bytes[0] | bytes[1] << 8) + 1;
    std::printf("levelbot: %s: %d columns, %zu checkpoints\n", name.c_str(), width,
                starts.size() - 1);
    std::fflush(stdout);

    bool allSolved = true, anyWanted = false;
    for (const replay::StartPoint& start : starts) {
        if (!wanted(options, start)) continue;
        anyWanted = true;
        levelbot::SearchSettings settings = options.settings;
        settings.progress = !options.quiet;
        settings.label = name + (start.checkpoint ? "@" + std::to_string(start.column()) : "");
        const levelbot::SearchResult found =
            levelbot::solveLife(bytes, start, settings, options.maxBeam);
        char searched[160];
        std::snprintf(searched, sizeof searched, "%.1f s, %lld frames searched", found.seconds,
                      static_cast<long long>(found.framesPlayed));
        if (!found.found) {
            allSolved = false;
            std::printf("levelbot: %s %s: NO WAY (%s)\n", name.c_str(),
                        describeStart(start).c_str(), searched);
            for (const std::string& line : found.failureReport())
                std::printf("    %s\n", line.c_str());
            if (!options.stuck.empty()) writeClosestWay(options, name, starts, start, found);
            std::fflush(stdout);
            continue;
        }
        // The way is played once more from a fresh start, exactly as the replay tests will.
        const replay::LifeResult check = replay::playLife(bytes, start.x, start.y, found.frames);
        if (!check.finished()) {
            allSolved = false;
            std::printf("levelbot: %s %s: the way found does not play back: %s\n", name.c_str(),
                        describeStart(start).c_str(), check.summary().c_str());
            continue;
        }
        const replay::Replay way = replay::replayOf(name, start.x, start.y, found.frames);
        std::string written;
        if (options.write) {
            const fs::path path =
                fs::path(options.out) / replay::replayFileName(way, columnShared(starts, start));
            const std::vector<std::string> comment = {
                name + " " + describeStart(start) + ": " + std::to_string(check.frames) +
                    " frames, " + std::to_string(check.timeLeft) + " to spare",
                "Found by levelbot; held controls per frame after the frozen start of the life."};
            if (!replay::writeReplayFile(path.string(), way, comment)) {
                std::printf("levelbot: cannot write %s\n", path.string().c_str());
                allSolved = false;
                continue;
            }
            written = " -> " + path.string();
        }
        std::printf("levelbot: %s %s: %d frames, %d to spare (%s)%s\n", name.c_str(),
                    describeStart(start).c_str(), check.frames, check.timeLeft, searched,
                    written.c_str());
        std::fflush(stdout);
    }
    if (!anyWanted) {
        std::printf("levelbot: %s: no life starts at %s\n", name.c_str(), options.from.c_str());
        return false;
    }
    if (options.write && options.from.empty() && allSolved)
        for (const std::string& removed : replay::removeStaleReplays(options.out, name, starts))
            std::printf("levelbot: %s: removed %s, its start is no longer a checkpoint\n",
                        name.c_str(), removed.c_str());
    return allSolved;
}

// Plays one replay back; false when it does not finish the level.
bool playReplay(const Options& options, const std::string& file) {
    replay::Replay way;
    std::string error;
    if (!replay::readReplayFile(file, way, error)) {
        std::printf("levelbot: %s\n", error.c_str());
        return false;
    }
    std::vector<uint8_t> bytes;
    const bool loaded = options.level.empty() ? replay::levelBytesByName(way.level, bytes, error)
                                              : replay::levelBytes(options.level, bytes, error);
    if (!loaded) {
        std::printf("levelbot: %s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    const replay::LifeResult result = replay::playLife(bytes, way.startX, way.startY, way.frames());
    std::printf("levelbot: %s: %s from %d, %d: %s\n", file.c_str(), way.level.c_str(), way.startX,
                way.startY, result.summary().c_str());
    return result.finished();
}

// Every level text of the source tree but the title level.
std::vector<std::string> everyLevel() {
    std::vector<std::string> levels;
    const fs::path folder = fs::path(replay::sourceLevelPath("x")).parent_path();
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored))
        if (entry.path().extension() == ".lvl" && entry.path().stem() != kTitleLevel)
            levels.push_back(entry.path().string());
    std::sort(levels.begin(), levels.end());
    return levels;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    options.out = replay::replayDirectory();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--replay") options.replayMode = true;
        else if (arg == "--all") options.all = true;
        else if (arg == "--no-write") options.write = false;
        else if (arg == "--quiet") options.quiet = true;
        else if (arg == "--out" && hasValue) options.out = argv[++i];
        else if (arg == "--data" && hasValue) options.data = argv[++i];
        else if (arg == "--level" && hasValue) options.level = argv[++i];
        else if (arg == "--from" && hasValue) options.from = argv[++i];
        else if (arg == "--stuck" && hasValue) options.stuck = argv[++i];
        else if (arg == "--beam" && hasValue) {
            if (!positive(argv[++i], options.settings.beamWidth)) return usage();
        } else if (arg == "--max-beam" && hasValue) {
            if (!positive(argv[++i], options.maxBeam)) return usage();
        } else if (arg == "--step" && hasValue) {
            if (!positive(argv[++i], options.settings.stepFrames)) return usage();
        } else if (arg == "--progress-every" && hasValue) {
            if (!positive(argv[++i], options.settings.progressEveryMs)) return usage();
        } else if (arg == "--per-cell" && hasValue) {
            if (!positive(argv[++i], options.settings.perCell)) return usage();
        } else if (!arg.empty() && arg[0] != '-') {
            (options.replayMode ? options.replays : options.levels).push_back(arg);
        } else {
            return usage();
        }
    }
    if (options.all) {
        if (options.replayMode) return usage();
        const std::vector<std::string> every = everyLevel();
        options.levels.insert(options.levels.end(), every.begin(), every.end());
    }
    if (options.replayMode ? options.replays.empty() || !options.levels.empty()
                           : options.levels.empty())
        return usage();

    // Paths are taken as given; the archives are found from the data folder.
    std::error_code ignored;
    auto absolute = [&](std::string& path) {
        if (fs::exists(path)) path = fs::absolute(path, ignored).string();
    };
    for (std::string& path : options.levels) absolute(path);
    for (std::string& path : options.replays) absolute(path);
    if (!options.level.empty()) absolute(options.level);
    if (options.write && !options.replayMode) {
        fs::create_directories(options.out, ignored);
        options.out = fs::absolute(options.out, ignored).string();
    }
    if (!options.stuck.empty()) {
        fs::create_directories(options.stuck, ignored);
        options.stuck = fs::absolute(options.stuck, ignored).string();
    }
    if (chdir(options.data.c_str()) == 0) archive::openArchives();

    bool allGood = true;
    if (options.replayMode) {
        for (const std::string& file : options.replays)
            allGood = playReplay(options, file) && allGood;
    } else {
        for (const std::string& level : options.levels)
            allGood = solveLevel(options, level) && allGood;
    }
    archive::closeArchives();
    return allGood ? 0 : 1;
}
