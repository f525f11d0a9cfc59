// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The point queries and their edge rules: walls at both ends of the level, row 0 continued
// upwards, nothing solid below the level, and empty cells outside the grid.

#include "world_fixture.h"

namespace {

// Column 0: solid at the top, water above the solid floor. Column 1: spikes at the top and
// the other spikes above the floor. Column 2: water at the top. The level is 21 columns (336
// pixels) wide.
const std::string kProbeLevel = levelText({{0, "#^~"}, {10, "~!"}}, 21);

using TileQueries = WorldTest;

TEST_F(TileQueries, SolidTestFollowsTheEdgeRules) {
    load(kProbeLevel);
    struct Case {
        int32_t x, y;
        bool solid;
        const char* why;
    };
    const Case cases[] = {
        {-1, 100, true, "left of the level is a wall"},
        {-1, 5000, true, "the walls have no height limit"},
        {336, 100, true, "right of the level is a wall"},
        {336, -100, true, "the right wall also stands above the level"},
        {335, 100, false, "the last column inside is open"},
        {0, 191, true, "the bottom row"},
        {0, 192, false, "below the level nothing is solid"},
        {-1, 192, true, "except the walls"},
        {0, -40, true, "above the level row 0 continues"},
        {16, -40, false, "spikes in row 0 do not block above it either"},
        {16, 0, false, "spikes do not block"},
        {0, 160, false, "water does not block"},
    };
    for (const Case& c : cases) EXPECT_EQ(world::isSolidAt(c.x, c.y), c.solid) << c.why;
}

TEST_F(TileQueries, CellSpikeAndWaterQueriesAreEmptyOutsideTheGrid) {
    load(kProbeLevel);
    EXPECT_EQ(world::cellAt(16, 0), 105);
    EXPECT_EQ(world::cellAt(335, 191), 21);
    for (auto [x, y] : {std::pair{-1, 0}, {336, 0}, {16, -1}, {16, 192}, {0, -40}})
        EXPECT_EQ(world::cellAt(x, y), 0) << x << "," << y;

    EXPECT_TRUE(world::isSpikeAt(16, 0));
    EXPECT_TRUE(world::isSpikeAt(31, 15));
    EXPECT_TRUE(world::isSpikeAt(16, 175));  // the second spike code
    EXPECT_FALSE(world::isSpikeAt(16, -1));  // row 0 is not continued for spikes
    EXPECT_FALSE(world::isSpikeAt(15, 0));
    EXPECT_FALSE(world::isSpikeAt(0, 192));  // below the level, not the next column's top

    // Water is tested at the centre of a 16 x 16 box.
    EXPECT_TRUE(world::isWaterAt(-8, 152));
    EXPECT_TRUE(world::isWaterAt(7, 167));
    EXPECT_FALSE(world::isWaterAt(-9, 152));  // centre left of the level
    EXPECT_FALSE(world::isWaterAt(8, 152));   // centre in column 1
    EXPECT_FALSE(world::isWaterAt(-8, 168));  // centre in the floor row
    EXPECT_FALSE(world::isWaterAt(8, 184));   // centre at y 192, not the next column's top
}

TEST_F(TileQueries, SetCellIgnoresWritesOutsideTheGrid) {
    load(kProbeLevel);
    const struct {
        int32_t column, row;
    } outside[] = {{-1, 0}, {21, 0}, {0, -1}, {0, 12}, {5, -2147483647}};
    for (auto [column, row] : outside) world::setCell(column, row, 99);
    for (int column = 0; column < 21; ++column)
        for (int row = 0; row < 12; ++row) EXPECT_NE(cell(column, row), 99);

    world::setCell(20, 11, 99);
    world::setCellIndex(0, 98);
    world::setCellIndex(21 * 12, 97);  // one past the grid
    world::setCellIndex(-1, 97);
    EXPECT_EQ(cell(20, 11), 99);
    EXPECT_EQ(cell(0, 0), 98);
    EXPECT_EQ(world::cellOfGrid(21, 0), 0);
}

TEST(TileCodes, SetsEndExactlyAtTheirBoundaries) {
    const struct {
        world::TileCode code;
        bool solid, spike, water;
    } cases[] = {
        {17, false, false, false},  {18, false, false, false},  {19, false, false, false},
        {20, true, false, false},   {80, false, false, false},  {100, false, false, false},
        {120, false, false, false}, {23, true, false, false},   {24, false, false, false},
        {39, false, false, false},  {40, true, false, false},   {41, false, false, false},
        {42, false, false, false},  {43, true, false, false},   {44, true, false, false},
        {45, false, false, false},  {62, false, false, false},  {63, true, false, false},
        {64, true, false, false},   {65, false, false, false},  {69, true, false, false},
        {84, false, false, false},  {85, false, false, true},   {86, false, false, false},
        {88, false, false, false},  {89, true, false, false},   {104, false, false, false},
        {105, false, true, false},  {127, false, false, false}, {128, true, false, false},
        {136, true, false, false},  {137, false, false, false}, {140, false, true, false},
        {144, false, false, false}, {145, false, false, true},  {146, false, false, true},
        {147, false, false, false}, {159, false, false, false}, {160, false, false, true},
        {166, false, false, true},  {167, false, false, false}, {179, false, false, false},
        {180, true, false, false},  {183, true, false, false},  {184, false, false, false},
        {199, false, false, false}, {200, true, false, false},  {203, true, false, false},
        {204, false, false, false}, {255, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(world::isSolidCode(c.code), c.solid) << c.code;
        EXPECT_EQ(world::isSpikeCode(c.code), c.spike) << c.code;
        EXPECT_EQ(world::isWaterCode(c.code), c.water) << c.code;
    }
    EXPECT_FALSE(world::hasTileImage(0));
    EXPECT_TRUE(world::hasTileImage(239));
    EXPECT_FALSE(world::hasTileImage(240));  // no picture: drawn as empty
}

}  // namespace
