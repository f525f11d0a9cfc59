// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's geometry: window pixels to cells and back at both scales, and a palette where
// every entry of the legend has a spot of its own inside the window.

#include "edit_fixture.h"
#include "layout.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(Layout, TurnsWindowPixelsIntoCellsAndBackAtBothScales) {
    struct Case {
        int scale, viewX, x, y;
        std::optional<trolkedit::Cell> cell;
    };
    const std::vector<Case> cases = {
        {2, 0, 0, 0, trolkedit::Cell{0, 0}},
        {2, 0, 31, 31, trolkedit::Cell{0, 0}},
        {2, 0, 32, 383, trolkedit::Cell{1, 11}},
        {2, 0, 32, 384, std::nullopt},  // the ruler
        {2, 40, 0, 0, trolkedit::Cell{2, 0}},
        {2, 40, 23, 0, trolkedit::Cell{3, 0}},
        {1, 0, 959, 191, trolkedit::Cell{59, 11}},
        {1, 0, 0, 192, std::nullopt},
        {1, 400, 639, 0, std::nullopt},  // column 64: past the level's 64 columns
    };
    for (const Case& c : cases) {
        const trolkedit::Layout layout = trolkedit::layoutFor(960, c.scale, {});
        const auto cell = trolkedit::cellAt(layout, c.viewX, 64, c.x, c.y);
        EXPECT_EQ(cell, c.cell) << c.scale << " " << c.viewX << " " << c.x << "," << c.y;
        if (!cell) continue;
        const trolkedit::Rect at = trolkedit::cellRect(layout, c.viewX, *cell);
        EXPECT_TRUE(at.contains(c.x, c.y)) << c.x << "," << c.y;
        EXPECT_EQ(at.w, 16 * c.scale);
    }
    EXPECT_EQ(trolkedit::lastViewX(trolkedit::layoutFor(960, 2, {}), 64), 64 * 16 - 480);
    EXPECT_EQ(trolkedit::lastViewX(trolkedit::layoutFor(960, 1, {}), 30), 0);
}

TEST(Layout, GivesEveryPaletteEntryASpotOfItsOwnInsideTheWindow) {
    std::vector<std::string> rows(12, std::string(21, '.'));
    const trolkedit::Document doc =
        edit_fixture::open("legend E 187\n" + edit_fixture::blockOf(rows));
    const std::vector<trolkedit::PaletteGroup> groups = trolkedit::paletteOf(doc);
    for (int scale : {1, 2}) {
        const trolkedit::Layout layout = trolkedit::layoutFor(960, scale, groups);
        std::set<char> placed;
        for (const trolkedit::PaletteSpot& spot : layout.spots) {
            EXPECT_TRUE(placed.insert(spot.character).second) << spot.character;
            EXPECT_TRUE(layout.palette.contains(spot.tile.x, spot.tile.y)) << spot.character;
            EXPECT_LE(spot.tile.x + trolkedit::kPaletteSpotWidth, 960) << spot.character;
            const trolkedit::PaletteSpot* found =
                trolkedit::spotAt(layout, spot.tile.x + 8, spot.tile.y + 20);  // its character
            ASSERT_NE(found, nullptr) << spot.character;
            EXPECT_EQ(found->character, spot.character);
        }
        size_t entries = 0;
        for (const trolkedit::PaletteGroup& group : groups) entries += group.entries.size();
        EXPECT_EQ(placed.size(), entries);
        EXPECT_EQ(layout.labels.size(), groups.size());
        EXPECT_EQ(layout.status.y + layout.status.h, layout.height);
        EXPECT_GE(layout.status.y, layout.palette.y + layout.palette.h);
    }
}

}  // namespace
