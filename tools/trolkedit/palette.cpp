// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled level knows, for every character, the file and line of the legend line that
// gave it its meaning; the groups and names are read from those lines. The enemies'
// characters come from the enemy kind table, and so do their names.

#include "palette.h"

#include "world/enemy_kinds.h"
#include "world/tiles.h"

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

// What an enemy's marker starts, in the words of the kind's row: "bat: flies at its height,
// can be stomped".
std::string enemyNote(const world::EnemyKind& kind, size_t marker) {
    std::string note(kind.name);
    if (marker > 0) return note + ", the second marker";
    switch (kind.motion) {
    case world::MOTION_WALK: note += kind.speed > 1 ? ": walks fast" : ": walks"; break;
    case world::MOTION_FLY: note += ": flies at its height"; break;
    case world::MOTION_SWIM: note += ": swims at its height"; break;
    }
    switch (kind.stomp) {
    case world::STOMP_NONE: note += ", cannot be stomped"; break;
    case world::STOMP_SQUASH:
    case world::STOMP_DIE: note += ", can be stomped"; break;
    case world::STOMP_STUN: note += ", can be stunned, gets up again"; break;
    }
    if (world::isWaterCode(kind.leaves)) note += "; leaves water behind";
    else if (kind.leaves != world::TILE_EMPTY)
        note += "; leaves code " + std::to_string(kind.leaves) + " behind";
    return note;
}

// The enemies' markers whose characters keep the meaning the enemy kind table gives them.
PaletteGroup enemyGroup(const Document& doc) {
    PaletteGroup group{kEnemyGroupName, {}};
    for (const world::EnemyKind& kind : world::kEnemyKinds) {
        for (size_t i = 0; i < kind.markers.size(); ++i) {
            const world::EnemyMarker& marker = kind.markers[i];
            if (marker.code == world::TILE_EMPTY) continue;
            const level_text::LegendEntry& entry = doc.level.legend.entries[size_t(marker.legend)];
            if (entry.file == level_text::kEnemyLegendFile && entry.code == marker.code)
                group.entries.push_back({marker.legend, marker.code, enemyNote(kind, i)});
        }
    }
    return group;
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
    PaletteGroup enemies = enemyGroup(doc);
    if (!enemies.entries.empty()) groups.push_back(std::move(enemies));
    PaletteGroup own{kLevelGroupName, {}};
    for (const auto& [line, c] : linesOfCharacters(doc, doc.path))
        own.entries.push_back(
            {c, doc.level.legend.codeOf(c), commentOf(doc.lines[size_t(line - 1)].text)});
    if (!own.entries.empty()) groups.push_back(std::move(own));
    return groups;
}

}  // namespace trolkedit
