// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editing session behind the window: the level being edited, the part of it in view, the
// legend character that paints (the brush), a stroke of the mouse under way, the line the
// last command left, and the proof, kept up to date while it is wanted. Everything here works
// without a window: the window's input turns into these calls and its drawing only reads the
// record, so the tests drive the editor through them as the mouse and the keys would.
//
// A stroke is one step to undo: the cells painted while a button is held are joined into one
// change when it is let go; a fill takes the rectangle between the cell where the button went
// down and the cell where it came up. While proving, a change of the level restarts the bot
// once the editing has paused for a moment, so that a stroke does not restart it cell by cell.

#include "layout.h"
#include "level_counts.h"
#include "level_document.h"
#include "palette.h"
#include "prover.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trolkedit {

constexpr uint32_t kProofRestartPauseMs = 400;  // editing must pause this long

struct SessionSettings {
    std::string sharedLegend = level_text::sharedLegendPath();  // for a level with none beside it
    std::string gameDir = ".";  // the game's folder: the test map goes to its maps/test.bin
    std::string startFolder;    // paths in messages are shown relative to it, when set
    ProverSettings prover;
};

// Where a level given on the command line is read from and saved to.
struct LevelPlace {
    std::string readPath;
    std::string savePath;
    std::string problem;  // not empty: no level could be found
};

enum class Stroke { None, Paint, Erase, Fill };

// Where "play here" starts a life.
enum class PlayFrom { LevelStart, Checkpoint, Cell };

struct PlayRequest {
    int32_t x = 0;  // the restart point, world pixels
    int32_t y = 0;
    std::string from;  // "the level start", "the checkpoint at column 57", ...
};

// How a status line reads: plain, or on a band that warns or tells of success.
enum class Tone { Plain, Warning, Good };

struct StatusLine {
    std::string text;
    Tone tone = Tone::Plain;
};

struct Session {
    SessionSettings settings;
    Document doc;
    bool open = false;    // false: no level could be opened; nothing is changed or saved
    std::string problem;  // why not
    char brush = '#';
    int viewX = 0;  // level pixel at the left edge of the map view
    int scale = 2;  // window pixels per level pixel
    bool grid = false;
    bool numbers = true;
    bool help = false;
    bool report = true;         // the proof's report over the map
    std::optional<Cell> hover;  // the cell under the mouse
    Stroke stroke = Stroke::None;
    Cell strokeFrom;
    std::optional<Cell> strokeLast;
    size_t strokeDepth = 0;   // the undo stack's depth when the stroke began
    std::string message;      // what the last command did, or why it did not
    bool closeAsked = false;  // a close with unsaved changes was refused once
    bool quit = false;
    std::optional<PlayRequest> play;  // a life to play, for the window to start
    // The proof.
    Prover prover;
    bool proving = false;
    int proofVersion = 0;  // grows whenever the ways to draw change
    int decidedLives = 0;
    int64_t seenRevision = 0;  // the document revision last seen by tickSession
    uint32_t changedAtMs = 0;  // when it changed
    // What the drawing reads, kept for the current revision.
    std::vector<PaletteGroup> palette;
    LevelCounts counts;
    int64_t cachedRevision = -1;
};

// Where a command-line argument names a level: a path as given (a new level when there is no
// such file), or a name: NAME.lvl in the current folder, else the game's NAME.lvl in
// `levelsDir`, saved as ./NAME.lvl when that folder cannot be written.
LevelPlace placeOfLevel(const std::string& argument, const std::string& levelsDir);
// Opens the level (or makes a new one); on failure the session shows the one-line problem and
// refuses every change.
void openSession(Session& session, const LevelPlace& place);
// Brings the palette and the counts up to the document's revision.
void refreshSession(Session& session);

// Scrolling by level pixels, or to a place, kept within the level.
void scrollBy(Session& session, const Layout& layout, int pixels);
void scrollTo(Session& session, const Layout& layout, int viewX);
// The brush becomes the character, when the level's legend has it.
bool chooseBrush(Session& session, char character);

// A stroke of the mouse: begun at a cell, moved over cells, ended where the button came up.
void beginStroke(Session& session, Stroke stroke, Cell cell);
void strokeTo(Session& session, Cell cell);
void endStroke(Session& session);
// The brush becomes the cell's character.
void pickUp(Session& session, Cell cell);
// Columns of air inserted before column `at`, or deleted from column `first` on.
void insertColumnsAt(Session& session, int at, int count);
void deleteColumnsAt(Session& session, int first, int count);
void undoStep(Session& session);
void redoStep(Session& session);

// The level text saved to its file; the level file written as the game's test map
// (gameDir/maps/test.bin: a link there to another maps folder becomes a folder of its own);
// the proof's ways saved as replays beside the level.
void saveText(Session& session);
void writeTestMap(Session& session);
void saveWays(Session& session);

// Starts proving, or stops and forgets the proof.
void toggleProof(Session& session);
// Once a frame: reads the bot, and restarts it on a changed level after a pause in editing.
void tickSession(Session& session, uint32_t nowMs);

// Asks for a life to play from the level start, from the checkpoint at or left of the cell
// under the mouse (the first one when there is none), or from the cell under the mouse.
void requestPlay(Session& session, PlayFrom from);
// The window's close button or Ctrl+Q: quits, unless there are unsaved changes and this is the
// first ask.
void askToQuit(Session& session);

// The status lines: the counts, the cell under the mouse (or the brush), the checker, the
// proof, and the last command's line.
std::array<StatusLine, kStatusLines> statusLines(const Session& session);
// The proof's report, line by line: how each life went, and where the bot got stuck.
std::vector<std::string> proofReport(const Session& session);
// The keys and the mouse, for the help over the map.
const std::vector<std::string>& helpLines();
// A path as the messages show it: relative to the folder the editor was started in, when it
// lies below it.
std::string shownPath(const Session& session, const std::string& path);
// The palette entry of a character, or none.
const PaletteEntry* entryOf(const Session& session, char character);

}  // namespace trolkedit
