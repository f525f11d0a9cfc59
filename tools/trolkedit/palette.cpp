// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled level knows, for every character, the file and line of the legend line that
// gave it its meaning; the groups and names are read from those lines.

#include "palette.h"

#include <algorithm>

namespace trolkedit {

namespace {

constexpr const char* kUngrouped = "Legend";

std::string trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t;");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The comment after a legend line's code.
std::string commentOf(std::string_view line) {
    const size_t at = line.find(level_text::kCommentChar);
    return at == std::string_view::npos ? std::string() : trimmed(line.substr(at + 1));
}

std::string groupNameOf(std::string_view heading) {
    const std::string name = trimmed(heading);
    return trimmed(std::string_view(name).substr(0, name.find_first_of(":(")));
}

// The characters whose meaning comes from the file, in line order (lines from 1).
std::vector<std::pair<int, char>> linesOfCharacters(const Document& doc, const std::string& file) {
    std::vector<std::pair<int, char>> found;
    for (size_t c = 0; c < doc.level.legend.entries.size(); ++c) {
        const level_text::LegendEntry& entry = doc.level.legend.entries[c];
        if (entry.code >= 0 && entry.file == file) found.push_back({entry.line, char(c)});
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The line (from 1) of the comment above the run of legend lines that holds `line`; 0 when
// the run has none.
int headingOf(const std::vector<TextLine>& lines, int line) {
    int above = line - 1;
    while (above >= 1 && firstWordOf(lines[size_t(above - 1)].text) == "legend") --above;
    return above >= 1 && isCommentLine(lines[size_t(above - 1)].text) ? above : 0;
}

}  // namespace

std::vector<PaletteGroup> paletteOf(const Document& doc) {
    std::vector<PaletteGroup> groups;
    const std::vector<TextLine> legendLines = splitText(doc.legendText);
    int groupHeading = -1;
    for (const auto& [line, c] : linesOfCharacters(doc, doc.legendPath)) {
        const int heading = headingOf(legendLines, line);
        if (heading != groupHeading)
            groups.push_back(
                {heading ? groupNameOf(legendLines[size_t(heading - 1)].text) : kUngrouped, {}});
        groupHeading = heading;
        groups.back().entries.push_back(
            {c, doc.level.legend.codeOf(c), commentOf(legendLines[size_t(line - 1)].text)});
    }
    PaletteGroup own{kLevelGroupName, {}};
    for (const auto& [line, c] : linesOfCharacters(doc, doc.path))
        own.entries.push_back(
            {c, doc.level.legend.codeOf(c), commentOf(doc.lines[size_t(line - 1)].text)});
    if (!own.entries.empty()) groups.push_back(std::move(own));
    return groups;
}

}  // namespace trolkedit
