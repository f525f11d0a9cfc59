// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// trolkicon: the desktop icons of TROLK, cut from the game's own graphics archive.
//
//   trolkicon ARCHIVE OUTDIR
//
// Takes the resting hero (tile 24 of the deluxe tile sheet "newblocks" in ARCHIVE, a
// data/gfx.zda) and writes it, magenta made transparent, enlarged with nearest-neighbour
// pixels to every size of the hicolor icon theme: OUTDIR/<N>x<N>/apps/trolk.png.

#include "archive/archive.h"
#include "zda_writer.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace fs = std::filesystem;

namespace {

constexpr int kTile = 16;
constexpr int kSheetColumns = 20;
constexpr int kHeroTile = 24;  // the hero resting, facing the player; also the HUD's lives icon
constexpr std::array<int, 6> kIconSizes = {16, 32, 48, 64, 128, 256};

int fail(const std::string& message) {
    std::fprintf(stderr, "trolkicon: %s\n", message.c_str());
    return 1;
}

uint32_t pixelValue(const SDL_Surface* surface, int x, int y) {
    const uint8_t* p = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch +
                       x * surface->format->BytesPerPixel;
    switch (surface->format->BytesPerPixel) {
    case 1: return p[0];
    case 2: return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    case 3: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    default:
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return fail("usage: trolkicon ARCHIVE OUTDIR");
    const fs::path outDir = argv[2];

    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> archiveFile((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    std::vector<zda::ListedEntry> entries;
    std::string error;
    if (!zda::readDirectory(archiveFile, entries, error))
        return fail(std::string(argv[1]) + ": " + error);
    archive::ResourceBuffer sheetFile;
    for (const zda::ListedEntry& entry : entries)
        if (entry.name == "newblocks.bmp")
            sheetFile = archive::inflateEntry(&archiveFile[size_t(entry.fileOffset)],
                                              entry.packedSize, entry.unpackedSize);
    if (!sheetFile) return fail(std::string("no readable newblocks.bmp in ") + argv[1]);

    SDL_RWops* stream = SDL_RWFromConstMem(sheetFile.bytes.get(), sheetFile.size);
    SDL_Surface* sheet = SDL_LoadBMP_RW(stream, 1);
    if (!sheet) return fail(std::string("newblocks.bmp does not decode: ") + SDL_GetError());

    // The tile as R, G, B, A; magenta is the game's transparent colour.
    const int left = (kHeroTile % kSheetColumns) * kTile;
    const int top = (kHeroTile / kSheetColumns) * kTile;
    std::array<uint8_t, kTile * kTile * 4> tile{};
    SDL_LockSurface(sheet);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            uint8_t* rgba = &tile[size_t(4 * (y * kTile + x))];
            SDL_GetRGB(pixelValue(sheet, left + x, top + y), sheet->format, &rgba[0], &rgba[1],
                       &rgba[2]);
            const bool key = rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255;
            rgba[3] = key ? 0 : 255;
            if (key) rgba[0] = rgba[1] = rgba[2] = 0;
        }
    SDL_UnlockSurface(sheet);
    SDL_FreeSurface(sheet);

    for (const int size : kIconSizes) {
        const int scale = size / kTile;
        std::vector<uint8_t> icon(size_t(size * size * 4));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                std::copy_n(&tile[size_t(4 * ((y / scale) * kTile + x / scale))], 4,
                            &icon[size_t(4 * (y * size + x))]);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const fs::path folder = outDir / name / "apps";
        fs::create_directories(folder);
        const fs::path file = folder / "trolk.png";
        if (!stbi_write_png(file.c_str(), size, size, 4, icon.data(), size * 4))
            return fail("cannot write " + file.string());
    }
    return 0;
}
