// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, changing and saving a level text. The compiler reads the text with its lines
// joined by "\n" (it drops a "\r" before a line break itself), so the line numbers of its
// places are the indices of `lines` plus one.

#include "level_document.h"

#include "tool_files.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace trolkedit {

namespace {

// A new level: 21 columns (the narrowest the game shows) of air over two rows of ground.
constexpr int kStartingWidth = 21;
constexpr int kStartingGroundRows = 2;
constexpr char kStartingAir = '.';
constexpr char kStartingGround = '#';

std::string compilerText(const std::vector<TextLine>& lines) {
    std::string text;
    for (const TextLine& line : lines) {
        text += line.text;
        text += '\n';
    }
    return text;
}

bool hasMapBlock(const std::vector<TextLine>& lines) {
    for (const TextLine& line : lines)
        if (firstWordOf(line.text) == "map") return true;
    return false;
}

void addStartingBlock(std::vector<TextLine>& lines) {
    if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = "\n";
    lines.push_back({"map", "\n"});
    for (int row = 0; row < kRows; ++row) {
        const char c = row < kRows - kStartingGroundRows ? kStartingAir : kStartingGround;
        lines.push_back({std::string(kStartingWidth, c), "\n"});
    }
}

// The first of the compiler's messages, and how many more there are, on one line.
std::string firstOf(const level_text::Diagnostics& errors) {
    if (errors.empty()) return "the level could not be read";
    std::string text = errors.front().text();
    if (errors.size() > 1) text += " (and " + std::to_string(errors.size() - 1) + " more)";
    return text;
}

bool compileLines(const Document& doc, const std::vector<TextLine>& lines,
                  level_text::CompiledLevel& level, level_text::Diagnostics& errors) {
    return level_text::compileLevel(compilerText(lines), doc.path, doc.sharedLegend, level, errors);
}

int64_t stateOf(const Document& doc) { return doc.undoStack.empty() ? 0 : doc.undoStack.back().id; }

// Replaces the change's lines; the change must fit the current text.
void applyLines(Document& doc, int first, const std::vector<TextLine>& before,
                const std::vector<TextLine>& after) {
    const auto at = doc.lines.begin() + first;
    doc.lines.erase(at, at + std::ptrdiff_t(before.size()));
    doc.lines.insert(doc.lines.begin() + first, after.begin(), after.end());
}

// Compiles the current text again, after an undo or redo of a change that compiled before.
void recompile(Document& doc) {
    level_text::Diagnostics errors;
    compileLines(doc, doc.lines, doc.level, errors);
    doc.findings = checkCells(doc.level);
    ++doc.revision;
}

// Takes the last change of one stack, applies it forward (redo) or backward (undo), and keeps
// it on the other.
bool moveChange(Document& doc, std::vector<TextChange>& from, std::vector<TextChange>& to,
                bool forward) {
    if (from.empty()) return false;
    TextChange change = std::move(from.back());
    from.pop_back();
    applyLines(doc, change.first, forward ? change.before : change.after,
               forward ? change.after : change.before);
    to.push_back(std::move(change));
    recompile(doc);
    return true;
}

bool writeText(const fs::path& path, const std::string& text) {
    return tool_files::writeFileReplacing(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace

std::vector<TextLine> splitText(std::string_view text) {
    std::vector<TextLine> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            const bool lastCr = text.back() == '\r';
            lines.push_back(
                {std::string(text.substr(0, text.size() - lastCr)), lastCr ? "\r" : ""});
            break;
        }
        const bool cr = end > 0 && text[end - 1] == '\r';
        lines.push_back({std::string(text.substr(0, end - cr)), cr ? "\r\n" : "\n"});
        text.remove_prefix(end + 1);
    }
    return lines;
}

TextChange changeBetween(const std::vector<TextLine>& from, const std::vector<TextLine>& to) {
    // Only the lines between the common beginning and the common end are kept.
    size_t first = 0;
    while (first < to.size() && first < from.size() && to[first] == from[first]) ++first;
    size_t fromEnd = from.size(), toEnd = to.size();
    while (fromEnd > first && toEnd > first && to[toEnd - 1] == from[fromEnd - 1]) {
        --fromEnd;
        --toEnd;
    }
    TextChange change;
    change.first = int(first);
    change.before.assign(from.begin() + std::ptrdiff_t(first),
                         from.begin() + std::ptrdiff_t(fromEnd));
    change.after.assign(to.begin() + std::ptrdiff_t(first), to.begin() + std::ptrdiff_t(toEnd));
    return change;
}

std::string_view firstWordOf(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t end = line.find_first_of(" \t", first);
    return line.substr(first, end == std::string_view::npos ? end : end - first);
}

bool isCommentLine(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == level_text::kCommentChar;
}

std::string legendPathFor(const std::string& levelPath, const std::string& sharedLegend) {
    const fs::path beside = fs::path(levelPath).parent_path() / "legend.txt";
    std::error_code ignored;
    return fs::exists(beside, ignored) ? beside.string() : sharedLegend;
}

bool openLevelText(std::string_view text, const std::string& path, const std::string& legendPath,
                   Document& doc, std::string& message) {
    Document next;
    next.path = path;
    next.legendPath = legendPath;
    if (!level_text::readTextFile(legendPath, next.legendText)) {
        message = legendPath + ": cannot read the legend";
        return false;
    }
    level_text::Diagnostics errors;
    if (!level_text::readLegend(next.legendText, legendPath, next.sharedLegend, errors)) {
        message = firstOf(errors);
        return false;
    }
    next.lines = splitText(text);
    if (!hasMapBlock(next.lines)) {
        addStartingBlock(next.lines);
        next.savedState = -1;
    }
    if (!compileLines(next, next.lines, next.level, errors)) {
        message = firstOf(errors);
        return false;
    }
    next.findings = checkCells(next.level);
    doc = std::move(next);
    return true;
}

bool openLevel(const std::string& path, Document& doc, std::string& message,
               const std::string& sharedLegend) {
    std::string text;
    std::error_code ignored;
    if (fs::is_directory(path, ignored) || !level_text::readTextFile(path, text)) {
        message = path + ": cannot read the level";
        return false;
    }
    return openLevelText(text, path, legendPathFor(path, sharedLegend), doc, message);
}

bool newLevel(const std::string& path, Document& doc, std::string& message,
              const std::string& sharedLegend) {
    return openLevelText("", path, legendPathFor(path, sharedLegend), doc, message);
}

std::string documentText(const Document& doc) {
    std::string text;
    for (const TextLine& line : doc.lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

std::string levelName(const Document& doc) { return fs::path(doc.path).stem().string(); }

bool isModified(const Document& doc) { return stateOf(doc) != doc.savedState; }

bool inLevel(const Document& doc, Cell cell) {
    return cell.column >= 0 && cell.column < doc.level.width && cell.row >= 0 && cell.row < kRows;
}

int codeAt(const Document& doc, Cell cell) {
    return doc.level.cells[size_t(cell.column * kRows + cell.row)];
}

CellPlace placeOf(const Document& doc, Cell cell) {
    const auto& place = doc.level.places[size_t(cell.column * kRows + cell.row)];
    return {place[0] - 1, place[1] - 1};
}

char characterAt(const Document& doc, Cell cell) {
    const CellPlace place = placeOf(doc, cell);
    return doc.lines[size_t(place.line)].text[size_t(place.offset)];
}

bool changeLines(Document& doc, std::vector<TextLine> lines, std::string& why) {
    TextChange change = changeBetween(doc.lines, lines);
    if (change.before.empty() && change.after.empty()) {
        why = "nothing to change";
        return false;
    }
    level_text::CompiledLevel level;
    level_text::Diagnostics errors;
    if (!compileLines(doc, lines, level, errors)) {
        why = firstOf(errors);
        return false;
    }
    change.id = doc.nextId++;
    doc.lines = std::move(lines);
    doc.level = std::move(level);
    doc.findings = checkCells(doc.level);
    doc.undoStack.push_back(std::move(change));
    doc.redoStack.clear();
    ++doc.revision;
    return true;
}

void joinChanges(Document& doc, size_t depth) {
    if (doc.undoStack.size() <= depth + 1) return;
    std::vector<TextLine> before = doc.lines;
    for (size_t i = doc.undoStack.size(); i-- > depth;) {
        const TextChange& change = doc.undoStack[i];
        const auto at = before.begin() + change.first;
        before.erase(at, at + std::ptrdiff_t(change.after.size()));
        before.insert(before.begin() + change.first, change.before.begin(), change.before.end());
    }
    TextChange joined = changeBetween(before, doc.lines);
    joined.id = doc.undoStack.back().id;
    doc.undoStack.resize(depth);
    doc.undoStack.push_back(std::move(joined));
}

bool undo(Document& doc) { return moveChange(doc, doc.undoStack, doc.redoStack, false); }

bool redo(Document& doc) { return moveChange(doc, doc.redoStack, doc.undoStack, true); }

bool saveLevel(Document& doc, std::string& message) {
    if (!writeText(doc.path, documentText(doc))) {
        message = doc.path + ": cannot write the level; the file on disk is as it was";
        return false;
    }
    doc.savedState = stateOf(doc);
    return true;
}

bool writeLevelFile(const Document& doc, const std::string& binPath, std::string& message) {
    if (!doc.findings.empty()) {
        message = "not written: " + doc.findings.front().message;
        return false;
    }
    std::error_code ignored;
    const fs::path folder = fs::path(binPath).parent_path();
    if (!folder.empty()) fs::create_directories(folder, ignored);
    if (!tool_files::writeFileReplacing(binPath, level_text::levelFileBytes(doc.level))) {
        message = binPath + ": cannot write the level file";
        return false;
    }
    return true;
}

std::string testMapPath(const std::string& runFolder) {
    return (fs::path(runFolder) / "maps" / "test.bin").string();
}

}  // namespace trolkedit
