// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every edit works on a draft: a copy of the document's lines in which cells are rewritten
// where the compiled level says their characters stand, plus at most one new legend line. The
// draft becomes one change of the document, which compiles it and keeps it for undo.

#include "level_edits.h"

#include <algorithm>
#include <array>
#include <optional>

namespace trolkedit {

namespace {

constexpr int kMaxCode = 255;
constexpr char kFirstCharacter = '!';
constexpr char kLastCharacter = '~';
constexpr int kEmptyCode = 0;

struct Draft {
    std::vector<TextLine> lines;
    level_text::Legend legend;          // what the characters mean, with the new line's
    std::optional<TextLine> newLegend;  // a legend line to add
};

Draft draftOf(const Document& doc) { return {doc.lines, doc.level.legend, std::nullopt}; }

EditResult refused(std::string why) { return {EDIT_REFUSED, std::move(why)}; }

std::string quoted(char c) { return std::string("'") + c + "'"; }

bool isBlankLine(const TextLine& line) {
    return line.text.find_first_not_of(" \t") == std::string::npos;
}

// Whether a character's meaning comes from outside the level: the shared legend file or the
// enemy kind table.
bool isShared(const Document& doc, const level_text::LegendEntry& entry) {
    return entry.file != doc.path;
}

char characterIn(const Document& doc, const level_text::Legend& legend, int code) {
    for (int pass = 0; pass < 2; ++pass)
        for (char c = kFirstCharacter; c <= kLastCharacter; ++c)
            if (legend.codeOf(c) == code && (pass == 1 || isShared(doc, legend.entries[size_t(c)])))
                return c;
    return 0;
}

// Where a new legend line of the level goes: after its last own legend line, or above its
// first map block and the comment lines right above that (unless those start the file).
int newLegendLineAt(const Document& doc) {
    int last = -1;
    for (const level_text::LegendEntry& entry : doc.level.legend.entries)
        if (entry.code >= 0 && !isShared(doc, entry)) last = std::max(last, entry.line);
    if (last >= 0) return last;  // entry lines count from 1: this is the line after it
    const int mapLine = mapBlocks(doc).front().mapLine;
    int at = mapLine;
    while (at > 0 && isCommentLine(doc.lines[size_t(at - 1)].text)) --at;
    return at == 0 ? mapLine : at;
}

// A character for a new legend line: one nothing defines, else one of the shared legend's that
// no cell of the level shows and the level has not given a meaning of its own (the air's
// character stays, columns are inserted with it).
char freeCharacter(const Document& doc, const Draft& draft) {
    for (char c = kFirstCharacter; c <= kLastCharacter; ++c)
        if (level_text::isCellCharacter(c) && draft.legend.codeOf(c) < 0) return c;
    std::array<bool, 128> shown{};
    for (int column = 0; column < doc.level.width; ++column)
        for (int row = 0; row < kRows; ++row) shown[size_t(characterAt(doc, {column, row}))] = true;
    for (char c = kFirstCharacter; c <= kLastCharacter; ++c)
        if (level_text::isCellCharacter(c) && !shown[size_t(c)] &&
            isShared(doc, draft.legend.entries[size_t(c)]) && draft.legend.codeOf(c) != kEmptyCode)
            return c;
    return 0;
}

// The character for the code in the draft, with a new legend line when none has it yet.
char characterFor(const Document& doc, Draft& draft, int code, std::string& why) {
    if (code < 0 || code > kMaxCode) {
        why = "a tile code is 0 to 255, not " + std::to_string(code);
        return 0;
    }
    if (const char c = characterIn(doc, draft.legend, code)) return c;
    const char c = freeCharacter(doc, draft);
    if (!c) {
        why = "no character is left for a legend line of code " + std::to_string(code);
        return 0;
    }
    draft.newLegend = TextLine{"legend " + std::string(1, c) + " " + std::to_string(code), "\n"};
    draft.legend.entries[size_t(c)] = {code, doc.path, 0};
    return c;
}

void setCharacter(const Document& doc, Draft& draft, Cell cell, char c) {
    const CellPlace place = placeOf(doc, cell);
    draft.lines[size_t(place.line)].text[size_t(place.offset)] = c;
}

EditResult finish(Document& doc, Draft draft) {
    if (draft.newLegend) {
        const int at = newLegendLineAt(doc);
        if (size_t(at) < draft.lines.size())
            draft.newLegend->ending = draft.lines[size_t(at)].ending;
        draft.lines.insert(draft.lines.begin() + at, *draft.newLegend);
    }
    if (draft.lines == doc.lines) return {};
    std::string why;
    if (!changeLines(doc, std::move(draft.lines), why)) return refused(why);
    return {EDIT_CHANGED, {}};
}

std::string cellName(Cell cell) {
    return "column " + std::to_string(cell.column) + ", row " + std::to_string(cell.row);
}

EditResult fillWith(Document& doc, Cell from, Cell to, Draft draft, char c) {
    for (int column = std::min(from.column, to.column); column <= std::max(from.column, to.column);
         ++column)
        for (int row = std::min(from.row, to.row); row <= std::max(from.row, to.row); ++row)
            setCharacter(doc, draft, {column, row}, c);
    return finish(doc, std::move(draft));
}

EditResult fillCodeChecked(Document& doc, Cell from, Cell to, int code) {
    for (Cell cell : {from, to})
        if (!inLevel(doc, cell)) return refused(cellName(cell) + " is not in the level");
    Draft draft = draftOf(doc);
    std::string why;
    const char c = characterFor(doc, draft, code, why);
    if (!c) return refused(why);
    return fillWith(doc, from, to, std::move(draft), c);
}

// A comment after a row keeps its column when the row grows and there are blanks to spare,
// and when the row shrinks.
size_t blanksBeforeComment(const std::string& text, size_t rowEnd) {
    const size_t next = text.find_first_not_of(' ', rowEnd);
    if (next == std::string::npos || text[next] != level_text::kCommentChar) return 0;
    return next - rowEnd;
}

void insertIntoRow(std::string& text, size_t at, size_t rowEnd, int count, char c) {
    if (blanksBeforeComment(text, rowEnd) > size_t(count)) text.erase(rowEnd, size_t(count));
    text.insert(at, size_t(count), c);
}

void eraseFromRow(std::string& text, size_t at, size_t rowEnd, int count) {
    if (blanksBeforeComment(text, rowEnd) > 0) text.insert(rowEnd, size_t(count), ' ');
    text.erase(at, size_t(count));
}

// Takes a whole block out: its word map, its rows and the comments between them, and one of
// two blank lines that then meet.
void removeBlock(std::vector<TextLine>& lines, const MapBlock& block) {
    int first = block.mapLine, end = block.lastLine + 1;
    const bool blankBefore = first > 0 && isBlankLine(lines[size_t(first - 1)]);
    if (blankBefore && (size_t(end) == lines.size() || isBlankLine(lines[size_t(end)]))) {
        if (size_t(end) == lines.size()) --first;
        else ++end;
    }
    lines.erase(lines.begin() + first, lines.begin() + end);
}

}  // namespace

std::vector<MapBlock> mapBlocks(const Document& doc) {
    std::vector<MapBlock> blocks;
    for (int column = 0; column < doc.level.width; ++column) {
        const int rowLine = placeOf(doc, {column, 0}).line;
        if (!blocks.empty() && placeOf(doc, {column - 1, 0}).line == rowLine) {
            ++blocks.back().width;
            continue;
        }
        int mapLine = rowLine - 1;
        while (mapLine > 0 && isCommentLine(doc.lines[size_t(mapLine)].text)) --mapLine;
        blocks.push_back({column, 1, mapLine, placeOf(doc, {column, kRows - 1}).line});
    }
    return blocks;
}

char characterForCode(const Document& doc, int code) {
    return characterIn(doc, doc.level.legend, code);
}

EditResult paint(Document& doc, Cell cell, char character) {
    if (doc.level.legend.codeOf(character) < 0)
        return refused("the character " + quoted(character) + " is not in the legend");
    return fill(doc, cell, cell, character);
}

EditResult paintCode(Document& doc, Cell cell, int code) {
    return fillCodeChecked(doc, cell, cell, code);
}

EditResult erase(Document& doc, Cell cell) { return paintCode(doc, cell, kEmptyCode); }

EditResult fill(Document& doc, Cell from, Cell to, char character) {
    for (Cell cell : {from, to})
        if (!inLevel(doc, cell)) return refused(cellName(cell) + " is not in the level");
    if (doc.level.legend.codeOf(character) < 0)
        return refused("the character " + quoted(character) + " is not in the legend");
    return fillWith(doc, from, to, draftOf(doc), character);
}

EditResult fillCode(Document& doc, Cell from, Cell to, int code) {
    return fillCodeChecked(doc, from, to, code);
}

EditResult insertColumns(Document& doc, int at, int count) {
    const int width = doc.level.width;
    if (at < 0 || at > width) return refused("there is no column " + std::to_string(at));
    if (count < 1) return {};
    Draft draft = draftOf(doc);
    std::string why;
    const char empty = characterFor(doc, draft, kEmptyCode, why);
    if (!empty) return refused(why);
    const std::vector<MapBlock> blocks = mapBlocks(doc);
    const MapBlock& block =
        at == width ? blocks.back()
                    : *std::find_if(blocks.rbegin(), blocks.rend(),
                                    [&](const MapBlock& b) { return b.firstColumn <= at; });
    const int lastColumn = block.firstColumn + block.width - 1;
    for (int row = 0; row < kRows; ++row) {
        const CellPlace last = placeOf(doc, {lastColumn, row});
        const size_t offset =
            at == width ? size_t(last.offset) + 1 : size_t(placeOf(doc, {at, row}).offset);
        insertIntoRow(draft.lines[size_t(last.line)].text, offset, size_t(last.offset) + 1, count,
                      empty);
    }
    return finish(doc, std::move(draft));
}

EditResult deleteColumns(Document& doc, int first, int count) {
    const int width = doc.level.width;
    if (count < 1) return {};
    if (first < 0 || first + count > width)
        return refused("columns " + std::to_string(first) + " to " +
                       std::to_string(first + count - 1) + " are not all in the level");
    if (count >= width) return refused("a level keeps at least one column");
    Draft draft = draftOf(doc);
    const std::vector<MapBlock> blocks = mapBlocks(doc);
    // From the last block back, so that the lines of the blocks before stay where they are.
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        const int from = std::max(first, block->firstColumn);
        const int to = std::min(first + count, block->firstColumn + block->width);
        if (from >= to) continue;
        if (to - from == block->width) {
            removeBlock(draft.lines, *block);
            continue;
        }
        const int lastColumn = block->firstColumn + block->width - 1;
        for (int row = 0; row < kRows; ++row) {
            const CellPlace last = placeOf(doc, {lastColumn, row});
            eraseFromRow(draft.lines[size_t(last.line)].text,
                         size_t(placeOf(doc, {from, row}).offset), size_t(last.offset) + 1,
                         to - from);
        }
    }
    return finish(doc, std::move(draft));
}

}  // namespace trolkedit
