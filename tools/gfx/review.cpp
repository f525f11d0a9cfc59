// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "review.h"

#include <map>
#include <vector>

#include "font_sheet.h"
#include "png_file.h"

namespace gfx {

namespace {

constexpr Rgb kCheckerDark{34, 34, 40};
constexpr Rgb kCheckerLight{52, 52, 60};
constexpr Rgb kSheetBackground{18, 18, 22};
constexpr Rgb kLabelColour{200, 200, 210};
constexpr Rgb kUnusedLabel{80, 80, 90};
constexpr int kContactScale = 3;
constexpr int kLabelScale = 2;
constexpr int kLabelHeight = 14;
constexpr int kCellGap = 6;
constexpr int kCheckerSquare = 4;

// 3 x 5 digits, one row of three bits per line, top first.
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};

// The game's HUD colours (the named colours of the display).
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kDarkRed{128, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kDarkBlue{0, 0, 128};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kDarkGrey{64, 64, 64};
constexpr int kViewRows = 12;
constexpr int kViewHeight = kViewRows * kTileSize;

}  // namespace

bool writePng(const std::string& path, const Image& image, int scale, bool checker) {
    const Image big = scaled(image, scale);
    std::vector<uint8_t> bytes;
    bytes.reserve(big.pixels.size() * 3);
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            Rgb c = big.at(x, y);
            if (checker && c == kKey)
                c = ((x / kCheckerSquare + y / kCheckerSquare) & 1) ? kCheckerLight : kCheckerDark;
            bytes.push_back(c.r);
            bytes.push_back(c.g);
            bytes.push_back(c.b);
        }
    return png_file::writeRgb(path, big.width, big.height, bytes.data());
}

void drawLabel(Image& target, int x, int y, int value, int scale, Rgb colour) {
    const std::string text = std::to_string(value);
    for (char ch : text) {
        const uint8_t* rows = kDigits[ch - '0'];
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 3; ++c)
                if (rows[r] & (4 >> c))
                    fillRect(target, x + c * scale, y + r * scale, scale, scale, colour);
        x += 4 * scale;
    }
}

Image contactSheet(const TileSheet& tiles) {
    const int tileSide = kTileSize * kContactScale;
    const int pitchX = tileSide + kCellGap;
    const int pitchY = tileSide + kLabelHeight + kCellGap;
    Image out(kSheetColumns * pitchX + kCellGap, kSheetRows * pitchY + kCellGap, kSheetBackground);
    for (int i = 0; i < kTileCount; ++i) {
        const int x = kCellGap + (i % kSheetColumns) * pitchX;
        const int y = kCellGap + (i / kSheetColumns) * pitchY;
        const bool used = !tiles.names[i].empty();
        drawLabel(out, x, y, i, kLabelScale, used ? kLabelColour : kUnusedLabel);
        const Image tile = scaled(tileOf(tiles.sheet, i), kContactScale);
        for (int ty = 0; ty < tileSide; ++ty)
            for (int tx = 0; tx < tileSide; ++tx) {
                Rgb c = tile.at(tx, ty);
                if (c == kKey)
                    c = ((tx / kCheckerSquare + ty / kCheckerSquare) & 1) ? kCheckerLight
                                                                          : kCheckerDark;
                out.at(x + tx, y + kLabelHeight + ty) = c;
            }
    }
    return out;
}

namespace {

void drawHud(Image& screen, const MockupParts& parts) {
    const Image& tiles = *parts.tiles;
    const Rgb timeFull = parts.handheld ? kLightGrey : kRed;
    const Rgb timeEmpty = parts.handheld ? kGrey : kDarkRed;
    const Rgb airFull = parts.handheld ? kGrey : kBlue;
    const Rgb airEmpty = parts.handheld ? kDarkGrey : kDarkBlue;
    drawSheetText(screen, *parts.smallFont, 8, 4, 196, "TIME:");
    fillRect(screen, 48, 198, 190, 5, timeFull);
    fillRect(screen, 238, 198, 74, 5, timeEmpty);
    drawSheetText(screen, *parts.smallFont, 8, 12, 206, "AIR:");
    fillRect(screen, 48, 208, 120, 5, airFull);
    fillRect(screen, 168, 208, 144, 5, airEmpty);
    blit(screen, tileOf(tiles, 24), 16, 220, true);
    drawSheetText(screen, *parts.bigFont, 16, 40, 220, "X06");
    blit(screen, tileOf(tiles, 42), 104, 220, true);
    drawSheetText(screen, *parts.bigFont, 16, 124, 220, "0137");
    blit(screen, tileOf(tiles, 41), 196, 220, true);
    drawSheetText(screen, *parts.bigFont, 16, 216, 220, "03");
    blit(screen, tileOf(tiles, 17), 256, 220, true);
    drawSheetText(screen, *parts.bigFont, 16, 276, 220, "04");
}

void drawTitle(Image& screen, const MockupParts& parts) {
    const Image& logo = *parts.logo;
    blit(screen, logo, (320 - logo.width) / 2, (240 - logo.height) / 2 - 40, true);
    const char* items[] = {"NEW GAME", "CONTINUE", "HISCORES", "EXIT"};
    for (int i = 0; i < 4; ++i)
        drawSheetText(screen, *parts.bigFont, 16, centredX(320, 16, items[i]), 124 + 18 * i,
                      items[i]);
    drawSheetText(screen, *parts.smallFont, 8, 0, 196, "HARD, HARDER, TROLK! IF THE GAME IS TOO");
    const std::string version = "TROLK V0.9.9";
    drawSheetText(screen, *parts.bigFont, 16, centredX(320, 16, version), 216, version);
}

}  // namespace

bool renderMockup(TextSource& source, const MockupParts& parts, int cameraX, Image& screen,
                  std::string& error) {
    std::map<char, int> legend;
    std::vector<std::string> rows;
    std::string line;
    while (source.nextStatement(line)) {
        const std::vector<std::string> words = splitWords(line);
        if (words[0] == "legend") {
            while (source.nextStatement(line) && line != "end") {
                const std::vector<std::string> entry = splitWords(line);
                int index = 0;
                if (entry.size() != 2 || entry[0].size() != 1 || !parseInt(entry[1], index) ||
                    index < 0 || index >= kTileCount) {
                    error = source.where("a legend line is one character and one tile index");
                    return false;
                }
                legend[entry[0][0]] = index;
            }
        } else if (words[0] == "map") {
            for (int r = 0; r < kViewRows; ++r) {
                if (!source.nextRaw(line)) {
                    error = source.where("a map has twelve rows");
                    return false;
                }
                for (char c : line)
                    if (!legend.count(c)) {
                        error = source.where(std::string("'") + c + "' is not in the legend");
                        return false;
                    }
                rows.push_back(line);
            }
        } else {
            error = source.where("expected legend or map");
            return false;
        }
    }
    if (rows.empty()) {
        error = source.where("no map");
        return false;
    }

    screen = Image(320, 240, Rgb{});
    if (parts.background) {
        const Image& back = *parts.background;
        const int s = (cameraX / 2) % back.width;
        for (int x = 0; x < 320; ++x)
            for (int y = 0; y < back.height; ++y)
                screen.at(x, kViewHeight - back.height + y) = back.at((s + x) % back.width, y);
        if (parts.moon) blit(screen, *parts.moon, 212 - cameraX / 2, 0, true);
    }
    for (int r = 0; r < kViewRows; ++r)
        for (int c = 0; c < int(rows[r].size()); ++c) {
            const int index = legend[rows[r][c]];
            const int x = c * kTileSize - cameraX;
            if (index > 0 && x > -kTileSize && x < 320)
                blit(screen, tileOf(*parts.tiles, index), x, r * kTileSize, true);
        }
    fillRect(screen, 0, kViewHeight, 320, 240 - kViewHeight, Rgb{});
    if (parts.logo) drawTitle(screen, parts);
    else drawHud(screen, parts);
    return true;
}

}  // namespace gfx
