// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Replay texts: reading them line by line with the line number of every fault, writing them
// with one line per run of equal controls.

#include "replay.h"

#include "playback.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace replay {

namespace {

constexpr char kCommentChar = ';';
constexpr int32_t kMostFrames = 1 << 24;  // far beyond any life; keeps sums in range

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The blank-separated words of a line.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> found;
    size_t at = 0;
    while (at < line.size()) {
        const size_t first = line.find_first_not_of(" \t\r", at);
        if (first == std::string_view::npos) break;
        size_t end = line.find_first_of(" \t\r", first);
        if (end == std::string_view::npos) end = line.size();
        found.push_back(line.substr(first, end - first));
        at = end;
    }
    return found;
}

std::optional<int32_t> number(std::string_view word) {
    int32_t value = 0;
    const auto [end, fault] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (fault != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return value;
}

bool validLevelName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
    return true;
}

}  // namespace

int32_t Replay::frameCount() const {
    int32_t count = 0;
    for (const ControlRun& run : runs) count += run.frames;
    return count;
}

std::vector<world::Controls> Replay::frames() const {
    std::vector<world::Controls> all;
    all.reserve(size_t(frameCount()));
    for (const ControlRun& run : runs) all.insert(all.end(), size_t(run.frames), run.controls);
    return all;
}

void Replay::append(const world::Controls& controls, int32_t count) {
    if (count <= 0) return;
    if (!runs.empty() && sameControls(runs.back().controls, controls)) runs.back().frames += count;
    else runs.push_back({controls, count});
}

Replay replayOf(std::string_view level, int32_t startX, int32_t startY,
                const std::vector<world::Controls>& frames) {
    Replay replay;
    replay.level = std::string(level);
    replay.startX = startX;
    replay.startY = startY;
    for (const world::Controls& controls : frames) replay.append(controls);
    return replay;
}

bool sameControls(const world::Controls& a, const world::Controls& b) {
    return a.left == b.left && a.right == b.right && a.jump == b.jump && a.down == b.down;
}

std::string controlsName(const world::Controls& controls) {
    std::string name;
    if (controls.left) name += 'L';
    if (controls.right) name += 'R';
    if (controls.jump) name += 'J';
    if (controls.down) name += 'D';
    return name.empty() ? "-" : name;
}

std::optional<world::Controls> parseControls(std::string_view name) {
    if (name == "-") return world::Controls{};
    if (name.empty()) return std::nullopt;
    world::Controls controls;
    for (char c : name) {
        bool* held = nullptr;
        switch (c) {
        case 'L': held = &controls.left; break;
        case 'R': held = &controls.right; break;
        case 'J': held = &controls.jump; break;
        case 'D': held = &controls.down; break;
        default: return std::nullopt;
        }
        if (*held) return std::nullopt;
        *held = true;
    }
    if (controls.left && controls.right) return std::nullopt;
    return controls;
}

std::optional<Replay> parseReplay(std::string_view text, ParseError& error) {
    Replay replay;
    bool haveLevel = false, haveStart = false, haveFrames = false, ended = false;
    int32_t promised = 0, counted = 0;
    int lineNumber = 0;
    auto fail = [&](const std::string& message) -> std::optional<Replay> {
        error = {lineNumber, message};
        return std::nullopt;
    };

    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trim(text.substr(at, end - at));
        at = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == kCommentChar) continue;
        if (ended) return fail("text after \"end\"");

        const std::vector<std::string_view> w = words(line);
        const std::string_view head = w[0];
        if (head == "level") {
            if (haveLevel) return fail("a second \"level\" line");
            if (w.size() != 2 || !validLevelName(w[1]))
                return fail("\"level\" wants one level name of letters, digits, '_' or '-'");
            replay.level = std::string(w[1]);
            haveLevel = true;
        } else if (head == "start") {
            if (haveStart) return fail("a second \"start\" line");
            const std::optional<int32_t> x = w.size() == 3 ? number(w[1]) : std::nullopt;
            const std::optional<int32_t> y = w.size() == 3 ? number(w[2]) : std::nullopt;
            if (!x || !y) return fail("\"start\" wants two whole numbers: x and y in pixels");
            replay.startX = *x;
            replay.startY = *y;
            haveStart = true;
        } else if (head == "frames") {
            if (haveFrames) return fail("a second \"frames\" line");
            const std::optional<int32_t> n = w.size() == 2 ? number(w[1]) : std::nullopt;
            if (!n || *n < 0 || *n > kMostFrames)
                return fail("\"frames\" wants the number of frames, 0 or more");
            promised = *n;
            haveFrames = true;
        } else if (head == "end") {
            if (w.size() != 1) return fail("\"end\" stands alone on its line");
            ended = true;
        } else {
            if (!haveLevel || !haveStart || !haveFrames)
                return fail("controls before the \"level\", \"start\" and \"frames\" lines");
            const std::optional<world::Controls> controls = parseControls(head);
            if (!controls)
                return fail("unknown controls \"" + std::string(head) +
                            "\": letters L, R, J, D (never L with R) or -");
            const std::optional<int32_t> n = w.size() == 2 ? number(w[1]) : std::nullopt;
            if (!n || *n <= 0) return fail("controls want a frame count of 1 or more");
            if (*n > kMostFrames - counted) return fail("more frames than \"frames\" says");
            counted += *n;
            if (counted > promised) return fail("more frames than \"frames\" says");
            replay.append(*controls, *n);
        }
    }
    lineNumber = std::max(lineNumber, 1);  // what is missing is missing at the end
    if (!haveLevel) return fail("no \"level\" line");
    if (!haveStart) return fail("no \"start\" line");
    if (!haveFrames) return fail("no \"frames\" line");
    if (!ended) return fail("no \"end\" line: the file may be cut short");
    if (counted != promised)
        return fail("the controls hold " + std::to_string(counted) + " frames, \"frames\" says " +
                    std::to_string(promised));
    return replay;
}

std::string formatReplay(const Replay& replay, const std::vector<std::string>& comment) {
    std::ostringstream out;
    for (const std::string& line : comment) out << kCommentChar << ' ' << line << '\n';
    out << "level " << replay.level << '\n';
    out << "start " << replay.startX << ' ' << replay.startY << '\n';
    out << "frames " << replay.frameCount() << '\n';
    for (const ControlRun& run : replay.runs)
        out << controlsName(run.controls) << ' ' << run.frames << '\n';
    out << "end\n";
    return out.str();
}

bool readReplayFile(const std::string& path, Replay& replay, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    ParseError fault;
    std::optional<Replay> parsed = parseReplay(content.str(), fault);
    if (!parsed) {
        error = path + ":" + std::to_string(fault.line) + ": " + fault.message;
        return false;
    }
    replay = std::move(*parsed);
    return true;
}

bool writeReplayFile(const std::string& path, const Replay& replay,
                     const std::vector<std::string>& comment) {
    // Written beside the old file and renamed over it, so a replay is never left half written.
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << formatReplay(replay, comment);
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string replayFileName(const Replay& replay, bool withRow) {
    std::string name = replay.level;
    if (replay.startX != world::kRestartStartX || replay.startY != world::kRestartStartY) {
        name += '@' + std::to_string(replay.startX / world::kTileSize);
        if (withRow) name += '.' + std::to_string(replay.startY / world::kTileSize);
    }
    return name + std::string(kReplayExtension);
}

std::vector<std::string> removeStaleReplays(const std::string& directory, const std::string& level,
                                            const std::vector<StartPoint>& starts) {
    namespace fs = std::filesystem;
    std::vector<std::string> removed;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, ignored)) {
        if (entry.path().extension() != kReplayExtension) continue;
        Replay old;
        std::string error;
        if (!readReplayFile(entry.path().string(), old, error) || old.level != level) continue;
        bool current = false;
        for (const StartPoint& start : starts)
            current = current || (start.x == old.startX && start.y == old.startY);
        if (!current && fs::remove(entry.path(), ignored)) removed.push_back(entry.path().string());
    }
    return removed;
}

}  // namespace replay
