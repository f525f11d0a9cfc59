// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's level: the level text exactly as the file holds it, line by line with each
// line's own ending, and the level compiled from it. Comments, legend lines, blank lines and
// the layout of the map blocks are never rewritten: an edit replaces only the lines it
// touches, so a document saved unedited is the file byte for byte.
//
// Every change is a TextChange (a run of lines and what replaces it). Applying one records it
// for undo; its inverse is the same run the other way round, so an undo gives the earlier
// text back byte for byte. After every change the text is compiled again, which gives the
// cells, where every cell's character stands, the legend in force and the checker's
// findings. A change whose text would not compile is refused and leaves the document as it
// was: the document always holds a level the compiler reads.
//
// No window here and nothing of SDL: the editor's window, its tests and its benchmark all
// drive the same record.

#include "level_check.h"
#include "level_text.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trolkedit {

constexpr int kRows = level_text::kRows;

// One line of the file and the ending it had: "\n", "\r\n", or "" for a last line without
// one (a lone "\r" at the very end of a file is kept as its ending too).
struct TextLine {
    std::string text;
    std::string ending;

    bool operator==(const TextLine&) const = default;
};

// A change of the text: the lines from `first` that were `before` become `after`.
struct TextChange {
    int first = 0;
    std::vector<TextLine> before;
    std::vector<TextLine> after;
    int64_t id = 0;  // tells the states of a document apart, for the modified mark
};

// Where a cell's character stands in the text: line index (from 0) and byte in that line.
struct CellPlace {
    int line = 0;
    int offset = 0;
};

struct Document {
    std::string path;        // the level text on disk
    std::string legendPath;  // the shared legend it is compiled with
    std::string legendText;  // that legend's text, for the palette's groups and names
    level_text::Legend sharedLegend;
    std::vector<TextLine> lines;
    level_text::CompiledLevel level;  // width, cells, places and legend of the current text
    std::vector<Finding> findings;    // what the checker says about the current text
    std::vector<TextChange> undoStack;
    std::vector<TextChange> redoStack;
    int64_t revision = 0;    // grows with every change, undo and redo included
    int64_t nextId = 1;      // the id of the next change
    int64_t savedState = 0;  // the state id at the last load or save; -1: never saved
};

// The shared legend for a level: legend.txt beside it when there is one (as levelc takes
// it), else `sharedLegend` (the game's shared legend unless told otherwise).
std::string legendPathFor(const std::string& levelPath,
                          const std::string& sharedLegend = level_text::sharedLegendPath());

// Loads a level text. A file with no map block at all (an empty file, or only comments and
// legend lines) opens with a starting block added: 21 columns of air over two rows of
// ground, not yet saved. False with one line saying why (the compiler's first diagnostic for
// a damaged file); nothing is written in either case.
[[nodiscard]] bool openLevel(const std::string& path, Document& doc, std::string& message,
                             const std::string& sharedLegend = level_text::sharedLegendPath());
// The same for a level text held in memory (`path` is where it would be saved).
[[nodiscard]] bool openLevelText(std::string_view text, const std::string& path,
                                 const std::string& legendPath, Document& doc,
                                 std::string& message);
// A new level that is not on disk yet: the starting block alone.
[[nodiscard]] bool newLevel(const std::string& path, Document& doc, std::string& message,
                            const std::string& sharedLegend = level_text::sharedLegendPath());

// The whole text as the file would hold it.
std::string documentText(const Document& doc);
// The level's name: its file name without folder and extension ("plan8").
std::string levelName(const Document& doc);
// Whether the text differs from what was last loaded or saved.
bool isModified(const Document& doc);

// The cell's code, and where its character stands; the cell must lie in the level.
int codeAt(const Document& doc, Cell cell);
CellPlace placeOf(const Document& doc, Cell cell);
// The character written for the cell.
char characterAt(const Document& doc, Cell cell);
// Whether the cell lies in the level.
bool inLevel(const Document& doc, Cell cell);

// Makes `lines` the document's text as one change that can be undone; false (document
// untouched) when nothing differs or the new text does not compile. `why` says which.
bool changeLines(Document& doc, std::vector<TextLine> lines, std::string& why);
// Makes the changes done since the undo stack held `depth` changes one change, which one undo
// takes back (a stroke of the mouse painting many cells).
void joinChanges(Document& doc, size_t depth);
// Undoes the last change, or redoes the last undone one; false when there is none.
bool undo(Document& doc);
bool redo(Document& doc);

// Writes the level text to its file, replacing it whole (a new file beside it, renamed over
// it; through a symbolic link to its target; never over a file that may not be written).
// False with one line saying why, and the old file untouched.
[[nodiscard]] bool saveLevel(Document& doc, std::string& message);
// Writes the level file (levelc's output) to `binPath`, when the checker finds nothing;
// false with one line saying why.
[[nodiscard]] bool writeLevelFile(const Document& doc, const std::string& binPath,
                                  std::string& message);
// Where the game's test mode (trolk -t) reads its map: maps/test.bin in the run folder.
std::string testMapPath(const std::string& runFolder);

// The change that makes `from` into `to`: the lines between their common beginning and end.
TextChange changeBetween(const std::vector<TextLine>& from, const std::vector<TextLine>& to);
// Splits a text into lines with their endings; joining them gives the text back.
std::vector<TextLine> splitText(std::string_view text);
// The first word of a line (up to a blank), or empty for a blank line.
std::string_view firstWordOf(std::string_view line);
// Whether a line is a comment: its first non-blank character is ';'.
bool isCommentLine(std::string_view line);

}  // namespace trolkedit
