// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// trolkgfx: compiles the picture sources of content/gfx into the BMP files of the graphics
// archive, and writes review images beside them.
//
//   trolkgfx SOURCE_DIR OUTPUT_DIR REVIEW_DIR
//
// SOURCE_DIR holds palettes/ (one palette per style), tiles/*.art (the tile sheets),
// font/*.art (glyph shapes), logo.txt, back.scene and newback.scene (the backgrounds),
// moon.art, donate.card and review/*.map (mock-up screens). The same sources always give
// the same files. Errors are one line on standard error and exit status 1.

#include "bmp_writer.h"
#include "card.h"
#include "font_sheet.h"
#include "logo.h"
#include "painter.h"
#include "palette.h"
#include "pixel_art.h"
#include "review.h"
#include "tile_sheet.h"
#include "tool_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace gfx;

namespace {

constexpr const char* kSheetNames[kStyleCount] = {"blocks", "newblocks", "gbblocks"};
constexpr int kHandheldShades = 4;
constexpr int kReviewScale = 2;

struct Build {
    fs::path sources;
    fs::path output;
    fs::path review;
    Palette palettes[kStyleCount];
    std::vector<Piece> tilePieces;
    std::vector<Piece> glyphPieces;
    TileSheet sheets[kStyleCount];
    Image smallFont[kStyleCount];  // classic and deluxe share the deluxe fonts
    Image bigFont[kStyleCount];
    Image logo[kStyleCount];
    Image background[kStyleCount];
    Image moon;
    Image donate;
};

bool fail(const std::string& message) {
    std::fprintf(stderr, "trolkgfx: %s\n", message.c_str());
    return false;
}

std::vector<fs::path> filesIn(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir, ignored))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool open(const fs::path& path, TextSource& source) {
    std::string error;
    return source.open(path.string(), error) || fail(error);
}

bool readArt(const fs::path& dir, std::vector<Piece>& pieces) {
    const std::vector<fs::path> files = filesIn(dir, ".art");
    if (files.empty()) return fail("no .art files in " + dir.string());
    for (const fs::path& file : files) {
        TextSource source;
        std::string error;
        if (!open(file, source)) return false;
        if (!readPixelArt(source, pieces, error)) return fail(error);
    }
    return true;
}

// Every colour of a picture must survive the game's 16-bit conversion; the handheld style
// must keep to its four shades.
bool check(const std::string& name, const Image& image, bool handheld) {
    std::set<std::tuple<int, int, int>> shades;
    for (const Rgb& c : image.pixels) {
        if (isNearKey(c)) return fail(name + " holds a colour that would turn transparent");
        if (!(c == kKey)) shades.insert({c.r, c.g, c.b});
    }
    if (handheld && int(shades.size()) > kHandheldShades)
        return fail(name + " uses more than four shades");
    return true;
}

bool save(const Build& b, const std::string& name, const Image& image, bool handheld) {
    if (!check(name, image, handheld)) return false;
    const std::vector<uint8_t> bytes = encodeBmp(image);
    const fs::path path = b.output / (name + ".bmp");
    return tool_files::writeFileReplacing(path, bytes) || fail("cannot write " + path.string());
}

bool review(const Build& b, const std::string& name, const Image& image, int scale) {
    const fs::path path = b.review / (name + ".png");
    return writePng(path.string(), image, scale, true) || fail("cannot write " + path.string());
}

bool buildSheets(Build& b) {
    if (!readArt(b.sources / "tiles", b.tilePieces)) return false;
    std::ofstream index(b.review / "tiles.txt");
    for (int s = 0; s < kStyleCount; ++s) {
        std::string error;
        if (!buildTileSheet(b.tilePieces, b.palettes[s], s, b.sheets[s], error)) return fail(error);
        if (!save(b, kSheetNames[s], b.sheets[s].sheet, s == STYLE_HANDHELD)) return false;
        if (!review(b, kSheetNames[s], contactSheet(b.sheets[s]), 1)) return false;
    }
    for (int i = 1; i < kTileCount; ++i)
        if (!b.sheets[STYLE_DELUXE].names[i].empty())
            index << i << "\t" << b.sheets[STYLE_DELUXE].names[i] << "\n";
    return true;
}

bool buildFonts(Build& b) {
    if (!readArt(b.sources / "font", b.glyphPieces)) return false;
    for (int s : {STYLE_DELUXE, STYLE_HANDHELD}) {
        std::string error;
        if (!buildFontSheets(b.glyphPieces, b.palettes[s], b.smallFont[s], b.bigFont[s], error))
            return fail(std::string(kStyleNames[s]) + " fonts: " + error);
    }
    b.smallFont[STYLE_CLASSIC] = b.smallFont[STYLE_DELUXE];
    b.bigFont[STYLE_CLASSIC] = b.bigFont[STYLE_DELUXE];
    if (!save(b, "font", b.smallFont[STYLE_DELUXE], false) ||
        !save(b, "fontbig", b.bigFont[STYLE_DELUXE], false) ||
        !save(b, "gbfont", b.smallFont[STYLE_HANDHELD], true) ||
        !save(b, "gbfontbig", b.bigFont[STYLE_HANDHELD], true))
        return false;

    // The sheets and the game's own lines, on black as on the warning screen.
    const char* lines[] = {"WARNING",
                           "THIS GAME IS VERY DIFFICULT.",
                           "KILLED BY A HAT GUY",
                           "TIME: AIR: 0123456789",
                           "YOU FORGOT ITEMS!",
                           "-PAUSE-  GO ON, EXIT?"};
    Image sheet(560, 470, Rgb{});
    int y = 4;
    for (int s : {STYLE_DELUXE, STYLE_HANDHELD}) {
        blit(sheet, b.smallFont[s], 4, y, true);
        blit(sheet, b.bigFont[s], 140, y, true);
        int ly = y + 100;
        for (const char* line : lines) {
            drawSheetText(sheet, b.smallFont[s], 8, 4, ly, line);
            drawSheetText(sheet, b.bigFont[s], 16, 236, ly - 4, line);
            ly += 20;
        }
        y += 232;
    }
    return review(b, "fonts", sheet, kReviewScale);
}

bool buildPictures(Build& b) {
    std::string error;
    for (int s : {STYLE_DELUXE, STYLE_HANDHELD}) {
        TextSource source;
        if (!open(b.sources / "logo.txt", source)) return false;
        if (!renderLogo(source, b.palettes[s], b.logo[s], error)) return fail(error);
    }
    b.logo[STYLE_CLASSIC] = b.logo[STYLE_DELUXE];
    if (!save(b, "logo", b.logo[STYLE_DELUXE], false) ||
        !save(b, "gblogo", b.logo[STYLE_HANDHELD], true) ||
        !review(b, "logo", b.logo[STYLE_DELUXE], kReviewScale) ||
        !review(b, "gblogo", b.logo[STYLE_HANDHELD], kReviewScale))
        return false;

    const char* backs[] = {"back", "newback"};
    for (int s : {STYLE_CLASSIC, STYLE_DELUXE}) {
        TextSource source;
        if (!open(b.sources / (std::string(backs[s]) + ".scene"), source)) return false;
        if (!paintScene(source, b.palettes[s], b.background[s], error)) return fail(error);
        if (!save(b, backs[s], b.background[s], false) ||
            !review(b, backs[s], b.background[s], kReviewScale))
            return false;
    }

    std::vector<Piece> moonPieces;
    {
        TextSource source;
        if (!open(b.sources / "moon.art", source)) return false;
        if (!readPixelArt(source, moonPieces, error)) return fail(error);
    }
    if (moonPieces.size() != 1 || moonPieces[0].kind != PieceKind::Image)
        return fail("moon.art holds one image");
    if (!paintPiece(moonPieces[0], b.palettes[STYLE_DELUXE], b.moon, error)) return fail(error);
    if (!save(b, "moon", b.moon, false) || !review(b, "moon", b.moon, 4)) return false;

    TextSource card;
    if (!open(b.sources / "donate.card", card)) return false;
    const CardParts parts{&b.sheets[STYLE_DELUXE].sheet, &b.smallFont[STYLE_DELUXE],
                          &b.bigFont[STYLE_DELUXE]};
    if (!composeCard(card, b.palettes[STYLE_DELUXE], parts, b.donate, error)) return fail(error);
    return save(b, "donate", b.donate, false) && review(b, "donate", b.donate, kReviewScale);
}

// Each map of review/ as a level screen in every style, and the first one as a title screen.
bool buildMockups(const Build& b) {
    const std::vector<fs::path> maps = filesIn(b.sources / "review", ".map");
    for (size_t m = 0; m < maps.size(); ++m) {
        for (int s = 0; s < kStyleCount; ++s) {
            for (bool title : {false, true}) {
                if (title && m > 0) continue;
                MockupParts parts;
                parts.tiles = &b.sheets[s].sheet;
                parts.background = s == STYLE_HANDHELD ? nullptr : &b.background[s];
                parts.moon = &b.moon;
                parts.smallFont = &b.smallFont[s];
                parts.bigFont = &b.bigFont[s];
                parts.logo = title ? &b.logo[s] : nullptr;
                parts.handheld = s == STYLE_HANDHELD;
                TextSource source;
                std::string error;
                Image screen;
                if (!open(maps[m], source)) return false;
                if (!renderMockup(source, parts, 0, screen, error)) return fail(error);
                const std::string name =
                    (title ? std::string("title") : maps[m].stem().string()) + "_" + kStyleNames[s];
                if (!review(b, name, screen, kReviewScale)) return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: trolkgfx SOURCE_DIR OUTPUT_DIR REVIEW_DIR\n");
        return 1;
    }
    Build b;
    b.sources = argv[1];
    b.output = argv[2];
    b.review = argv[3];
    std::error_code ignored;
    fs::create_directories(b.output, ignored);
    fs::create_directories(b.review, ignored);
    for (int s = 0; s < kStyleCount; ++s) {
        TextSource source;
        std::string error;
        if (!open(b.sources / "palettes" / (std::string(kStyleNames[s]) + ".pal"), source))
            return 1;
        if (!readPalette(source, b.palettes[s], error)) return fail(error), 1;
    }
    if (!buildSheets(b) || !buildFonts(b) || !buildPictures(b) || !buildMockups(b)) return 1;
    return 0;
}
