// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette: every tile and actor of the legend in force, grouped as the shared legend
// groups them. In legend.txt the comment line right above a run of legend lines names the
// group ("; Hazards", "; Items: what the hero picks up"; the name ends at a ':' or '('); a
// legend line's own comment names its tile. The enemies' markers follow as the group
// "Enemies", in the order of the enemy kind table that gives them their characters, each named
// from its kind's row ("bat: flies at its height, can be stomped"). A level's own legend lines
// come last, as the group "This level", and a character the level gives another meaning is
// shown there only.

#include "level_document.h"

#include <string>
#include <vector>

namespace trolkedit {

struct PaletteEntry {
    char character = 0;
    int code = 0;
    std::string name;  // the legend line's comment, or empty
};

struct PaletteGroup {
    std::string name;
    std::vector<PaletteEntry> entries;  // in the order of the legend lines
};

// The names of the group of the enemies' markers and of the level's own legend lines.
constexpr const char* kEnemyGroupName = "Enemies";
constexpr const char* kLevelGroupName = "This level";

// Every character in force in the level, in groups.
std::vector<PaletteGroup> paletteOf(const Document& doc);

}  // namespace trolkedit
