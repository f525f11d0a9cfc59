// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every picture the game asks for is in data/gfx.zda and decodes with SDL's BMP loader from
// memory, at a size the game can use; every tile the game draws is drawn in each style,
// sprite frames stand on the transparent key, the water strip turns seamlessly, the fonts
// cover their range, the handheld style keeps to four greens, and the tile table for the
// level designers (content/gfx/TILES.md) matches the sheets and the game's solid set.

#include "archive/archive.h"
#include "support/test_support.h"
#include "video/graphics.h"
#include "world/tiles.h"

#include <SDL.h>
#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Picture = std::unique_ptr<SDL_Surface, SurfaceFree>;

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
    bool isKey() const { return r == 255 && g == 0 && b == 255; }
    // Reads as the key once reduced to 16 bits, without being it.
    bool isNearKey() const { return !isKey() && r >= 248 && g < 4 && b >= 248; }
    int distance(const Colour& o) const {
        return std::abs(r - o.r) + std::abs(g - o.g) + std::abs(b - o.b);
    }
};

Colour at(SDL_Surface* s, int x, int y) {
    const int bytes = s->format->BytesPerPixel;
    const uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    Colour c;
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}

constexpr int kTile = 16;
constexpr int kSheetColumns = 20;
const char* const kSheets[] = {"blocks", "newblocks", "gbblocks"};

// Every index the game draws itself: actors, HUD icons, tiles that change under the rules.
constexpr int kDrawnByTheGame[] = {
    1,   2,   3,   4,   5,   6,   7,   8,   24,  65,  68,                 // hero
    9,   10,  11,  12,  13,  14,  15,  16,  33,  34,  57,  35,  36,  37,  // enemies
    53,  54,  55,  56,  121, 122, 123, 124, 125, 126, 141, 142, 143, 144, 17,  18,  19,
    20,  80,  100, 120, 22,  180, 181, 182, 183, 40,  200,  // blocks
    201, 202, 203, 21,  23,  43,  44,  63,  64,  128, 129, 130, 131, 132, 133, 134, 135,
    136, 41,  26,  42,  27,  28,  47,  48,  38,  39,  58,  59,  // pick-ups, doors
    69,  88,  89,  86,  87,  105, 140, 85,  145, 146, 160, 161, 162, 163, 164, 165, 166};

// Frames that move over the world, and the pick-ups: the key must show around the figure.
constexpr int kSprites[] = {1,  2,   3,   4,   5,   6,   7,   8,   24,  65,  68,  9,  10, 11,
                            12, 13,  14,  15,  16,  33,  34,  57,  35,  36,  37,  53, 54, 55,
                            56, 121, 122, 123, 124, 125, 126, 141, 142, 143, 144, 41, 26, 42};

class GfxArchive : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch.linkBuiltData();
        archive::openArchives();
    }
    void TearDown() override { archive::closeArchives(); }

    Picture load(const std::string& name) {
        archive::ResourceBuffer buffer =
            archive::loadResource(archive::ARCHIVE_GFX, name.c_str(), "bmp");
        if (!buffer) {
            ADD_FAILURE() << name << ".bmp is not in data/gfx.zda";
            return nullptr;
        }
        Picture picture(SDL_LoadBMP_RW(SDL_RWFromConstMem(buffer.bytes.get(), buffer.size), 1));
        EXPECT_NE(picture, nullptr) << name << ": " << SDL_GetError();
        return picture;
    }

    test_support::ScratchDirectory scratch;
};

bool blankArea(SDL_Surface* s, int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (!at(s, x, y).isKey()) return false;
    return true;
}

bool tileBlank(SDL_Surface* sheet, int index) {
    return blankArea(sheet, (index % kSheetColumns) * kTile, (index / kSheetColumns) * kTile, kTile,
                     kTile);
}

TEST_F(GfxArchive, EveryPictureTheGameAsksForDecodesAtAUsableSize) {
    for (const video::StyleFiles& files : video::kStyleFiles) {
        SCOPED_TRACE(files.blocks);
        Picture blocks = load(files.blocks);
        Picture font = load(files.font);
        Picture fontBig = load(files.fontBig);
        Picture logo = load(files.logo);
        ASSERT_TRUE(blocks && font && fontBig && logo);
        EXPECT_EQ(blocks->w, 320);
        EXPECT_EQ(blocks->h, 192);
        const int glyphsNeeded = 'Z' - ' ' + 1;
        EXPECT_EQ(font->w % 8, 0);
        EXPECT_EQ(font->h % 8, 0);
        EXPECT_GE((font->w / 8) * (font->h / 8), glyphsNeeded);
        EXPECT_EQ(fontBig->w % 16, 0);
        EXPECT_EQ(fontBig->h % 16, 0);
        EXPECT_GE((fontBig->w / 16) * (fontBig->h / 16), glyphsNeeded);
        EXPECT_GE(logo->w, 200);
        EXPECT_LE(logo->w, 300);
        EXPECT_GE(logo->h, 50);
        EXPECT_LE(logo->h, 70);
        if (!files.back) continue;
        Picture back = load(files.back);
        ASSERT_TRUE(back);
        EXPECT_GE(back->w, 320);
        EXPECT_LE(back->h, 192);
    }
    Picture moon = load("moon");
    Picture donate = load("donate");
    ASSERT_TRUE(moon && donate);
    EXPECT_GE(moon->w, 24);
    EXPECT_LE(moon->w, 64);
    EXPECT_EQ(moon->w, moon->h);
    EXPECT_EQ(donate->w, 320);
    EXPECT_EQ(donate->h, 240);
}

TEST_F(GfxArchive, EveryTileTheGameDrawsIsDrawnInEveryStyle) {
    for (const char* name : kSheets) {
        Picture sheet = load(name);
        ASSERT_TRUE(sheet);
        for (int index : kDrawnByTheGame)
            EXPECT_FALSE(tileBlank(sheet.get(), index)) << name << " tile " << index;
    }
}

// The four corners are key and so is at least a quarter of the border: a figure, not a
// block, even where an ear or a wing reaches the edge.
TEST_F(GfxArchive, SpriteFramesStandOnTheKey) {
    for (const char* name : kSheets) {
        Picture sheet = load(name);
        ASSERT_TRUE(sheet);
        for (int index : kSprites) {
            const int x0 = (index % kSheetColumns) * kTile, y0 = (index / kSheetColumns) * kTile;
            int key = 0;
            for (int i = 0; i < kTile; ++i) {
                key += at(sheet.get(), x0 + i, y0).isKey() +
                       at(sheet.get(), x0 + i, y0 + kTile - 1).isKey();
                key += at(sheet.get(), x0, y0 + i).isKey() +
                       at(sheet.get(), x0 + kTile - 1, y0 + i).isKey();
            }
            for (const auto& [cx, cy] :
                 {std::pair{0, 0}, {kTile - 1, 0}, {0, kTile - 1}, {kTile - 1, kTile - 1}})
                EXPECT_TRUE(at(sheet.get(), x0 + cx, y0 + cy).isKey()) << name << " tile " << index;
            EXPECT_GE(key, kTile) << name << " tile " << index;
        }
    }
}

// The game cuts its eight surface frames from the strip of tiles 160 and 161 rotated left by
// 0..14 pixels: the strip must join itself, and every rotation must meet plain water (162,
// also 85 and 163) below it without a seam.
TEST_F(GfxArchive, TheWaterStripTurnsSeamlesslyAndMeetsTheWaterBelow) {
    const int stripX = video::kWaterStripX, stripY = video::kWaterStripY, stripWidth = 2 * kTile;
    for (const char* name : kSheets) {
        SCOPED_TRACE(name);
        Picture sheet = load(name);
        ASSERT_TRUE(sheet);
        SDL_Surface* s = sheet.get();
        int widestStep = 0;
        for (int x = 0; x + 1 < stripWidth; ++x)
            for (int y = 0; y < kTile; ++y)
                widestStep = std::max(
                    widestStep,
                    at(s, stripX + x, stripY + y).distance(at(s, stripX + x + 1, stripY + y)));
        for (int y = 0; y < kTile; ++y)
            EXPECT_LE(
                at(s, stripX + stripWidth - 1, stripY + y).distance(at(s, stripX, stripY + y)),
                widestStep)
                << "row " << y;
        for (int below : {162, 85, 163}) {
            const int bx = (below % kSheetColumns) * kTile, by = (below / kSheetColumns) * kTile;
            for (int shift = 0; shift < video::kWaterShifts; ++shift)
                for (int x = 0; x < stripWidth; ++x)
                    EXPECT_EQ(at(s, stripX + (x + shift) % stripWidth, stripY + kTile - 1),
                              at(s, bx + x % kTile, by))
                        << "tile " << below << " under a strip turned by " << shift << ", column "
                        << x;
        }
    }
}

TEST_F(GfxArchive, FontsCoverTheirRangeOnTheKey) {
    const std::pair<const char*, int> fonts[] = {
        {"font", 8}, {"gbfont", 8}, {"fontbig", 16}, {"gbfontbig", 16}};
    for (const auto& [name, cell] : fonts) {
        SCOPED_TRACE(name);
        Picture font = load(name);
        ASSERT_TRUE(font);
        const int perRow = font->w / cell;
        std::set<std::vector<bool>> shapes;
        for (int c = ' '; c <= 'Z'; ++c) {
            const int x0 = ((c - ' ') % perRow) * cell, y0 = ((c - ' ') / perRow) * cell;
            std::vector<bool> shape;
            int key = 0;
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < cell; ++x) {
                    const bool k = at(font.get(), x0 + x, y0 + y).isKey();
                    shape.push_back(k);
                    key += k;
                }
            if (c == ' ') {
                EXPECT_EQ(key, cell * cell) << "space is not blank";
                continue;
            }
            EXPECT_LT(key, cell * cell) << "no glyph for '" << char(c) << "'";
            EXPECT_GE(key, cell * cell / 4) << "'" << char(c) << "' does not stand on the key";
            EXPECT_TRUE(shapes.insert(shape).second)
                << "'" << char(c) << "' looks like another glyph";
        }
    }
}

TEST_F(GfxArchive, TheHandheldPicturesKeepToFourGreens) {
    for (const char* name : {"gbblocks", "gbfont", "gbfontbig", "gblogo"}) {
        Picture picture = load(name);
        ASSERT_TRUE(picture);
        std::set<std::tuple<int, int, int>> shades;
        for (int y = 0; y < picture->h; ++y)
            for (int x = 0; x < picture->w; ++x) {
                const Colour c = at(picture.get(), x, y);
                if (!c.isKey()) shades.insert({c.r, c.g, c.b});
            }
        EXPECT_LE(shades.size(), 4u) << name;
        for (const auto& [r, g, b] : shades)
            EXPECT_TRUE(g > r && g > b) << name << ": " << r << "," << g << "," << b;
    }
}

TEST_F(GfxArchive, NoColourTurnsTransparentByAccident) {
    for (const char* name : {"blocks", "newblocks", "gbblocks", "font", "gbfont", "fontbig",
                             "gbfontbig", "logo", "gblogo", "back", "newback", "moon", "donate"}) {
        Picture picture = load(name);
        ASSERT_TRUE(picture);
        int faults = 0;
        for (int y = 0; y < picture->h; ++y)
            for (int x = 0; x < picture->w; ++x) faults += at(picture.get(), x, y).isNearKey();
        EXPECT_EQ(faults, 0) << name;
    }
}

// The game repeats a background every W pixels: the join from the last column to the first
// must be no rougher than the roughest pair of neighbouring columns inside the picture.
TEST_F(GfxArchive, BackgroundsAreOpaqueAndRepeatSeamlessly) {
    constexpr int kVisibleStep = 40;
    for (const char* name : {"back", "newback"}) {
        Picture back = load(name);
        ASSERT_TRUE(back);
        SDL_Surface* s = back.get();
        auto rowsThatJump = [s](int x0, int x1) {
            int rows = 0;
            for (int y = 0; y < s->h; ++y)
                rows += at(s, x0, y).distance(at(s, x1, y)) > kVisibleStep;
            return rows;
        };
        int roughest = 0;
        for (int x = 0; x + 1 < s->w; ++x) roughest = std::max(roughest, rowsThatJump(x, x + 1));
        EXPECT_LE(rowsThatJump(s->w - 1, 0), roughest) << name;
        EXPECT_FALSE(blankArea(s, 0, 0, 1, 1));
        int key = 0;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x) key += at(s, x, y).isKey();
        EXPECT_EQ(key, 0) << name << " must be opaque";
    }
}

TEST_F(GfxArchive, KeyedPicturesHaveTheKeyAroundThem) {
    for (const char* name : {"logo", "gblogo", "moon", "donate"}) {
        Picture picture = load(name);
        ASSERT_TRUE(picture);
        const int w = picture->w, h = picture->h;
        for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
            EXPECT_TRUE(at(picture.get(), x, y).isKey()) << name << " corner " << x << "," << y;
        EXPECT_FALSE(at(picture.get(), w / 2, h / 2).isKey()) << name;
    }
}

// The rows "| index | picture | yes/no | notes |" of TILES.md.
std::vector<std::tuple<int, std::string, bool>> tileTable() {
    std::ifstream in(test_support::sourceDirectory() / "content" / "gfx" / "TILES.md");
    std::vector<std::tuple<int, std::string, bool>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("| ", 0) != 0) continue;
        std::vector<std::string> cells;
        std::stringstream split(line.substr(1));
        std::string cell;
        while (std::getline(split, cell, '|')) {
            const size_t first = cell.find_first_not_of(' ');
            const size_t last = cell.find_last_not_of(' ');
            cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
        }
        if (cells.size() < 3 || cells[0].empty() ||
            !std::isdigit(static_cast<unsigned char>(cells[0][0])))
            continue;
        rows.emplace_back(std::stoi(cells[0]), cells[1], cells[2] == "yes");
    }
    return rows;
}

TEST_F(GfxArchive, TheTileTableListsEveryDrawnTileWithTheGamesSolidity) {
    const auto table = tileTable();
    ASSERT_FALSE(table.empty());
    std::set<int> listed;
    for (const auto& [index, picture, solid] : table) {
        EXPECT_TRUE(listed.insert(index).second) << index << " listed twice";
        EXPECT_EQ(solid, world::isSolidCode(world::TileCode(index))) << index << " " << picture;
    }
    for (const char* name : kSheets) {
        Picture sheet = load(name);
        ASSERT_TRUE(sheet);
        for (int index = 1; index < video::kTileImageCount; ++index)
            EXPECT_EQ(listed.count(index) == 1, !tileBlank(sheet.get(), index))
                << name << " tile " << index;
    }
}

}  // namespace
