// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/game_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/flow.h"
#include "app/game_loop.h"
#include "archive/archive.h"
#include "audio/sound.h"
#include "persist/config.h"
#include "persist/hiscores.h"
#include "platform/event_script.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "world/level.h"
#include "world/lifetimes.h"

namespace fs = std::filesystem;

namespace test_support {

std::string simpleLevel(int width, const std::map<int, std::string>& rows) {
    std::string text = "map\n";
    for (int row = 0; row < 12; ++row) {
        std::string line(size_t(width), row == 11 ? '#' : '.');
        if (auto found = rows.find(row); found != rows.end())
            line.replace(0, found->second.size(), found->second);
        text += line + "\n";
    }
    return text;
}

void forgetTheGame() {
    platform::input = {};
    platform::actions = {};
    platform::keyBindings = {};
    platform::frameClock = {};
    persist::hiscores = {};
    audio::soundsPlayed = {};
    video::graphicsStyle = video::STYLE_DELUXE;
    video::scroller = {};
    app::flow = {};
    app::game = {};
    app::pass = {};
    world::run = {};
    world::level = {};
    world::life = {};
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {}
}

GameHarness::GameHarness(const std::map<std::string, std::string>& levels) {
    fs::create_directories("data");
    fs::create_directories("maps");
    for (const char* archive : {"gfx", "music", "sound"}) {
        const std::string name = std::string(archive) + ".zda";
        fs::create_symlink(buildDirectory() / "data" / name, fs::path("data") / name);
    }
    std::vector<zda::PackEntry> maps;
    for (const auto& [name, text] : levels) {
        if (name == "test") writeFile("maps/test.bin", compileLevelText(text));
        else maps.push_back({name + ".bin", compileLevelText(text)});
    }
    writeArchive("data/maps.zda", maps);

    forgetTheGame();
    platform::setVirtualClock(true);

    video::DisplaySettings window;
    window.fullScreen = window.zoom = false;
    video::setUpDisplay(window);
    archive::openArchives();
    video::graphicsStyle = video::STYLE_DELUXE;
    video::loadFonts();
    video::loadLogo();
    video::loadScenePictures();
}

GameHarness::~GameHarness() {
    app::endGame();
    forgetTheGame();
    video::freePictures();
    video::freeTileSet();
    video::freeFonts();
    world::freeLevel();
    archive::closeArchives();
    platform::setVirtualClock(false);
}

void GameHarness::press(SDLKey key, uint32_t ms) { platform::scheduleKey(ms, key, true); }

void GameHarness::release(SDLKey key, uint32_t ms) { platform::scheduleKey(ms, key, false); }

void GameHarness::tap(SDLKey key, uint32_t ms, uint32_t holdMs) {
    press(key, ms);
    release(key, ms + holdMs);
}

bool GameHarness::run(bool testMode, uint32_t limitMs) {
    begin(testMode);
    return finish(limitMs);
}

void GameHarness::begin(bool testMode) { app::beginGame(testMode); }

bool GameHarness::runUntil(uint32_t ms) { return app::runFramesUntil(ms); }

bool GameHarness::finish(uint32_t limitMs) {
    // Past the limit, a window close, a left and a start every second lead out of every
    // screen (the quit question, the continue question, the title) and end a run that would
    // otherwise go on for ever.
    SDL_Event close{};
    close.type = SDL_QUIT;
    const uint32_t from = std::max(limitMs, platform::readTicks());
    for (uint32_t t = from; t < from + 60000; t += 1000) {
        platform::scheduleEvent(t, close);
        tap(SDLK_LEFT, t + 300);
        tap(SDLK_RETURN, t + 600);
    }
    app::runUntilEnded();
    app::endGame();
    return platform::readTicks() < limitMs;
}

uint32_t GameHarness::now() const { return platform::readTicks(); }

}  // namespace test_support
