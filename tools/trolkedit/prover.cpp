// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What levelbot prints, and how it is read here:
//
//   levelbot: NAME from the start: 2412 frames, 4588 to spare (3.1 s, ...) -> DIR/NAME.rpl
//   levelbot: NAME from the checkpoint at column 57, row 7: NO WAY (68.9 s, ...)
//       no way found: ...                          (the report, indented by four blanks)
//       the way to the closest state: DIR/NAME@57.stuck
//
// and on standard error its progress line, "levelbot: NAME@57: frame 1200, best x ...".
// Exit status 0 when every life has a way, 1 when one has none, anything else is a fault.

#include "prover.h"

#include "tool_files.h"

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace trolkedit {

namespace {

constexpr std::string_view kBotPrefix = "levelbot: ";
constexpr std::string_view kReportIndent = "    ";
constexpr std::string_view kNoWay = "NO WAY";
constexpr std::string_view kWrittenTo = " -> ";
constexpr std::string_view kClosestWay = "the way to the closest state: ";
constexpr int kBotFoundAll = 0;
constexpr int kBotFoundNotAll = 1;

// The bot's words for a life's start.
std::string describeStart(const replay::StartPoint& start) {
    if (!start.checkpoint) return "from the start";
    return "from the checkpoint at column " + std::to_string(start.column()) + ", row " +
           std::to_string(start.row());
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

void removeScratch(Prover& prover) {
    if (prover.scratch.empty()) return;
    std::error_code ignored;
    fs::remove_all(prover.scratch, ignored);
    prover.scratch.clear();
}

bool makeScratch(Prover& prover) {
    if (!prover.scratch.empty()) return true;
    std::string pattern = (fs::temp_directory_path() / "trolkedit-proof-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    prover.scratch = pattern;
    return true;
}

bool readWay(const std::string& path, LifeProof& life) {
    std::vector<uint8_t> bytes;
    if (!tool_files::readFile(path, bytes)) return false;
    const std::string text(bytes.begin(), bytes.end());
    replay::ParseError error;
    const std::optional<replay::Replay> way = replay::parseReplay(text, error);
    if (!way) return false;
    life.way = *way;
    life.wayText = text;
    life.hasWay = true;
    return true;
}

void fail(Prover& prover, std::string problem) {
    stopChild(prover.child);
    prover.state = PROVER_FAILED;
    prover.problem = std::move(problem);
}

// A line of the bot about one life: how it went, and where the way is.
void readLifeLine(Prover& prover, LifeProof& life, std::string_view outcome) {
    life.outcome = std::string(outcome);
    if (startsWith(outcome, kNoWay)) {
        life.state = LIFE_NO_WAY;
        prover.reportOf = int(&life - prover.lives.data());
        return;
    }
    const size_t arrow = outcome.find(kWrittenTo);
    if (arrow == std::string_view::npos) {  // found but not kept, or not playing back
        life.state = LIFE_NO_WAY;
        return;
    }
    const std::string path(outcome.substr(arrow + kWrittenTo.size()));
    life.outcome = std::string(outcome.substr(0, arrow));
    life.fileName = fs::path(path).filename().string();
    life.state = readWay(path, life) ? LIFE_FOUND : LIFE_NO_WAY;
}

void readOutLine(Prover& prover, std::string_view line) {
    if (startsWith(line, kReportIndent)) {
        if (prover.reportOf < 0) return;
        LifeProof& life = prover.lives[size_t(prover.reportOf)];
        const std::string_view text = line.substr(kReportIndent.size());
        if (startsWith(text, kClosestWay))
            readWay(std::string(text.substr(kClosestWay.size())), life);
        else life.report.emplace_back(text);
        return;
    }
    prover.reportOf = -1;
    if (!startsWith(line, kBotPrefix)) return;
    const std::string_view about = line.substr(kBotPrefix.size());
    for (LifeProof& life : prover.lives) {
        const std::string lead = prover.levelName + " " + describeStart(life.start) + ": ";
        if (startsWith(about, lead)) return readLifeLine(prover, life, about.substr(lead.size()));
    }
    // Anything else said about the level as a whole: the title level is skipped, or the level
    // file could not be read.
    const std::string lead = prover.levelName + " ";
    if (startsWith(about, lead) && about.find(" columns, ") == std::string_view::npos)
        prover.problem = std::string(about);
}

void finish(Prover& prover) {
    if (!prover.child.startError.empty()) {
        prover.state = PROVER_FAILED;
        prover.problem = prover.child.startError;
        return;
    }
    const int status = prover.child.exitStatus;
    if (status != kBotFoundAll && status != kBotFoundNotAll) {
        prover.state = PROVER_FAILED;
        if (prover.problem.empty())
            prover.problem = status < 0
                                 ? "the level bot was stopped by a signal"
                                 : "the level bot ended with status " + std::to_string(status);
        return;
    }
    prover.state = PROVER_DONE;
    for (LifeProof& life : prover.lives)
        if (life.state == LIFE_SEARCHING) {
            life.state = LIFE_NO_WAY;
            if (prover.problem.empty()) prover.problem = "the level bot said nothing on some lives";
        }
}

std::vector<std::string> botArguments(const Prover& prover, const ProverSettings& settings,
                                      const fs::path& level) {
    std::vector<std::string> argv{settings.levelbot,
                                  "--out",
                                  (prover.scratch / "ways").string(),
                                  "--stuck",
                                  (prover.scratch / "stuck").string(),
                                  "--data",
                                  prover.scratch.string(),
                                  "--progress-every",
                                  std::to_string(settings.progressEveryMs)};
    const std::pair<const char*, int32_t> limits[] = {{"--beam", settings.beam},
                                                      {"--max-beam", settings.maxBeam},
                                                      {"--step", settings.step},
                                                      {"--per-cell", settings.perCell}};
    for (const auto& [option, value] : limits) {
        if (value <= 0) continue;
        argv.push_back(option);
        argv.push_back(std::to_string(value));
    }
    argv.push_back(level.string());
    return argv;
}

}  // namespace

Prover::~Prover() {
    cancelProving(*this);
    removeScratch(*this);
}

bool startProving(Prover& prover, const Document& doc, const ProverSettings& settings) {
    cancelProving(prover);
    prover.revision = doc.revision;
    prover.levelName = levelName(doc);
    prover.levelBytes = level_text::levelFileBytes(doc.level);
    if (!doc.findings.empty()) {
        fail(prover, "the level breaks a rule of the checker: " + doc.findings.front().message);
        return false;
    }
    for (const replay::StartPoint& start : replay::startPoints(prover.levelBytes)) {
        LifeProof life;
        life.start = start;
        prover.lives.push_back(std::move(life));
    }
    if (!makeScratch(prover)) {
        fail(prover, "no scratch folder for the level bot");
        return false;
    }
    const fs::path level = prover.scratch / (prover.levelName + ".bin");
    std::ofstream out(level, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(prover.levelBytes.data()),
              std::streamsize(prover.levelBytes.size()));
    out.close();
    if (!out) {
        fail(prover, "cannot write the level for the bot to " + level.string());
        return false;
    }
    std::string error;
    if (!startChild(prover.child, botArguments(prover, settings, level), error)) {
        fail(prover, error);
        return false;
    }
    prover.state = PROVER_RUNNING;
    return true;
}

bool updateProver(Prover& prover) {
    if (prover.state != PROVER_RUNNING) return false;
    std::vector<std::string> out, err;
    const bool running = readChild(prover.child, out, err);
    for (const std::string& line : out) readOutLine(prover, line);
    for (const std::string& line : err)
        if (startsWith(line, kBotPrefix)) prover.progress = line.substr(kBotPrefix.size());
        else prover.problem = line;  // a usage line, a fatal error
    if (!running) finish(prover);
    return !out.empty() || !err.empty() || !running;
}

void cancelProving(Prover& prover) {
    stopChild(prover.child);
    prover.state = PROVER_IDLE;
    prover.revision = -1;
    prover.levelBytes.clear();
    prover.progress.clear();
    prover.problem.clear();
    prover.lives.clear();
    prover.reportOf = -1;
}

bool keepProving(Prover& prover, const Document& doc, const ProverSettings& settings) {
    if (prover.state != PROVER_RUNNING || proofIsCurrent(prover, doc)) return false;
    startProving(prover, doc, settings);
    return true;
}

bool proofIsCurrent(const Prover& prover, const Document& doc) {
    return prover.revision == doc.revision && prover.levelName == levelName(doc);
}

fs::path replayFolderFor(const std::string& levelPath) {
    std::error_code ignored;
    const fs::path folder = fs::absolute(levelPath, ignored).parent_path();
    const fs::path beside = folder.parent_path() / "replays";
    if (folder.filename() == "levels" && fs::is_directory(beside, ignored)) return beside;
    return folder;
}

bool saveReplays(const Prover& prover, const Document& doc, const fs::path& folder,
                 std::vector<std::string>& written, std::vector<std::string>& removed,
                 std::string& message) {
    if (prover.state != PROVER_DONE || !proofIsCurrent(prover, doc)) {
        message = "no proof of the level as it is now";
        return false;
    }
    bool allFound = true;
    for (const LifeProof& life : prover.lives) {
        if (life.state != LIFE_FOUND) {
            allFound = false;
            continue;
        }
        const fs::path path = folder / life.fileName;
        if (!tool_files::writeFileReplacing(
                path, std::vector<uint8_t>(life.wayText.begin(), life.wayText.end()))) {
            message = path.string() + ": cannot write the replay";
            return false;
        }
        written.push_back(path.string());
    }
    if (written.empty()) {
        message = "the bot found no way to save";
        return false;
    }
    if (allFound) {
        std::vector<replay::StartPoint> starts;
        for (const LifeProof& life : prover.lives) starts.push_back(life.start);
        removed = replay::removeStaleReplays(folder.string(), prover.levelName, starts);
    }
    return true;
}

}  // namespace trolkedit
