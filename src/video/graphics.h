// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pictures of the game: three graphics styles (classic, deluxe, and a hidden handheld
// style with its own pictures and no background) that differ only in the files they load
// from the graphics archive. Every picture is converted once to the back buffer's format;
// magenta (255, 0, 255) is the transparent colour of keyed pictures and of every cut frame.
// Sheets are cut into frames row-major: the two fonts, the 240 tile images (tiles, actors
// and HUD icons alike) and eight frames of the moving water surface.

#include <SDL.h>

#include <array>
#include <memory>

namespace video {

enum GraphicsStyle : int { STYLE_CLASSIC = 0, STYLE_DELUXE = 1, STYLE_HANDHELD = 2 };

struct StyleFiles {
    const char* blocks;
    const char* font;
    const char* fontBig;
    const char* logo;
    const char* back;  // null: no background picture
};

constexpr std::array<StyleFiles, 3> kStyleFiles = {{
    {"blocks", "font", "fontbig", "logo", "back"},           // classic
    {"newblocks", "font", "fontbig", "logo", "newback"},     // deluxe
    {"gbblocks", "gbfont", "gbfontbig", "gblogo", nullptr},  // handheld
}};

constexpr int kTileImageCount = 240;
constexpr int kWaterFrameCount = 8;  // four (left, right) pairs
constexpr int kTileSheetColumns = 20;
constexpr int kSpriteSize = 16;
constexpr int kWaterStripX = 0;
constexpr int kWaterStripY = 128;
constexpr int kWaterShifts = 15;  // each pair is the strip rotated left by 0..14 pixels

// Frames cut from a sheet, row-major; owned by whoever cut them.
struct FrameList {
    std::unique_ptr<SDL_Surface*[]> frames;
    int count = 0;
};

extern GraphicsStyle graphicsStyle;  // deluxe until the style-choice screen says otherwise
extern FrameList smallFont;          // 8 x 8 glyphs from space on
extern FrameList bigFont;            // 16 x 16 glyphs from space on
extern std::array<SDL_Surface*, kTileImageCount> tileImages;
extern std::array<SDL_Surface*, kWaterFrameCount> waterFrames;
extern SDL_Surface* logoImage;
extern SDL_Surface* backgroundImage;  // null in the handheld style
extern SDL_Surface* moonImage;
extern SDL_Surface* donateImage;

// A picture of the graphics archive in the back buffer's format, magenta transparent when
// keyed. A missing or undecodable picture is fatal.
SDL_Surface* loadBitmap(const char* name, bool keyed);
// Makes (r, g, b) transparent: by palette index for palettised pictures, by pixel value
// otherwise; a 16-bit picture without that colour gets no key at all.
void setColorKey(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b);
// Cuts a sheet into frames of fw x fh, row-major; remainders are ignored.
FrameList cutSheet(SDL_Surface* sheet, int fw, int fh);
// Frees every frame of a list and the list.
void freeFrameList(FrameList& list);

// Loads / frees both fonts of the current style.
void loadFonts();
void freeFonts();
// Loads the logo of the current style.
void loadLogo();
// Loads the background of the current style (none for the handheld style), donate and moon.
void loadScenePictures();
// Frees logo, moon, donate and background.
void freePictures();
// Builds the 240 tile images and the 8 water frames from the current style's tile sheet.
void loadTileSet();
// Frees the tile images and the water frames.
void freeTileSet();

}  // namespace video
