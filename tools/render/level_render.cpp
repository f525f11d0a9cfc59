// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "level_render.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "archive/archive.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/scene.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"

namespace level_render {

namespace {

constexpr int kPastIntro = 200;  // a frame count after the call to run: no veil, no text

std::vector<uint8_t> currentLevel;

void copyScreen(Picture& picture, int toX, int fromX, int width, int height) {
    SDL_Surface* screen = video::display.backBuffer;
    if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = static_cast<uint8_t*>(screen->pixels) + y * screen->pitch +
                               (fromX + x) * screen->format->BytesPerPixel;
            Uint32 value = 0;
            for (int i = 0; i < screen->format->BytesPerPixel; ++i)
                value |= Uint32(p[i]) << (8 * i);
            Uint8 r, g, b;
            SDL_GetRGB(value, screen->format, &r, &g, &b);
            picture.set(toX + x, y, r, g, b);
        }
    }
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
}

int32_t lastCameraX() {
    return std::max(0, world::levelMap.width * world::kTileSize - video::kScreenWidth - 1);
}

}  // namespace

void Picture::set(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    uint8_t* p = &rgb[size_t(3 * (y * width + x))];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

bool openGraphics(video::GraphicsStyle style, std::string& error) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        error = SDL_GetError();
        return false;
    }
    video::DisplaySettings window;
    window.fullScreen = window.zoom = false;
    video::setUpDisplay(window);
    archive::openArchives();
    if (!archive::archiveSlots[archive::ARCHIVE_GFX].directory) {
        error = "no graphics archive at ./data/gfx.zda";
        return false;
    }
    video::graphicsStyle = style;
    video::loadFonts();
    video::loadLogo();
    video::loadScenePictures();
    video::loadTileSet();
    return true;
}

bool openLevel(const std::vector<uint8_t>& levelBytes, std::string& error) {
    world::startLevel();
    // A level whose start has no ground is still drawn, without the player.
    world::LevelFault fault =
        world::startLife(levelBytes.data(), levelBytes.size(), world::Arrival::Player);
    if (fault == world::LEVEL_NO_GROUND)
        fault = world::startLife(levelBytes.data(), levelBytes.size(), world::Arrival::Nobody);
    if (fault != world::LEVEL_OK) {
        error = std::string(world::levelFaultText(fault));
        return false;
    }
    currentLevel = levelBytes;
    // The overview takes the moon away while it draws, and opens the level for every view.
    if (video::moonImage) {
        const int moonRange = (world::levelMap.width * world::kTileSize - video::moonImage->w) / 2;
        video::moonX = moonRange > 0 ? moonRange / 3 : 0;
    }
    return true;
}

Picture renderView(int cameraX, int n, int levelNumber, bool withPlayer) {
    const world::PlayerState player = withPlayer ? world::life.player : world::PlayerState{};
    world::run = {};
    world::run.levelCounter = levelNumber;
    world::life.cameraX = std::clamp(cameraX, 0, lastCameraX());
    video::drawFrame(n, player, {});
    Picture picture{video::kScreenWidth, video::kScreenHeight,
                    std::vector<uint8_t>(size_t(3 * video::kScreenWidth * video::kScreenHeight))};
    copyScreen(picture, 0, 0, video::kScreenWidth, video::kScreenHeight);
    return picture;
}

Picture renderOverview(int n) {
    const int levelWidth = world::levelMap.width * world::kTileSize;
    Picture picture{levelWidth, video::kPlayAreaHeight,
                    std::vector<uint8_t>(size_t(3 * levelWidth * video::kPlayAreaHeight))};
    world::run.levelCounter = 1;
    const world::PlayerState nobody;
    // One moon per view would repeat it along the picture: the overview goes without.
    SDL_Surface* moon = video::moonImage;
    video::moonImage = nullptr;
    for (int left = 0; left < levelWidth; left += video::kScreenWidth) {
        // A fresh grid for every view, with the enemies of exactly its columns.
        std::string ignored;
        openLevel(currentLevel, ignored);
        world::life.enemies = {};
        const int cameraX = std::min(left, lastCameraX());
        for (int x = cameraX - world::kTileSize;
             x < cameraX + video::kScreenWidth + world::kTileSize; x += world::kTileSize)
            world::spawnColumn(x & world::kCellMask);
        world::life.cameraX = cameraX;
        video::drawFrame(n < 0 ? kPastIntro : n, nobody, {});
        const int width = std::min(video::kScreenWidth, levelWidth - left);
        copyScreen(picture, left, left - cameraX, width, video::kPlayAreaHeight);
    }
    video::moonImage = moon;
    return picture;
}

}  // namespace level_render
