// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture compiler: BMP files that SDL reads back pixel for pixel, faults in sources
// reported at their line, tile groups and derived tiles in their place, the EPX doubling
// of the big font, seamless backgrounds, and the whole program giving the same files from
// the same sources.

#include "bmp_writer.h"
#include "font_sheet.h"
#include "logo.h"
#include "painter.h"
#include "palette.h"
#include "pixel_art.h"
#include "support/test_support.h"
#include "tile_sheet.h"

#include <SDL.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using gfx::Rgb;

namespace {

gfx::Palette paletteOf(const std::string& text) {
    gfx::TextSource source;
    source.assign("test.pal", text);
    gfx::Palette palette;
    std::string error;
    EXPECT_TRUE(gfx::readPalette(source, palette, error)) << error;
    return palette;
}

bool readArt(const std::string& text, std::vector<gfx::Piece>& pieces, std::string& error) {
    gfx::TextSource source;
    source.assign("test.art", text);
    return gfx::readPixelArt(source, pieces, error);
}

// A 16-row grid of one character.
std::string grid(char c, int width = 16, int height = 16) {
    std::string rows;
    for (int y = 0; y < height; ++y) rows += std::string(size_t(width), c) + "\n";
    return rows;
}

const char* const kLegend = "legend\n. key\nr red\ng green\nend\n";
const char* const kPalette = "red 200 0 0\ngreen 0 200 0\n";
constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kGreen{0, 200, 0};

Rgb rgbAt(SDL_Surface* s, int x, int y) {
    const int bytes = s->format->BytesPerPixel;
    const uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    Rgb c;
    SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
    return c;
}

TEST(BmpWriter, EverySizeDecodesThroughSdlPixelForPixel) {
    const int sizes[][2] = {{1, 1}, {2, 3}, {3, 2}, {5, 4}, {16, 16}, {17, 2}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1]);
        gfx::Image image(size[0], size[1]);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.at(x, y) = {uint8_t(x * 13 + 1), uint8_t(y * 29 + 2), uint8_t((x ^ y) * 7)};
        const std::vector<uint8_t> file = gfx::encodeBmp(image);
        SDL_Surface* decoded = SDL_LoadBMP_RW(SDL_RWFromConstMem(file.data(), int(file.size())), 1);
        ASSERT_NE(decoded, nullptr) << SDL_GetError();
        EXPECT_EQ(decoded->w, image.width);
        EXPECT_EQ(decoded->h, image.height);
        EXPECT_EQ(decoded->format->BitsPerPixel, 24);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) EXPECT_EQ(rgbAt(decoded, x, y), image.at(x, y));
        SDL_FreeSurface(decoded);
    }
}

TEST(Palette, NamesColoursAndRefusesTheKeyAndItsLookalikes) {
    const gfx::Palette palette = paletteOf("ink 1 2 3\nshadow = ink\n");
    ASSERT_NE(palette.find("shadow"), nullptr);
    EXPECT_EQ(*palette.find("shadow"), (Rgb{1, 2, 3}));
    EXPECT_EQ(*palette.find("key"), gfx::kKey);

    const struct {
        const char* text;
        const char* reason;
    } faults[] = {
        {"a 1 2 3\nb = c\n", "unknown colour c"}, {"key 1 2 3\n", "fixed"},
        {"pink 250 2 250\n", "transparent"},      {"a 1 2 256\n", "expected"},
        {"a 1 2 3\na 4 5 6\n", "twice"},
    };
    for (const auto& fault : faults) {
        gfx::TextSource source;
        source.assign("bad.pal", fault.text);
        gfx::Palette bad;
        std::string error;
        EXPECT_FALSE(gfx::readPalette(source, bad, error)) << fault.text;
        EXPECT_NE(error.find(fault.reason), std::string::npos) << error;
    }
}

TEST(PixelArt, ReportsEachFaultAtItsLine) {
    const std::string rows = grid('r');
    const struct {
        std::string text;
        const char* where;
        const char* reason;
    } faults[] = {
        {std::string(kLegend) + "tile 1 : a\n" + grid('r', 16, 15) + "r\n",
         "test.art:22:", "expected 16"},
        {std::string(kLegend) + "tile 1 : a\nrrrrrrrrrrrrrrrx\n", "test.art:7:", "'x'"},
        {std::string(kLegend) + "tile 1 a\n", "test.art:6:", ": name"},
        {std::string(kLegend) + "tile 1 2 2x2 : a\n", "test.art:6:", "as many indices"},
        {std::string(kLegend) + "tile 240 : a\n", "test.art:6:", "'240'"},
        {std::string(kLegend) + "tile 1 2 2x1 mirror=3 : a\n", "test.art:6:", "single tiles"},
        {std::string(kLegend) + "tile 1 shift=1,0 : a\n" + rows, "test.art:6:", "shift="},
        {std::string(kLegend) + "tile 1 style=amiga : a\n", "test.art:6:", "style=amiga"},
        {std::string(kLegend) + "glyph A\n", "test.art:6:", "glyph-size"},
        {"legend\n. key\n", "test.art:2:", "without end"},
        {"sprite 1\n", "test.art:1:", "unknown statement"},
    };
    for (const auto& fault : faults) {
        std::vector<gfx::Piece> pieces;
        std::string error;
        EXPECT_FALSE(readArt(fault.text, pieces, error)) << fault.text;
        EXPECT_EQ(error.rfind(fault.where, 0), 0u) << error;
        EXPECT_NE(error.find(fault.reason), std::string::npos) << error;
    }
}

// Two tiles of a group, a style's own version of one of them, and tiles derived from both.
TEST(TileSheet, PlacesGroupsStyleVersionsAndDerivedTiles) {
    std::string left, right;
    for (int y = 0; y < 16; ++y) {
        left += "r" + std::string(15, '.');            // a red stripe at the left edge
        right += std::string(16, y == 0 ? 'g' : '.');  // a green top row
    }
    std::string group;
    for (int y = 0; y < 16; ++y)
        group += left.substr(size_t(y) * 16, 16) + right.substr(size_t(y) * 16, 16) + "\n";
    const std::string text = std::string(kLegend) + "tile 27 28 2x1 : door\n" + group +
                             "tile 28 style=gb : door, handheld\n" + grid('g') +
                             "tile 5 mirror=27 : left\n" + "tile 6 flip=28 : flipped\n" +
                             "tile 7 from=27 shift=2,3 : moved\n";
    std::vector<gfx::Piece> pieces;
    std::string error;
    ASSERT_TRUE(readArt(text, pieces, error)) << error;
    const gfx::Palette palette = paletteOf(kPalette);

    gfx::TileSheet deluxe, handheld;
    ASSERT_TRUE(gfx::buildTileSheet(pieces, palette, gfx::STYLE_DELUXE, deluxe, error)) << error;
    ASSERT_TRUE(gfx::buildTileSheet(pieces, palette, gfx::STYLE_HANDHELD, handheld, error))
        << error;

    const gfx::Image door = gfx::tileOf(deluxe.sheet, 27);
    EXPECT_EQ(door.at(0, 9), kRed);
    EXPECT_EQ(door.at(1, 9), gfx::kKey);
    const gfx::Image doorRight = gfx::tileOf(deluxe.sheet, 28);
    EXPECT_EQ(doorRight.at(5, 0), kGreen);
    EXPECT_EQ(doorRight.at(5, 1), gfx::kKey);
    EXPECT_EQ(gfx::tileOf(handheld.sheet, 28).at(5, 1), kGreen);  // its own version
    EXPECT_EQ(gfx::tileOf(handheld.sheet, 27).at(0, 9), kRed);    // the shared one

    EXPECT_EQ(gfx::tileOf(deluxe.sheet, 5).at(15, 9), kRed);
    EXPECT_EQ(gfx::tileOf(deluxe.sheet, 5).at(0, 9), gfx::kKey);
    EXPECT_EQ(gfx::tileOf(deluxe.sheet, 6).at(5, 15), kGreen);
    EXPECT_EQ(gfx::tileOf(handheld.sheet, 6).at(5, 1), kGreen);  // flipped from the gb 28
    const gfx::Image moved = gfx::tileOf(deluxe.sheet, 7);
    EXPECT_EQ(moved.at(2, 9), kRed);
    EXPECT_EQ(moved.at(2, 2), gfx::kKey);  // uncovered by the shift
    EXPECT_EQ(moved.at(0, 9), gfx::kKey);

    EXPECT_EQ(deluxe.names[28], "door (right)");
    EXPECT_EQ(handheld.names[28], "door, handheld");
    EXPECT_TRUE(deluxe.names[8].empty());
    EXPECT_TRUE(gfx::isBlank(gfx::tileOf(deluxe.sheet, 8)));
}

TEST(TileSheet, RefusesTilesDrawnTwiceDerivedInCirclesOrFromNothing) {
    const struct {
        std::string text;
        const char* reason;
    } faults[] = {
        {std::string(kLegend) + "tile 3 : a\n" + grid('r') + "tile 3 : b\n" + grid('g'),
         "already drawn"},
        {std::string(kLegend) + "tile 3 mirror=4 : a\ntile 4 flip=3 : b\n", "derived from itself"},
        {std::string(kLegend) + "tile 3 from=9 : a\n", "tile 9 is not drawn"},
    };
    for (const auto& fault : faults) {
        std::vector<gfx::Piece> pieces;
        std::string error;
        ASSERT_TRUE(readArt(fault.text, pieces, error)) << error;
        gfx::TileSheet sheet;
        EXPECT_FALSE(
            gfx::buildTileSheet(pieces, paletteOf(kPalette), gfx::STYLE_CLASSIC, sheet, error));
        EXPECT_NE(error.find(fault.reason), std::string::npos) << error;
    }
}

gfx::Image shapeImage(const std::vector<std::vector<bool>>& shape) {
    gfx::Image image(int(shape[0].size()), int(shape.size()));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (shape[y][x]) image.at(x, y) = kRed;
    return image;
}

std::vector<std::vector<bool>> shapeOf(const std::vector<std::string>& rows) {
    std::vector<std::vector<bool>> shape;
    for (const std::string& row : rows) {
        shape.emplace_back();
        for (char c : row) shape.back().push_back(c == '#');
    }
    return shape;
}

// EPX rounds the outer corners of a stroke, fills its inner corners, keeps straight edges
// straight and turns a lone pixel into a plain 2 x 2 dot.
TEST(FontSheet, DoublingRoundsOuterCornersAndFillsInnerOnes) {
    const struct {
        std::vector<std::string> shape;
        std::vector<std::string> doubled;
    } cases[] = {
        {{"##", "##"}, {".##.", "####", "####", ".##."}},
        {{"#####", "#...#", "#...#", "#####"},
         {".########.", "##########", "###....###", "##......##", "##......##", "###....###",
          "##########", ".########."}},
        {{"#.", ".."}, {"##..", "##..", "....", "...."}},
    };
    for (const auto& c : cases) {
        const gfx::Image got = shapeImage(gfx::scaleShape2x(shapeOf(c.shape)));
        const gfx::Image want = shapeImage(shapeOf(c.doubled));
        EXPECT_EQ(got.pixels, want.pixels) << c.shape[0] << "/" << c.shape[1];
    }
}

std::string fontPalette() {
    std::string text = "shadow 1 1 1\nshine 250 250 250\noutline 2 2 2\n";
    for (int i = 1; i <= 7; ++i)
        text += "font." + std::to_string(i) + " 200 " + std::to_string(i) + " 0\n";
    for (int i = 1; i <= 14; ++i)
        text += "fontbig." + std::to_string(i) + " 0 " + std::to_string(i) + " 200\n";
    return text + "font.shadow = shadow\nfontbig.shine = shine\nfontbig.outline = outline\n";
}

TEST(FontSheet, PutsEveryGlyphInItsCellWithShadowAndOutline) {
    std::string text = "legend\n. key\n# font.1\nend\nglyph-size 7x7\n";
    for (int c = ' '; c <= 'Z'; ++c) {
        text += c == ' ' ? std::string("glyph space\n") : std::string("glyph ") + char(c) + "\n";
        for (int y = 0; y < 7; ++y) text += (c != ' ' && y == 0) ? "#......\n" : ".......\n";
    }
    std::vector<gfx::Piece> pieces;
    std::string error;
    ASSERT_TRUE(readArt(text, pieces, error)) << error;
    gfx::Image small, big;
    ASSERT_TRUE(gfx::buildFontSheets(pieces, paletteOf(fontPalette()), small, big, error)) << error;
    EXPECT_EQ(small.width, 128);
    EXPECT_EQ(small.height, 48);
    EXPECT_EQ(big.width, 256);
    EXPECT_EQ(big.height, 96);

    const int cell = 'A' - 32;  // row 2, column 1 of sixteen
    const int sx = (cell % 16) * 8, sy = (cell / 16) * 8;
    EXPECT_EQ(small.at(sx, sy), (Rgb{200, 1, 0}));        // ink, top row colour
    EXPECT_EQ(small.at(sx + 1, sy + 1), (Rgb{1, 1, 1}));  // its shadow
    EXPECT_EQ(small.at(sx + 2, sy), gfx::kKey);
    const int bx = (cell % 16) * 16, by = (cell / 16) * 16;
    EXPECT_EQ(big.at(bx + 1, by + 1), (Rgb{250, 250, 250}));  // the lit top edge
    EXPECT_EQ(big.at(bx + 1, by + 2), (Rgb{0, 2, 200}));      // second row of ink
    EXPECT_EQ(big.at(bx, by), (Rgb{2, 2, 2}));                // outline all round
    EXPECT_EQ(big.at(bx + 3, by + 3), (Rgb{2, 2, 2}));
    EXPECT_TRUE(gfx::isBlank(gfx::crop(big, 0, 0, 16, 16)));  // space

    pieces.erase(pieces.begin() + ('Q' - ' '));
    EXPECT_FALSE(gfx::buildFontSheets(pieces, paletteOf(fontPalette()), small, big, error));
    EXPECT_NE(error.find("'Q'"), std::string::npos) << error;
}

gfx::Image paint(const std::string& scene) {
    gfx::TextSource source;
    source.assign("test.scene", scene);
    gfx::Image image;
    std::string error;
    EXPECT_TRUE(gfx::paintScene(source, paletteOf("sky 0 0 40\nhill 10 60 10\nrim 90 90 90\n"),
                                image, error))
        << error;
    return image;
}

// The first row of each column that is not sky.
std::vector<int> skylineOf(const gfx::Image& image) {
    std::vector<int> tops;
    for (int x = 0; x < image.width; ++x) {
        int y = 0;
        while (y < image.height && image.at(x, y) == (Rgb{0, 0, 40})) ++y;
        tops.push_back(y);
    }
    return tops;
}

TEST(Painter, RidgesAndHillsRepeatAcrossTheWidth) {
    for (const char* layer : {"ridge 80 50 60 hill rim", "hills 80 40 5 hill"}) {
        for (int seed : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << layer << " seed " << seed);
            const std::string scene = "size 200 100\nbands 0 99 sky sky\nseed " +
                                      std::to_string(seed) + "\n" + layer + "\n";
            const gfx::Image image = paint(scene);
            const std::vector<int> tops = skylineOf(image);
            int steepest = 0;
            for (size_t x = 0; x + 1 < tops.size(); ++x)
                steepest = std::max(steepest, std::abs(tops[x + 1] - tops[x]));
            EXPECT_LE(std::abs(tops.front() - tops.back()), std::max(1, steepest));
            EXPECT_EQ(paint(scene).pixels, image.pixels);  // the same every time
        }
    }
    EXPECT_NE(paint("size 200 100\nseed 1\nridge 80 50 60 hill\n").pixels,
              paint("size 200 100\nseed 2\nridge 80 50 60 hill\n").pixels);
}

TEST(Logo, OutlinesTheLettersAndCastsAShadow) {
    gfx::TextSource source;
    source.assign("logo.txt",
                  "cell 2\ngap 1\nfill f1 f2\nlight li\ndark dk\noutline ol\nshadow sh\n"
                  "letter\n##\n##\nend\nletter\n#e\n##\nend\n");
    const gfx::Palette palette =
        paletteOf("f1 200 200 0\nf2 200 100 0\nli 255 255 200\ndk 100 50 0\nol 20 0 0\nsh 5 5 5\n");
    gfx::Image logo;
    std::string error;
    ASSERT_TRUE(gfx::renderLogo(source, palette, logo, error)) << error;
    EXPECT_EQ(logo.width, (2 + 1 + 2) * 2 + 2 * 2 + 3);
    EXPECT_EQ(logo.height, 2 * 2 + 2 * 2 + 3);
    EXPECT_EQ(logo.at(0, 0), gfx::kKey);
    EXPECT_EQ(logo.at(1, 2), (Rgb{20, 0, 0}));        // outline left of the first letter
    EXPECT_EQ(logo.at(2, 2), (Rgb{255, 255, 200}));   // lit top-left of the letter
    EXPECT_EQ(logo.at(16, 8), (Rgb{5, 5, 5}));        // shadow, three pixels right and down
    EXPECT_EQ(logo.at(10, 3), (Rgb{255, 255, 255}));  // the eye cell, flat
}

class ToolRun : public ::testing::Test {
  protected:
    test_support::ChildResult trolkgfx(const fs::path& sources, const fs::path& out) {
        const fs::path tool = test_support::buildDirectory() / "tools" / "trolkgfx";
        return test_support::runProgram(
            {tool.string(), sources.string(), out.string(), (out / "review").string()},
            scratch.path());
    }
    test_support::ScratchDirectory scratch;
};

TEST_F(ToolRun, TheSameSourcesGiveTheSameFiles) {
    const fs::path sources = test_support::sourceDirectory() / "content" / "gfx";
    ASSERT_EQ(trolkgfx(sources, scratch.path() / "a").exitStatus, 0);
    ASSERT_EQ(trolkgfx(sources, scratch.path() / "b").exitStatus, 0);
    for (const char* name : {"blocks", "newblocks", "gbblocks", "font", "gbfont", "fontbig",
                             "gbfontbig", "logo", "gblogo", "back", "newback", "moon", "donate"}) {
        const std::string file = std::string(name) + ".bmp";
        const std::vector<uint8_t> a = test_support::readFile(scratch.path() / "a" / file);
        EXPECT_FALSE(a.empty()) << file;
        EXPECT_EQ(a, test_support::readFile(scratch.path() / "b" / file)) << file;
    }
    EXPECT_TRUE(fs::exists(scratch.path() / "a" / "review" / "newblocks.png"));
}

TEST_F(ToolRun, ABrokenSourceStopsItWithoutWritingPictures) {
    const fs::path sources = scratch.path() / "sources";
    fs::copy(test_support::sourceDirectory() / "content" / "gfx", sources,
             fs::copy_options::recursive);
    test_support::writeText(sources / "tiles" / "zz_broken.art", "tile 3 : hero again\n");
    EXPECT_EQ(trolkgfx(sources, scratch.path() / "out").exitStatus, 1);
    EXPECT_FALSE(fs::exists(scratch.path() / "out" / "newblocks.bmp"));
}

}  // namespace
