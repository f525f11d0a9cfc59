// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The palette shows every character in force once, in the shared legend's groups with the
// names of their legend lines, then the enemies' markers named by their kinds, and the level's
// own lines last, a redefined shared or enemy character only there.

#include "edit_fixture.h"
#include "palette.h"

#include <array>
#include <gtest/gtest.h>
#include <map>

namespace {

TEST(Palette, ShowsEveryCharacterInForceOnceInTheLegendsGroups) {
    std::vector<std::string> rows(12, std::string(21, '.'));
    rows[10] = rows[11] = std::string(21, '#');
    const trolkedit::Document doc =
        edit_fixture::open("legend 4 29   ; night cloud, left half\nlegend E 187\nlegend v 188\n" +
                           edit_fixture::blockOf(rows));
    const std::vector<trolkedit::PaletteGroup> groups = trolkedit::paletteOf(doc);
    std::vector<std::string> names;
    std::map<char, std::string> groupOf, nameOf;
    for (const trolkedit::PaletteGroup& group : groups) {
        names.push_back(group.name);
        for (const trolkedit::PaletteEntry& entry : group.entries) {
            EXPECT_EQ(groupOf.count(entry.character), 0u) << entry.character;
            EXPECT_EQ(entry.code, doc.level.legend.codeOf(entry.character)) << entry.character;
            groupOf[entry.character] = group.name;
            nameOf[entry.character] = entry.name;
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Air", "Solid ground and walls", "Blocks that react",
                                               "Hazards", "Items", "Markers", "Scenery", "Enemies",
                                               "This level"}));
    for (char c = '!'; c <= '~'; ++c)
        EXPECT_EQ(groupOf.count(c), doc.level.legend.codeOf(c) >= 0 ? 1u : 0u) << c;
    const std::vector<std::array<std::string, 3>> expected = {
        {".", "Air", "empty"},
        {"%", "Blocks that react", "crumbling block: crumbles away once stood on"},
        {"^", "Hazards", "spikes on a plate: deadly to touch, not solid"},
        {"+", "Items", "extra life"},
        {")", "Markers", "exit door, bottom right: touching it ends the level"},
        {"G", "Enemies", "hat guy, the second marker"},
        {"g", "Enemies", "hat guy: walks fast, can be stunned, gets up again"},
        {"p", "Enemies", "piranha: swims at its height, cannot be stomped; leaves water behind"},
        {"h", "Enemies", "hoglet: walks, cannot be stomped"},
        {"v", "This level", ""},  // the level gave the bat's character another meaning
        {"5", "Scenery", "oak tree, trunk left"},  // its neighbour 4 is the level's own
        {"4", "This level", "night cloud, left half"},
        {"E", "This level", ""},
    };
    for (const auto& [c, group, name] : expected) {
        EXPECT_EQ(groupOf[c[0]], group) << c;
        EXPECT_EQ(nameOf[c[0]], name) << c;
    }
}

}  // namespace
