// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edits of the level editor, each one change of the document that one undo takes back:
// painting a cell with a legend character or a tile code, erasing it, filling a rectangle,
// inserting and deleting columns.
//
// A code that no character of the level's legend stands for is painted through a new legend
// line of the level's own ("legend $ 187"), written after the level's last legend line, or
// above the first map block (and the comments right above it). Its character is the first
// printable one that nothing in force defines; when the level has used them all, the first
// character of the shared legend that no cell of the level shows, which the new line then
// gives another meaning in this level (as the format allows).
//
// Columns go in and out across all map blocks at the right place. A column inserted inside a
// block, or before its first column, widens that block; columns added at the level's right end
// widen its last block. A block whose last column is deleted goes, with its word map and its
// rows. Comments after a row keep their place when there is room.

#include "level_document.h"

#include <string>

namespace trolkedit {

// What an edit did.
enum EditOutcome {
    EDIT_CHANGED,    // the text changed: one step to undo
    EDIT_UNCHANGED,  // there was nothing to change (the cell already showed it)
    EDIT_REFUSED,    // not done; `why` says why
};

struct EditResult {
    EditOutcome outcome = EDIT_UNCHANGED;
    std::string why;
};

// Paints the cell with a legend character in force in the level.
EditResult paint(Document& doc, Cell cell, char character);
// Paints the cell with a tile code (0..255), adding a legend line when no character has it.
EditResult paintCode(Document& doc, Cell cell, int code);
// Paints the cell empty (code 0, the legend's air).
EditResult erase(Document& doc, Cell cell);
// Paints every cell of the rectangle between two corner cells (inclusive).
EditResult fill(Document& doc, Cell from, Cell to, char character);
EditResult fillCode(Document& doc, Cell from, Cell to, int code);
// Inserts `count` empty columns before column `at` (0..width; width appends them).
EditResult insertColumns(Document& doc, int at, int count);
// Deletes `count` columns from column `first`; a level keeps at least one column.
EditResult deleteColumns(Document& doc, int first, int count);

// The character that stands for the code in the level: the shared legend's own when the level
// left it that meaning, else the first one in character order; 0 when none does.
char characterForCode(const Document& doc, int code);

// One map block of the text: the level columns it holds and where it is written.
struct MapBlock {
    int firstColumn = 0;
    int width = 0;
    int mapLine = 0;   // the line of the word map
    int lastLine = 0;  // the line of its last row
};

// The map blocks in level order.
std::vector<MapBlock> mapBlocks(const Document& doc);

}  // namespace trolkedit
