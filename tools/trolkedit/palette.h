// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palette: every tile and actor of the legend in force, grouped as the shared legend
// groups them. In legend.txt the comment line right above a run of legend lines names the
// group ("; Hazards", "; Enemies: each starts where its marker stands"; the name ends at a
// ':' or '('); a legend line's own comment names its tile. A level's own legend lines come
// last, as the group "This level", and a shared character the level gives another meaning is
// shown there only.
//
// paletteOf is the one place that reads the groups, so that it can follow when the legend of
// the actors comes from somewhere else than legend.txt.

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

// The name of the group of the level's own legend lines.
constexpr const char* kLevelGroupName = "This level";

// Every character in force in the level, in groups.
std::vector<PaletteGroup> paletteOf(const Document& doc);

}  // namespace trolkedit
