// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/graphics.h"

#include <cstdlib>

#include "archive/archive.h"
#include "platform/fatal.h"
#include "video/display.h"
#include "video/text.h"

namespace video {

GraphicsStyle graphicsStyle = STYLE_DELUXE;
FrameList smallFont;
FrameList bigFont;
std::array<SDL_Surface*, kTileImageCount> tileImages{};
std::array<SDL_Surface*, kWaterFrameCount> waterFrames{};
SDL_Surface* logoImage = nullptr;
SDL_Surface* backgroundImage = nullptr;
SDL_Surface* moonImage = nullptr;
SDL_Surface* donateImage = nullptr;

namespace {

constexpr Uint8 kKeyRed = 255, kKeyGreen = 0, kKeyBlue = 255;
constexpr int kSmallGlyph = 8;
constexpr int kBigGlyph = 16;

const StyleFiles& styleFiles() { return kStyleFiles[size_t(graphicsStyle)]; }

// A surface of the back buffer's format, for one frame.
SDL_Surface* createFrame(int w, int h) {
    const SDL_PixelFormat* f = display.backBuffer->format;
    return SDL_CreateRGBSurface(SDL_SRCCOLORKEY | SDL_HWSURFACE, w, h, f->BitsPerPixel, f->Rmask,
                                f->Gmask, f->Bmask, f->Amask);
}

void blitArea(SDL_Surface* from, int x, int y, int w, int h, SDL_Surface* to, int toX) {
    SDL_Rect source{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_Rect target{Sint16(toX), 0, 0, 0};
    SDL_BlitSurface(from, &source, to, &target);
}

bool holdsPixel(SDL_Surface* surface, Uint32 key) {
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    bool found = false;
    for (int y = 0; y < surface->h && !found; ++y) {
        const auto* row = reinterpret_cast<const Uint16*>(static_cast<Uint8*>(surface->pixels) +
                                                          y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            if (row[x] == key) {
                found = true;
                break;
            }
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return found;
}

void freeSurface(SDL_Surface*& surface) {
    if (surface) SDL_FreeSurface(surface);
    surface = nullptr;
}

// A tile-sized frame filled black with the sheet area pasted in and keyed magenta.
SDL_Surface* tileFrame() {
    SDL_Surface* frame = createFrame(kSpriteSize, kSpriteSize);
    SDL_FillRect(frame, nullptr, display.colorBlack);
    return frame;
}

}  // namespace

SDL_Surface* loadBitmap(const char* name, bool keyed) {
    archive::ResourceBuffer file = archive::loadResource(archive::ARCHIVE_GFX, name, "bmp");
    if (!file) platform::fatalError("Error loading gfx file", name);
    SDL_RWops* stream = SDL_RWFromMem(file.bytes.get(), file.size);
    SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 0);
    if (!decoded) platform::fatalError("Unable to load bitmap", SDL_GetError());

    Uint32 flags = SDL_HWSURFACE;
    if (keyed) {
        setColorKey(decoded, kKeyRed, kKeyGreen, kKeyBlue);
        flags |= SDL_SRCCOLORKEY;
    } else {
        SDL_SetColorKey(decoded, 0, 0);
    }
    SDL_Surface* converted = SDL_ConvertSurface(decoded, display.backBuffer->format, flags);
    SDL_FreeSurface(decoded);
    SDL_FreeRW(stream);
    return converted;
}

void setColorKey(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b) {
    const SDL_Palette* palette = surface->format->palette;
    if (palette && palette->ncolors > 0) {
        Uint32 index = 0;
        for (int i = 0; i < palette->ncolors; ++i) {
            const SDL_Color& c = palette->colors[i];
            if (c.r == r && c.g == g && c.b == b) {
                index = Uint32(i);
                break;
            }
        }
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY, index);
        return;
    }
    const Uint32 key = SDL_MapRGB(surface->format, r, g, b);
    if (surface->format->BytesPerPixel == 2 && !holdsPixel(surface, key)) {
        SDL_SetColorKey(surface, 0, 0);  // opaque frames blit without key tests
        return;
    }
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, key);
}

FrameList cutSheet(SDL_Surface* sheet, int fw, int fh) {
    const int columns = sheet->w / fw;
    const int rows = sheet->h / fh;
    FrameList list;
    list.count = columns * rows;
    list.frames.reset(new SDL_Surface*[size_t(list.count) + 1]);
    int i = 0;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            SDL_Surface* frame = createFrame(fw, fh);
            blitArea(sheet, column * fw, row * fh, fw, fh, frame, 0);
            setColorKey(frame, kKeyRed, kKeyGreen, kKeyBlue);
            list.frames[size_t(i++)] = frame;
        }
    }
    list.frames[size_t(list.count)] = nullptr;
    return list;
}

void freeFrameList(FrameList& list) {
    for (int i = 0; i < list.count; ++i) SDL_FreeSurface(list.frames[size_t(i)]);
    list = {};
}

void loadFonts() {
    SDL_Surface* sheet = loadBitmap(styleFiles().font, false);
    smallFont = cutSheet(sheet, kSmallGlyph, kSmallGlyph);
    SDL_FreeSurface(sheet);
    sheet = loadBitmap(styleFiles().fontBig, false);
    bigFont = cutSheet(sheet, kBigGlyph, kBigGlyph);
    SDL_FreeSurface(sheet);
}

void freeFonts() {
    freeFrameList(smallFont);
    freeFrameList(bigFont);
}

void loadLogo() {
    freeSurface(logoImage);
    logoImage = loadBitmap(styleFiles().logo, true);
}

void loadScenePictures() {
    const char* back = styleFiles().back;
    backgroundImage = back ? loadBitmap(back, false) : nullptr;
    donateImage = loadBitmap("donate", true);
    moonImage = loadBitmap("moon", true);
}

void freePictures() {
    freeSurface(logoImage);
    freeSurface(moonImage);
    freeSurface(donateImage);
    freeSurface(backgroundImage);
}

void loadTileSet() {
    SDL_Surface* sheet = loadBitmap(styleFiles().blocks, false);
    for (int i = 0; i < kTileImageCount; ++i) {
        SDL_Surface* tile = tileFrame();
        blitArea(sheet, kSpriteSize * (i % kTileSheetColumns),
                 kSpriteSize * (i / kTileSheetColumns), kSpriteSize, kSpriteSize, tile, 0);
        setColorKey(tile, kKeyRed, kKeyGreen, kKeyBlue);
        tileImages[size_t(i)] = tile;
    }
    // Each water pair is the 32-pixel strip of tiles 160 and 161 rotated left by its own
    // random shift, so the surfaces of a level ripple out of step with each other's phase.
    for (int pair = 0; pair < kWaterFrameCount / 2; ++pair) {
        const int e = std::rand() % kWaterShifts;
        SDL_Surface* left = tileFrame();
        SDL_Surface* right = tileFrame();
        blitArea(sheet, kWaterStripX + e, kWaterStripY, kSpriteSize, kSpriteSize, left, 0);
        blitArea(sheet, kWaterStripX + e + kSpriteSize, kWaterStripY, kSpriteSize - e, kSpriteSize,
                 right, 0);
        if (e > 0)
            blitArea(sheet, kWaterStripX, kWaterStripY, e, kSpriteSize, right, kSpriteSize - e);
        setColorKey(left, kKeyRed, kKeyGreen, kKeyBlue);
        setColorKey(right, kKeyRed, kKeyGreen, kKeyBlue);
        waterFrames[size_t(2 * pair)] = left;
        waterFrames[size_t(2 * pair + 1)] = right;
    }
    SDL_FreeSurface(sheet);
}

void freeTileSet() {
    for (SDL_Surface*& tile : tileImages) freeSurface(tile);
    for (SDL_Surface*& frame : waterFrames) freeSurface(frame);
}

}  // namespace video
