// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every command leaves one line in `message` when it did something worth saying or could not
// do what was asked; edits that simply happened say nothing, the map shows them.

#include "session.h"

#include "level_edits.h"
#include "world/level.h"

#include <algorithm>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trolkedit {

namespace {

constexpr char kDefaultBrush = '#';
constexpr const char* kLevelExtension = ".lvl";

std::string quoted(char c) { return std::string("'") + c + "'"; }

bool refuseClosed(Session& session) {
    if (session.open) return false;
    session.message = "nothing to edit: " + session.problem;
    return true;
}

// A command other than quitting takes back a refused close.
void command(Session& session) {
    session.closeAsked = false;
    session.message.clear();
}

void report(Session& session, const EditResult& result) {
    if (result.outcome == EDIT_REFUSED) session.message = result.why;
}

std::string entryText(const Session& session, char c) {
    std::string text = quoted(c) + " " + std::to_string(session.doc.level.legend.codeOf(c));
    if (const PaletteEntry* entry = entryOf(session, c); entry && !entry->name.empty())
        text += " " + entry->name;
    return text;
}

// Whether files may be written into the folder: the system lets us, and it is not marked
// read-only (as an installed game's folders are, which even root should leave alone).
bool writable(const fs::path& folder) {
    const fs::path at = folder.empty() ? fs::path(".") : folder;
    std::error_code error;
    const fs::perms perms = fs::status(at, error).permissions();
    return !error && access(at.c_str(), W_OK) == 0 &&
           (perms & fs::perms::owner_write) != fs::perms::none;
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string countsText(const Session& session) {
    const LevelCounts& c = session.counts;
    std::string text = fs::path(session.doc.path).filename().string();
    if (isModified(session.doc)) text += " (changed)";
    text += "   width " + std::to_string(c.width) + "   items " + std::to_string(c.items) +
            "   extra lives " + std::to_string(c.extraLives) + "   enemies " +
            std::to_string(c.enemies) + "   checkpoints " + std::to_string(c.checkpoints.size());
    text += c.door ? "   door at column " + std::to_string(c.door->column) : "   no door";
    return text;
}

std::string cellText(const Session& session) {
    if (!session.hover || !inLevel(session.doc, *session.hover))
        return "brush " + entryText(session, session.brush);
    const Cell cell = *session.hover;
    std::string text = "column " + std::to_string(cell.column) + ", row " +
                       std::to_string(cell.row) + ": " +
                       entryText(session, characterAt(session.doc, cell));
    for (const Finding& finding : session.doc.findings)
        if (finding.cell == cell) text += "   (" + finding.message + ")";
    return text + "   brush " + quoted(session.brush);
}

StatusLine checkerLine(const Session& session) {
    const std::vector<Finding>& findings = session.doc.findings;
    if (findings.empty()) return {"the checker finds nothing against the level", Tone::Good};
    std::string text = findings.size() == 1
                           ? "the checker: " + findings.front().message
                           : "the checker, " + plural(int(findings.size()), "rule", "rules") +
                                 " broken: " + findings.front().message;
    return {text, Tone::Warning};
}

int livesIn(const Prover& prover, LifeState state) {
    return int(std::count_if(prover.lives.begin(), prover.lives.end(),
                             [state](const LifeProof& life) { return life.state == state; }));
}

std::string startName(const replay::StartPoint& start) {
    if (!start.checkpoint) return "the start";
    return "the checkpoint at column " + std::to_string(start.column()) + ", row " +
           std::to_string(start.row());
}

StatusLine proofLine(const Session& session) {
    const Prover& prover = session.prover;
    if (!session.proving) return {"F8 proves the level: the bot plays every life", Tone::Plain};
    if (!proofIsCurrent(prover, session.doc))
        return {"the level changed: the bot starts again", Tone::Plain};
    const int lives = int(prover.lives.size());
    const int found = livesIn(prover, LIFE_FOUND), stuck = livesIn(prover, LIFE_NO_WAY);
    switch (prover.state) {
    case PROVER_IDLE: break;
    case PROVER_FAILED: return {"cannot prove: " + prover.problem, Tone::Warning};
    case PROVER_RUNNING:
        return {"proving, " + std::to_string(found + stuck) + " of " +
                    plural(lives, "life", "lives") + " done: " + prover.progress,
                Tone::Plain};
    case PROVER_DONE:
        if (stuck == 0)
            return {"proved: every life has a way (" + plural(lives, "life", "lives") +
                        "); Ctrl+R saves the replays",
                    Tone::Good};
        for (const LifeProof& life : prover.lives)
            if (life.state == LIFE_NO_WAY)
                return {"NO WAY from " + startName(life.start) + " (" + std::to_string(stuck) +
                            " of " + plural(lives, "life", "lives") +
                            " without a way); F10: the report",
                        Tone::Warning};
    }
    return {};
}

// The maps folder of the game's folder, made a folder of its own when it is a link (the
// launcher links it to the installed maps, which are not the player's to change).
bool ownMapsFolder(const fs::path& maps, std::string& why) {
    std::error_code error;
    if (fs::is_symlink(maps, error)) {
        fs::remove(maps, error);
        if (error) {
            why = maps.string() + ": cannot replace the link: " + error.message();
            return false;
        }
    }
    fs::create_directories(maps, error);
    if (error) {
        why = maps.string() + ": " + error.message();
        return false;
    }
    return true;
}

// The column under the mouse, or the first one in view.
int columnOfInterest(const Session& session) {
    return session.hover ? session.hover->column : session.viewX / kCellSize;
}

}  // namespace

LevelPlace placeOfLevel(const std::string& argument, const std::string& levelsDir) {
    const fs::path given(argument);
    std::error_code ignored;
    if (given.has_parent_path() || given.extension() == kLevelExtension ||
        fs::exists(given, ignored))
        return {argument, argument, {}};
    const fs::path here = argument + kLevelExtension;
    if (fs::exists(here, ignored)) return {here.string(), here.string(), {}};
    const fs::path game = fs::path(levelsDir) / here;
    if (!fs::exists(game, ignored))
        return {{},
                {},
                "no level named " + argument + " (neither " + here.string() + " nor " +
                    game.string() + ")"};
    return {game.string(), writable(fs::path(levelsDir)) ? game.string() : here.string(), {}};
}

void openSession(Session& session, const LevelPlace& place) {
    session.open = false;
    session.problem = place.problem;
    session.viewX = 0;
    if (!place.problem.empty()) {
        session.message = place.problem;
        return;
    }
    std::error_code ignored;
    std::string message;
    const std::string legend = legendPathFor(place.readPath, session.settings.sharedLegend);
    bool opened = false;
    if (!fs::exists(place.readPath, ignored)) {
        opened = openLevelText("", place.savePath, legend, session.doc, message);
        if (opened) message = "a new level: nothing is on disk until Ctrl+S saves it";
    } else {
        std::string text;
        if (fs::is_directory(place.readPath, ignored) ||
            !level_text::readTextFile(place.readPath, text))
            message = shownPath(session, place.readPath) + ": cannot read the level";
        else opened = openLevelText(text, place.savePath, legend, session.doc, message);
        if (opened && place.savePath != place.readPath)
            message = shownPath(session, place.readPath) +
                      " cannot be changed there: Ctrl+S saves it as " +
                      shownPath(session, place.savePath);
    }
    // The compiler names the file as it was given; the status line names it as the user did.
    if (message.rfind(place.savePath, 0) == 0)
        message.replace(0, place.savePath.size(), shownPath(session, place.savePath));
    session.open = opened;
    session.problem = opened ? std::string() : message;
    session.message = message;
    session.cachedRevision = -1;
    refreshSession(session);
    if (opened && session.doc.level.legend.codeOf(kDefaultBrush) < 0 && !session.palette.empty())
        session.brush = session.palette.front().entries.front().character;
}

void refreshSession(Session& session) {
    if (!session.open || session.cachedRevision == session.doc.revision) return;
    // A column taken out (or an insert undone) may leave the mouse beyond the level.
    if (session.hover && !inLevel(session.doc, *session.hover)) session.hover.reset();
    session.palette = paletteOf(session.doc);
    session.counts = countLevel(session.doc.level);
    session.cachedRevision = session.doc.revision;
}

void scrollBy(Session& session, const Layout& layout, int pixels) {
    scrollTo(session, layout, session.viewX + pixels);
}

void scrollTo(Session& session, const Layout& layout, int viewX) {
    const int columns = session.open ? session.doc.level.width : 0;
    session.viewX = std::clamp(viewX, 0, lastViewX(layout, columns));
}

bool chooseBrush(Session& session, char character) {
    command(session);
    if (refuseClosed(session)) return false;
    if (session.doc.level.legend.codeOf(character) < 0) {
        session.message = "the character " + quoted(character) + " is not in the legend";
        return false;
    }
    session.brush = character;
    return true;
}

void beginStroke(Session& session, Stroke stroke, Cell cell) {
    command(session);
    if (refuseClosed(session) || !inLevel(session.doc, cell)) return;
    session.stroke = stroke;
    session.strokeFrom = cell;
    session.strokeLast.reset();
    session.strokeDepth = session.doc.undoStack.size();
    strokeTo(session, cell);
}

void strokeTo(Session& session, Cell cell) {
    if (!inLevel(session.doc, cell) || session.strokeLast == cell) return;
    switch (session.stroke) {
    case Stroke::Paint: report(session, paint(session.doc, cell, session.brush)); break;
    case Stroke::Erase: report(session, erase(session.doc, cell)); break;
    case Stroke::Fill: break;  // the rectangle follows the mouse; it is filled at the end
    case Stroke::None: return;
    }
    session.strokeLast = cell;
}

void endStroke(Session& session) {
    const Stroke stroke = session.stroke;
    session.stroke = Stroke::None;
    if (stroke == Stroke::None) return;
    if (stroke == Stroke::Fill) {
        const Cell to = session.strokeLast.value_or(session.strokeFrom);
        report(session, fill(session.doc, session.strokeFrom, to, session.brush));
        return;
    }
    joinChanges(session.doc, session.strokeDepth);
}

void pickUp(Session& session, Cell cell) {
    command(session);
    if (refuseClosed(session) || !inLevel(session.doc, cell)) return;
    session.brush = characterAt(session.doc, cell);
    session.message = "picked up " + entryText(session, session.brush);
}

void insertColumnsAt(Session& session, int at, int count) {
    command(session);
    if (refuseClosed(session)) return;
    report(session, insertColumns(session.doc, at, count));
}

void deleteColumnsAt(Session& session, int first, int count) {
    command(session);
    if (refuseClosed(session)) return;
    report(session, deleteColumns(session.doc, first, count));
}

void undoStep(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    if (!undo(session.doc)) session.message = "nothing to undo";
}

void redoStep(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    if (!redo(session.doc)) session.message = "nothing to redo";
}

void saveText(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    std::string why;
    if (saveLevel(session.doc, why))
        session.message = "saved " + shownPath(session, session.doc.path);
    else session.message = why;
}

void writeTestMap(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    const fs::path maps = fs::path(session.settings.gameDir) / "maps";
    std::string why;
    if (!ownMapsFolder(maps, why)) {
        session.message = why;
        return;
    }
    const std::string path = testMapPath(session.settings.gameDir);
    if (writeLevelFile(session.doc, path, why))
        session.message = "wrote " + shownPath(session, path) + ": trolk -t plays it";
    else session.message = why;
}

void saveWays(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    std::vector<std::string> written, removed;
    std::string why;
    const fs::path folder = replayFolderFor(session.doc.path);
    if (!saveReplays(session.prover, session.doc, folder, written, removed, why)) {
        session.message = why;
        return;
    }
    session.message = "saved " + plural(int(written.size()), "replay", "replays") + " in " +
                      shownPath(session, folder.string());
    if (!removed.empty())
        session.message += ", removed " + plural(int(removed.size()), "old one", "old ones");
}

void toggleProof(Session& session) {
    command(session);
    if (refuseClosed(session)) return;
    ++session.proofVersion;
    session.decidedLives = 0;
    if (session.proving) {
        cancelProving(session.prover);
        session.proving = false;
        session.message = "the proof is stopped";
        return;
    }
    session.proving = true;
    startProving(session.prover, session.doc, session.settings.prover);
}

void tickSession(Session& session, uint32_t nowMs) {
    refreshSession(session);
    if (session.doc.revision != session.seenRevision) {
        session.seenRevision = session.doc.revision;
        session.changedAtMs = nowMs;
    }
    if (!session.proving) return;
    if (updateProver(session.prover)) {
        const int decided =
            int(session.prover.lives.size()) - livesIn(session.prover, LIFE_SEARCHING);
        if (decided != session.decidedLives || session.prover.state != PROVER_RUNNING) {
            session.decidedLives = decided;
            ++session.proofVersion;
        }
    }
    if (proofIsCurrent(session.prover, session.doc) || session.stroke != Stroke::None ||
        nowMs - session.changedAtMs < kProofRestartPauseMs)
        return;
    startProving(session.prover, session.doc, session.settings.prover);
    session.decidedLives = 0;
    ++session.proofVersion;
}

void requestPlay(Session& session, PlayFrom from) {
    command(session);
    if (refuseClosed(session)) return;
    switch (from) {
    case PlayFrom::LevelStart:
        session.play = PlayRequest{world::kRestartStartX, world::kRestartStartY, "the level start"};
        return;
    case PlayFrom::Checkpoint: {
        const std::vector<Cell>& checkpoints = session.counts.checkpoints;
        if (checkpoints.empty()) {
            session.message = "the level has no checkpoint";
            return;
        }
        const int column = columnOfInterest(session);
        Cell chosen = checkpoints.front();
        for (const Cell& checkpoint : checkpoints)
            if (checkpoint.column <= column) chosen = checkpoint;
        session.play = PlayRequest{chosen.column * kCellSize, chosen.row * kCellSize,
                                   "the checkpoint at column " + std::to_string(chosen.column)};
        return;
    }
    case PlayFrom::Cell:
        if (!session.hover) {
            session.message = "point at a cell of the map to play from it";
            return;
        }
        session.play =
            PlayRequest{session.hover->column * kCellSize, session.hover->row * kCellSize,
                        "column " + std::to_string(session.hover->column) + ", row " +
                            std::to_string(session.hover->row)};
        return;
    }
}

void askToQuit(Session& session) {
    if (session.open && isModified(session.doc) && !session.closeAsked) {
        session.closeAsked = true;
        session.message = "the level has unsaved changes: Ctrl+S saves them; close again (or "
                          "Ctrl+Q) to quit without saving";
        return;
    }
    session.quit = true;
}

std::array<StatusLine, kStatusLines> statusLines(const Session& session) {
    if (!session.open)
        return {StatusLine{session.problem, Tone::Warning},
                {},
                {},
                {},
                StatusLine{"Ctrl+Q quits; nothing is written", Tone::Plain}};
    return {StatusLine{countsText(session), Tone::Plain},
            StatusLine{cellText(session), Tone::Plain}, checkerLine(session), proofLine(session),
            StatusLine{session.message, Tone::Plain}};
}

std::vector<std::string> proofReport(const Session& session) {
    std::vector<std::string> lines;
    if (!session.proving) return lines;
    for (const LifeProof& life : session.prover.lives) {
        if (life.state == LIFE_SEARCHING) {
            lines.push_back("from " + startName(life.start) + ": searching");
            continue;
        }
        lines.push_back("from " + startName(life.start) + ": " + life.outcome);
        for (const std::string& line : life.report) lines.push_back("    " + line);
    }
    return lines;
}

const std::vector<std::string>& helpLines() {
    static const std::vector<std::string> lines = {
        "left button: paint with the brush     right button: erase     shift+left: fill a "
        "rectangle",
        "middle button or ctrl+left: pick up a cell's character     palette: choose the brush",
        "a legend character: choose it as the brush     wheel, arrows, page up/down, home/end: "
        "scroll",
        "insert / delete: a column at the mouse (with shift: ten)     ctrl+z, ctrl+y: undo, redo",
        "ctrl+s: save the text     ctrl+t: write maps/test.bin for trolk -t     ctrl+q: quit",
        "F2 grid   F3 column numbers   F4 scale   F9 graphics style   F1 this help",
        "F5 play from the start   F6 from the checkpoint at the mouse   F7 from the cell at the "
        "mouse",
        "   (escape returns to the map)",
        "F8 prove (again: stop)   F10 the proof's report   ctrl+r: save the replays found",
    };
    return lines;
}

std::string shownPath(const Session& session, const std::string& path) {
    if (session.settings.startFolder.empty()) return path;
    const fs::path relative =
        fs::path(path).lexically_proximate(fs::path(session.settings.startFolder));
    const std::string text = relative.string();
    return text.rfind("..", 0) == 0 ? path : text;
}

const PaletteEntry* entryOf(const Session& session, char character) {
    // The level's own meaning comes last in the palette and wins.
    const PaletteEntry* found = nullptr;
    for (const PaletteGroup& group : session.palette)
        for (const PaletteEntry& entry : group.entries)
            if (entry.character == character) found = &entry;
    return found;
}

}  // namespace trolkedit
