// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Level loading: the door closed while counted items remain, the item count bound by the
// restart point, the restart checkpoint shown as taken, the initial view and the columns it
// scans, marker rewriting, the view limits, and level bytes that are no playable level.

#include "archive/archive.h"
#include "support/test_support.h"
#include "world/lifetimes.h"
#include "world_fixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using LevelLoad = WorldTest;

// An item at column 10 and the exit door at columns 17 and 18.
const std::string kItemAndDoor =
    levelText({{9, "..........*......[].."}, {10, ".................().."}}, 21);

TEST_F(LevelLoad, ClosesTheDoorWhileCountedItemsRemain) {
    load(kItemAndDoor);
    EXPECT_EQ(world::life.itemsLeft, 1);
    EXPECT_EQ(world::life.doorCell, 17 * 12 + 9);
    EXPECT_EQ(cell(17, 9), 38);  // the closed door: 38 39 over 58 59
    EXPECT_EQ(cell(18, 9), 39);
    EXPECT_EQ(cell(17, 10), 58);
    EXPECT_EQ(cell(18, 10), 59);

    // Past the item the door stays open from the first frame (in a level long enough for the
    // view to start on the restart point).
    world::level.restartX = 12 * 16;
    load(levelText({{9, "..........*......[].."}, {10, ".................().."}}, 40));
    EXPECT_EQ(world::life.itemsLeft, 0);
    EXPECT_EQ(cell(17, 9), 27);  // the open door: 27 28 over 47 48
    EXPECT_EQ(cell(18, 10), 48);
}

TEST_F(LevelLoad, TheLastDoorInFileOrderIsTheOneThatCloses) {
    load(levelText({{9, "...[].....*......[].."}, {10, "...().............).."}}, 21));
    EXPECT_EQ(cell(3, 9), 27);
    EXPECT_EQ(cell(17, 9), 38);
    EXPECT_EQ(cell(17, 10), 58);  // written over the '.'
}

TEST_F(LevelLoad, CountsOnlyItemsFromOneColumnLeftOfTheRestartPoint) {
    // Items in columns 0, 8, 9, 10 and 20, in a level long enough for the view to start on
    // every restart point below.
    const std::string kItems = levelText({{0, "*.......***.........*"},
                                          {10, "...................[]"},
                                          {11, "...................()"}},
                                         60);
    const struct {
        int32_t restartX;
        int32_t counted;
    } cases[] = {{16, 5}, {0, 5}, {159, 3}, {160, 3}, {161, 2}, {176, 2}, {336, 1}, {337, 0}};
    for (const auto& c : cases) {
        world::level.restartX = c.restartX;
        load(kItems);
        EXPECT_EQ(world::life.itemsLeft, c.counted) << "restart at " << c.restartX;
    }
}

// Near the end of a level the view cannot start on the restart point; it stops 321 pixels
// before the end and the player can walk back to its left edge. Every item it can take there
// is counted, so the count reaches exactly 0 and opens the door; a count that left them out
// went below 0 as they were taken (found by the level fuzzer).
TEST_F(LevelLoad, NearTheEndOfALevelTheItemsLeftOfTheRestartPointInViewAreCounted) {
    // 25 columns: the view stops at x 79. Items in columns 3 to 19 on the ground, the door at
    // columns 22 and 23, the restart point in column 20.
    const std::string text =
        levelText({{9, "......................[]."}, {10, "...*****************..()."}}, 25);
    world::level.restartX = 20 * 16;
    world::level.restartY = 160;
    start(text);
    ASSERT_EQ(world::life.cameraX, 79);
    EXPECT_EQ(world::life.itemsLeft, 15);  // columns 5 to 19; 3 and 4 lie out of reach
    EXPECT_EQ(cell(22, 9), 38);

    int32_t fewest = world::life.itemsLeft;
    for (int frame = 0; frame < 200; ++frame) {
        step(kLeft);
        fewest = std::min(fewest, world::life.itemsLeft);
    }
    EXPECT_EQ(player.x, 78);  // one pixel left of the view
    EXPECT_EQ(fewest, 0);
    EXPECT_EQ(world::life.itemsLeft, 0);
    EXPECT_EQ(cell(22, 9), 27);
    EXPECT_EQ(cell(3, 10), 41);
    EXPECT_EQ(cell(4, 10), 41);
}

TEST_F(LevelLoad, TheCheckpointOfTheRestartPointShowsAsTaken) {
    const std::string kCheckpoints = levelText({{6, ".C........C.C"}}, 21);
    world::level.restartX = 160;
    world::level.restartY = 96;
    load(kCheckpoints);
    EXPECT_EQ(cell(10, 6), 19);  // taken
    EXPECT_EQ(cell(12, 6), 17);  // untouched
    EXPECT_EQ(cell(1, 6), 17);

    // The start of a level (16, 100) lies in column 1, row 6.
    world::level = {};
    load(kCheckpoints);
    EXPECT_EQ(cell(1, 6), 19);
    EXPECT_EQ(cell(10, 6), 17);
}

// Sixty columns with blob markers in row 5 of columns 0, 21, 22, 28, 29, 50 and 51.
std::string markerLevel() {
    std::string text = "map\n";
    for (int row = 0; row < 12; ++row) {
        std::string line(60, row == 11 ? '#' : '.');
        if (row == 5)
            for (int column : {0, 21, 22, 28, 29, 50, 51}) line[size_t(column)] = 'b';
        text += line + "\n";
    }
    return text;
}

TEST_F(LevelLoad, TheViewStartsOnTheRestartPointAndScansEveryColumnInView) {
    load(markerLevel());
    EXPECT_EQ(world::life.cameraX, 0);
    EXPECT_EQ(cell(0, 5), 0);
    EXPECT_EQ(cell(21, 5), 0);  // 16 pixels beyond the view's right edge
    EXPECT_EQ(cell(22, 5), 9);
    ASSERT_EQ(activeEnemies(), 2);
    EXPECT_EQ(world::life.enemies[0].x, 0);
    EXPECT_EQ(world::life.enemies[1].x, 21 * 16);
    EXPECT_EQ(world::life.enemies[1].y, 5 * 16);

    // From a far checkpoint the view starts one column left of it.
    world::level.restartX = 30 * 16;
    load(markerLevel());
    EXPECT_EQ(world::life.cameraX, 29 * 16);
    EXPECT_EQ(cell(28, 5), 9);
    EXPECT_EQ(cell(29, 5), 0);
    EXPECT_EQ(cell(50, 5), 0);
    EXPECT_EQ(cell(51, 5), 9);
    ASSERT_EQ(activeEnemies(), 2);
    EXPECT_EQ(world::life.enemies[0].x, 29 * 16);
    EXPECT_EQ(world::life.enemies[1].x, 50 * 16);

    // Near the end the view stops one pixel short of the level's end.
    world::level.restartX = 55 * 16;
    load(markerLevel());
    EXPECT_EQ(world::life.cameraX, 60 * 16 - 321);
}

TEST_F(LevelLoad, ALevelOfTwentyOneColumnsScrollsFifteenPixelsAtMost) {
    load(kItemAndDoor);
    EXPECT_EQ(world::life.cameraX, 0);
    world::scrollView(40);
    EXPECT_EQ(world::life.cameraX, 15);

    // Restarted from column 1 the view starts at 0; from column 2 on, at 15 at once.
    for (auto [restartX, cameraX] : {std::pair{16, 0}, {32, 15}, {160, 15}, {320, 15}}) {
        world::level.restartX = restartX;
        load(kItemAndDoor);
        EXPECT_EQ(world::life.cameraX, cameraX) << "restart at " << restartX;
    }
}

TEST_F(LevelLoad, ScrollingStopsOnePixelShortOfTheEndAndScansAheadOfTheView) {
    load(markerLevel());
    world::scrollView(7);
    EXPECT_EQ(world::life.cameraX, 7);
    world::scrollView(9);  // the view's right edge reaches column 21; column 22 is scanned
    EXPECT_EQ(world::life.cameraX, 16);
    EXPECT_EQ(cell(22, 5), 0);
    EXPECT_EQ(cell(28, 5), 9);
    world::scrollView(5000);
    EXPECT_EQ(world::life.cameraX, 60 * 16 - 321);
}

TEST_F(LevelLoad, AFullEnemyTableStillErasesTheMarkers) {
    // 17 blobs in columns 3 and 4, all in view at the start.
    load(levelText({{0, "...bb"},
                    {1, "...bb"},
                    {2, "...bb"},
                    {3, "...bb"},
                    {4, "...bb"},
                    {5, "...b"},
                    {6, "...b"},
                    {7, "...b"},
                    {8, "...b"},
                    {9, "...b"},
                    {10, "...b"},
                    {11, "...b................."}},
                   21));
    EXPECT_EQ(activeEnemies(), 16);
    for (int row = 0; row < 12; ++row) {
        EXPECT_EQ(cell(3, row), 0);
        EXPECT_EQ(cell(4, row), 0);
    }
}

TEST_F(LevelLoad, MarkersBecomeEnemiesAndLeaveTheirCellsBehind) {
    load(levelText({{1, ".b"}, {2, ".h"}, {3, ".v"}, {4, ".p"}, {5, ".g"}, {6, ".G"}, {7, ".x"}},
                   21, "legend x 87\n"));
    const struct {
        int row;
        world::EnemyType type;
        world::TileCode left;
    } cases[] = {
        {1, world::ENEMY_BLOB, 0},     {2, world::ENEMY_HOGLET, 0},  {3, world::ENEMY_BAT, 0},
        {4, world::ENEMY_PIRANHA, 85}, {5, world::ENEMY_HAT_GUY, 0}, {6, world::ENEMY_HAT_GUY, 0},
    };
    ASSERT_EQ(activeEnemies(), 6);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const world::EnemySlot& e = world::life.enemies[i];
        EXPECT_EQ(e.type, cases[i].type) << "row " << cases[i].row;
        EXPECT_EQ(e.x, 16);
        EXPECT_EQ(e.y, cases[i].row * 16);
        EXPECT_EQ(cell(1, cases[i].row), cases[i].left);
    }
    EXPECT_EQ(cell(1, 7), 86);

    // Scanning again, or outside the level, creates nothing.
    world::spawnColumn(16);
    world::spawnColumn(-1);
    world::spawnColumn(21 * 16);
    EXPECT_EQ(activeEnemies(), 6);
}

std::vector<uint8_t> levelBytes(int header, size_t cellBytes) {
    std::vector<uint8_t> bytes = {uint8_t(header & 0xFF), uint8_t(header >> 8)};
    bytes.resize(2 + cellBytes, 21);
    return bytes;
}

TEST_F(LevelLoad, RefusesBytesThatAreNoPlayableLevelAndKeepsTheOldOne) {
    load(kItemAndDoor);
    const struct {
        std::vector<uint8_t> bytes;
        world::LevelFault fault;
    } cases[] = {
        {{}, world::LEVEL_NO_DATA},
        {{20}, world::LEVEL_NO_DATA},
        {levelBytes(20, 21 * 12 - 1), world::LEVEL_SHORT},
        {levelBytes(0xFFFF, 1000), world::LEVEL_SHORT},
        {levelBytes(19, 20 * 12), world::LEVEL_NARROW},
        {levelBytes(0, 12), world::LEVEL_NARROW},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(world::checkLevelBytes(c.bytes.data(), c.bytes.size()), c.fault);
        EXPECT_EQ(world::startLife(c.bytes.data(), c.bytes.size(), world::Arrival::Nobody),
                  c.fault);
        EXPECT_EQ(world::levelMap.width, 21);
        EXPECT_EQ(cell(10, 9), 41);
        EXPECT_EQ(world::life.cameraX, 0);
    }
    EXPECT_EQ(world::startLife(nullptr, 100, world::Arrival::Nobody), world::LEVEL_NO_DATA);

    // Exactly enough bytes, trailing bytes ignored, and the widest level there can be.
    for (const std::vector<uint8_t>& bytes :
         {levelBytes(20, 21 * 12), levelBytes(20, 21 * 12 + 5), levelBytes(0xFFFF, 65536 * 12)}) {
        EXPECT_EQ(world::startLife(bytes.data(), bytes.size(), world::Arrival::Nobody),
                  world::LEVEL_OK);
        EXPECT_EQ(world::levelMap.width, (bytes[0] | bytes[1] << 8) + 1);
    }
}

TEST_F(LevelLoad, FindsWhereABoxComesToRestInItsColumn) {
    load(levelText({{0, ".#"}, {11, "#.#.#################"}}, 21));
    EXPECT_EQ(world::restingY(0, 100), 160);
    EXPECT_EQ(world::restingY(0, 163), 163);  // already in the floor: it stays
    EXPECT_EQ(world::restingY(0, -1000), 160);
    EXPECT_EQ(world::restingY(16, -1000), -1000);     // row 0 continues upwards
    EXPECT_EQ(world::restingY(16, 0), std::nullopt);  // below the top nothing in column 1
    EXPECT_EQ(world::restingY(48, 100), std::nullopt);
    EXPECT_EQ(world::restingY(-5, 100), 100);  // beyond the ends stands the wall
    EXPECT_EQ(world::restingY(336, 500), 500);
}

class LevelFiles : public WorldTest {
  protected:
    test_support::ScratchDirectory scratch;
};

TEST_F(LevelFiles, TheTestMapAndArchivedLevelsLoadAndBadOnesEndTheProgram) {
    const std::vector<uint8_t> good = compile(kItemAndDoor);
    std::filesystem::create_directories("maps");
    std::filesystem::create_directories("data");
    test_support::writeArchive("data/maps.zda",
                               {{"plan0.bin", good}, {"plan8.bin", levelBytes(30, 20)}});

    const auto loads = [](const char* name) {
        return test_support::runInChild([name] {
            archive::openArchives();
            world::startLifeIn(name, world::Arrival::Nobody);
            std::printf("width %d items %d\n", world::levelMap.width, world::life.itemsLeft);
        });
    };
    const struct {
        const char* name;
        std::string output;
        int status;
    } cases[] = {
        {"plan0", "width 21 items 1\n", 0},
        {"plan8", "Can't load file: plan8\n", 1},          // shorter than its header says
        {"beginner", "Can't load file: beginner\n", 1},    // not in the archive
        {nullptr, "Can't load file: maps/test.bin\n", 1},  // no test map yet
    };
    for (const auto& c : cases) {
        const test_support::ChildResult result = loads(c.name);
        EXPECT_EQ(result.output, c.output);
        EXPECT_EQ(result.exitStatus, c.status);
    }

    test_support::writeFile("maps/test.bin", good);
    EXPECT_EQ(loads(nullptr).output, "width 21 items 1\n");
    test_support::writeFile("maps/test.bin", {});
    EXPECT_EQ(loads(nullptr).output, "Can't load file: maps/test.bin\n");
    test_support::writeFile("maps/test.bin", levelBytes(19, 20 * 12));
    EXPECT_EQ(loads(nullptr).output, "Can't load file: maps/test.bin\n");
}

}  // namespace
