// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// trolk_bench: how much of a frame the game's work takes, measured side by side with what
// the same work costs elsewhere, on real frames of our levels drawn by the game's own code.
//
//   trolk_bench [--build DIR] [--out FILE] [--quick] [--gl-only]
//
// DIR is the build folder that holds trolk, data/ and maps/ (default: the folder above the
// benchmark's own). The table goes to standard output and, in Markdown, to FILE. --quick
// takes fewer samples; --gl-only measures nothing but whole frames in OpenGL mode (run it
// where a GL context can be had, e.g. under Xvfb) and prints their rows.
//
// It measures, in this order:
//   1. the zoom filters at 16 and 24 bits against memcpy of the output, SDL_SoftStretch and
//      SDL_gfx's smoothing zoomSurface (with the blit of its 32-bit result to the screen);
//   2. the world update (world::stepPlayFrame) and drawFrame of a busy title frame, a level
//      frame and a paused level frame (veil and menu);
//   3. a whole frame (update, draw, present) in every display mode with SDL's dummy driver;
//   4. start-up of the real binary in test mode to its first presented frame and its peak
//      memory, through a preloaded hook that notes the first SDL_UpdateRect and the peak;
//   5. loading every archive entry, and the music hook rendering one 1024-frame buffer.
// Nothing here passes or fails: the targets are printed with the measured figures.

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <libmodplug/modplug.h>
#include <map>
#include <memory>
#include <sched.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef TROLK_BENCH_SDL_GFX
#include <SDL_rotozoom.h>
#endif

#include "archive/archive.h"
#include "archive/zda_format.h"
#include "audio/music.h"
#include "bench_stats.h"
#include "platform/frame_clock.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/hud.h"
#include "video/scene.h"
#include "video/zoom.h"
#include "world/enemies.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"
#include "world/world_step.h"

namespace fs = std::filesystem;

namespace {

constexpr double kFrameBudgetUs = 1e6 / 60.0;  // 16,667 us
constexpr int kTitleLevelIndex = 0;
constexpr const char* kBusyLevel = "plan0";      // the title level's world, played as a level
constexpr int kPlayedLevelNumber = 1;            // the HUD shows it as the first level
constexpr int kMusicBufferBytes = 1024 * 2 * 2;  // 1024 frames, stereo, 16-bit
constexpr double kMusicBufferUs = 1024 * 1e6 / 22050.0;

struct Options {
    fs::path build;
    fs::path out;
    bool quick = false;
    bool glOnly = false;
};

Options options;

// ---------------------------------------------------------------------------------------
// Output: everything printed goes to standard output and to the Markdown file.

std::string report;

void emit(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stdout);
    std::fflush(stdout);
    report += line;
}

std::string fixed(double value, int decimals = 1) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string thousands(double value) {
    const long long whole = std::llround(value);
    std::string digits = std::to_string(std::llabs(whole));
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), ",");
    return (whole < 0 ? "-" : "") + digits;
}

// Microseconds the way the table shows them: one decimal below 100, whole numbers above.
std::string micros(double us) { return us < 100 ? fixed(us, 1) : thousands(us); }

std::string firstLineOf(const char* path, const char* key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    return "unknown";
}

// ---------------------------------------------------------------------------------------
// The display in one mode, with the deluxe pictures converted to its format.

struct Mode {
    const char* name;
    video::Presentation presentation;
    int depth;
};

constexpr Mode kModes[] = {
    {"direct, 16 bits", video::Presentation::Direct, 16},
    {"nearest zoom, 16 bits (default)", video::Presentation::Nearest, 16},
    {"smooth zoom, 16 bits", video::Presentation::Smooth, 16},
    {"direct, 24 bits", video::Presentation::Direct, 24},
    {"nearest zoom, 24 bits", video::Presentation::Nearest, 24},
    {"smooth zoom, 24 bits", video::Presentation::Smooth, 24},
};

bool displayUp = false;

void tearDownDisplay() {
    if (!displayUp) return;
    video::freeTileSet();
    video::freePictures();
    video::freeFonts();
    video::closeDisplay();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    displayUp = false;
}

void bringUpDisplay(video::Presentation presentation, int depth) {
    // SDL's X11 driver forgets the display when it shuts down; bring it back for the next mode.
    static const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    tearDownDisplay();
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "trolk_bench: SDL video: %s\n", SDL_GetError());
        std::exit(1);
    }
    video::DisplaySettings settings;
    settings.fullScreen = false;
    settings.zoom = presentation != video::Presentation::Direct;
    settings.smooth = presentation == video::Presentation::Smooth;
    settings.openGl = presentation == video::Presentation::OpenGl;
    settings.depth = depth;
    video::setUpDisplay(settings);
    video::graphicsStyle = video::STYLE_DELUXE;
    video::loadFonts();
    video::loadLogo();
    video::loadScenePictures();
    video::loadTileSet();
    displayUp = true;
}

// ---------------------------------------------------------------------------------------
// Scenes: the title scrolling by itself behind its menu, and a level played by a simple
// script (run right, jump every 48 frames, begin again after a death).

enum class Scene { Title, Level, PausedLevel };

struct ScenePlay {
    Scene scene = Scene::Level;
    world::PlayerState player;
    int n = 0;             // the frame counter drawFrame gets
    video::MenuView menu;  // the title menu, or the pause menu over the level
};

void startLife(ScenePlay& play) {
    if (play.scene == Scene::Title) {
        world::run.levelCounter = world::kTitleLevel;
        play.menu = {video::MENU_NEW_GAME};
        world::startLifeIn(world::levelNames[kTitleLevelIndex], world::Arrival::Nobody);
        play.n = 0;
    } else {
        world::run.levelCounter = kPlayedLevelNumber;
        play.menu = {play.scene == Scene::PausedLevel ? video::PAUSE_GO_ON : 0,
                     play.scene == Scene::PausedLevel};
        world::startLevel();
        world::startLifeIn(kBusyLevel, world::Arrival::Player);
        play.n = video::kIntroFrames + 1;  // past the call to run: the player shows
    }
    play.player = world::life.player;
    const int moonRange =
        (world::levelMap.width * world::kTileSize - (video::moonImage ? video::moonImage->w : 0)) /
        2;
    video::moonX = moonRange > 0 ? moonRange / 3 : 0;
}

ScenePlay startScene(Scene scene) {
    ScenePlay play;
    play.scene = scene;
    world::run = {};
    video::resetScroller();
    startLife(play);
    return play;
}

world::Controls scriptedControls(int n) {
    world::Controls controls;
    controls.right = true;
    controls.jump = n % 48 < 14;
    return controls;
}

// The world update of one frame; a paused level stands still, as in the game.
void updateWorld(ScenePlay& play) {
    ++play.n;
    if (play.scene == Scene::Title) {
        world::stepTitleFrame(play.player);
        return;
    }
    if (play.scene == Scene::Level) {
        world::stepPlayFrame(play.player, scriptedControls(play.n));
        if (!play.player.alive || play.player.reachedExit) startLife(play);
        return;
    }
    // Paused: the paused level is the playing one, moved on a step from time to time so
    // the picture changes, with the pause menu over it.
    world::stepPlayFrame(play.player, scriptedControls(play.n));
    if (!play.player.alive || play.player.reachedExit) startLife(play);
}

void drawScene(const ScenePlay& play) { video::drawFrame(play.n, play.player, play.menu); }

void afterPresent(const ScenePlay& play) {
    if (play.scene == Scene::Title) video::advanceScroller();
}

int activeEnemies() {
    int count = 0;
    for (const world::EnemySlot& enemy : world::life.enemies) count += enemy.active ? 1 : 0;
    return count;
}

// ---------------------------------------------------------------------------------------
// Source frames for the zoom filters: copies of the back buffer at chosen moments.

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr copyOfBackBuffer() {
    const SDL_PixelFormat* f = video::display.backBuffer->format;
    SDL_Surface* copy =
        SDL_CreateRGBSurface(0, video::kScreenWidth, video::kScreenHeight, f->BitsPerPixel,
                             f->Rmask, f->Gmask, f->Bmask, f->Amask);
    for (int y = 0; y < video::kScreenHeight; ++y)
        std::memcpy(static_cast<uint8_t*>(copy->pixels) + y * copy->pitch,
                    static_cast<uint8_t*>(video::display.backBuffer->pixels) +
                        y * video::display.backBuffer->pitch,
                    size_t(video::kScreenWidth * f->BytesPerPixel));
    return SurfacePtr(copy, SDL_FreeSurface);
}

std::vector<SurfacePtr> captureFrames() {
    std::vector<SurfacePtr> frames;
    for (Scene scene : {Scene::Title, Scene::Level}) {
        ScenePlay play = startScene(scene);
        for (int i = 1; i <= 1200; ++i) {
            updateWorld(play);
            if (i % 150 == 0) {
                drawScene(play);
                frames.push_back(copyOfBackBuffer());
            }
            if (play.scene == Scene::Title) video::advanceScroller();
        }
    }
    return frames;
}

// ---------------------------------------------------------------------------------------
// Part 1: the zoom filters and their peers.

struct Timed {
    std::string name;
    std::function<void(int frame)> run;
    std::vector<double> samples;
};

// Cases take turns: in every round each case runs a block of back-to-back calls, the first
// few untimed, so each settles into its steady state, while slow drifts of the machine hit
// all cases alike. A block is 50 timed calls, fewer for cases slower than 40 us, at least 5.
void measureInTurns(std::vector<Timed>& cases, int rounds, int frameCount) {
    constexpr int kUntimed = 5;
    constexpr int kMostTimed = 50;
    constexpr int kLeastTimed = 5;
    constexpr double kBlockUs = 3000;
    int frame = 0;
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < cases.size(); ++turn) {
            Timed& c = cases[(turn + size_t(round)) % cases.size()];  // a new first each round
            const auto start = bench::Clock::now();
            for (int i = 0; i < kUntimed; ++i) c.run((frame + i) % frameCount);
            const double eachUs = bench::microsecondsSince(start) / kUntimed;
            const int timed =
                std::clamp(int(kBlockUs / std::max(eachUs, 1.0)), kLeastTimed, kMostTimed);
            for (int i = 0; i < timed; ++i) {
                const auto t0 = bench::Clock::now();
                c.run((frame + i) % frameCount);
                c.samples.push_back(bench::microsecondsSince(t0));
            }
        }
        frame += kMostTimed;
    }
}

struct ZoomResults {
    std::map<std::string, bench::Summary> byName;
};

std::map<int, ZoomResults> zoomResults;  // by depth

void header(const char* title) { emit("\n### %s\n\n", title); }

const char* pathLabel(video::ZoomPath path) {
    switch (path) {
    case video::ZoomPath::Sse2: return "SSE2 only";
    case video::ZoomPath::Ssse3: return "SSSE3 path";
    case video::ZoomPath::Avx2: return "AVX2 path";
    default: return "plain loop";
    }
}

// The vectorised paths this machine has besides the one the game takes, where they run other
// code: at 16 bits all run the same SSE2 code, and the AVX2 path zooms 24-bit pixels without
// smoothing as the SSSE3 one does.
std::vector<video::ZoomPath> slowerPaths(int bytes, bool smoothing) {
    std::vector<video::ZoomPath> paths;
    if (bytes != 3) return paths;
    for (video::ZoomPath path : {video::ZoomPath::Ssse3, video::ZoomPath::Sse2}) {
        const bool sameCode = !smoothing && path == video::ZoomPath::Ssse3 &&
                              video::zoomPath() == video::ZoomPath::Avx2;
        if (int(path) < int(video::zoomPath()) && video::zoomPathAvailable(path) && !sameCode)
            paths.push_back(path);
    }
    return paths;
}

void zoomTable(int depth) {
    bringUpDisplay(video::Presentation::Nearest, depth);
    std::vector<SurfacePtr> frames = captureFrames();
    const int frameCount = int(frames.size());
    SDL_Surface* screen = video::display.screenSurface;
    const int bytes = screen->format->BytesPerPixel;
    const size_t outputBytes = size_t(video::kZoomedHeight) * size_t(screen->pitch);
    std::vector<uint8_t> zoomedCopy(outputBytes);
    std::vector<uint32_t> work(size_t(2 * video::kScreenWidth * video::kScreenHeight));
    video::zoomSmooth(frames[0].get(), screen, work.data());
    std::memcpy(zoomedCopy.data(), screen->pixels, outputBytes);

    const auto src = [&](int frame) {
        return static_cast<const uint8_t*>(frames[size_t(frame)]->pixels);
    };
    const int srcPitch = frames[0]->pitch;
    auto* dst = static_cast<uint8_t*>(screen->pixels);
    const int dstPitch = screen->pitch;
    const SDL_PixelFormat* f = frames[0]->format;
    const uint32_t mask = video::smoothMask(bytes, f->Rshift, f->Gshift, f->Bshift);

    std::vector<Timed> cases;
    cases.push_back({"memcpy of the output",
                     [&](int) { std::memcpy(dst, zoomedCopy.data(), outputBytes); },
                     {}});
    cases.push_back(
        {"zoomNearest", [&](int i) { video::zoomNearest(frames[size_t(i)].get(), screen); }, {}});
    for (video::ZoomPath path : slowerPaths(bytes, false))
        cases.push_back({std::string("zoomNearest, ") + pathLabel(path),
                         [&, path](int i) {
                             video::zoomNearestVia(path, bytes, src(i), srcPitch, dst, dstPitch);
                         },
                         {}});
    cases.push_back({"zoomNearest, plain loop",
                     [&](int i) {
                         video::zoomNearestVia(video::ZoomPath::Plain, bytes, src(i), srcPitch, dst,
                                               dstPitch);
                     },
                     {}});
    cases.push_back(
        {"zoomSmooth",
         [&](int i) { video::zoomSmooth(frames[size_t(i)].get(), screen, work.data()); },
         {}});
    for (video::ZoomPath path : slowerPaths(bytes, true))
        cases.push_back({std::string("zoomSmooth, ") + pathLabel(path),
                         [&, path](int i) {
                             video::zoomSmoothVia(path, bytes, src(i), srcPitch, mask, work.data(),
                                                  dst, dstPitch);
                         },
                         {}});
    cases.push_back({"zoomSmooth, plain loop",
                     [&](int i) {
                         video::zoomSmoothVia(video::ZoomPath::Plain, bytes, src(i), srcPitch, mask,
                                              work.data(), dst, dstPitch);
                     },
                     {}});
    cases.push_back(
        {"SDL_SoftStretch (nearest)",
         [&](int i) { SDL_SoftStretch(frames[size_t(i)].get(), nullptr, screen, nullptr); },
         {}});
#ifdef TROLK_BENCH_SDL_GFX
    SurfacePtr gfxResult(zoomSurface(frames[0].get(), 2.0, 2.0, SMOOTHING_ON), SDL_FreeSurface);
    cases.push_back({"SDL_gfx zoomSurface, smoothing on",
                     [&](int i) {
                         SDL_FreeSurface(
                             zoomSurface(frames[size_t(i)].get(), 2.0, 2.0, SMOOTHING_ON));
                     },
                     {}});
    cases.push_back({"SDL_gfx: blit of its 32-bit result",
                     [&](int) { SDL_BlitSurface(gfxResult.get(), nullptr, screen, nullptr); },
                     {}});
    cases.push_back({"SDL_gfx: zoomSurface + blit",
                     [&](int i) {
                         SDL_Surface* zoomed =
                             zoomSurface(frames[size_t(i)].get(), 2.0, 2.0, SMOOTHING_ON);
                         SDL_BlitSurface(zoomed, nullptr, screen, nullptr);
                         SDL_FreeSurface(zoomed);
                     },
                     {}});
#endif
    measureInTurns(cases, options.quick ? 2 : 6, frameCount);

    ZoomResults& results = zoomResults[depth];
    for (Timed& c : cases) results.byName[c.name] = bench::summarize(c.samples);
    const double memcpyUs = results.byName["memcpy of the output"].median;
    const double stretchUs = results.byName["SDL_SoftStretch (nearest)"].median;
    const bool haveGfx = results.byName.count("SDL_gfx: zoomSurface + blit") > 0;
    const double gfxUs = haveGfx ? results.byName["SDL_gfx: zoomSurface + blit"].median : 0;

    char title[160];
    std::snprintf(title, sizeof title,
                  "Zoom 320x240 -> 640x480, %d bits (%d real frames; up to %d samples a case, "
                  "in blocks that take turns; memcpy moves %s bytes)",
                  depth, frameCount, (options.quick ? 2 : 6) * 50,
                  thousands(double(outputBytes)).c_str());
    header(title);
    emit("| case | median us | p10 us | p90 us | x memcpy | SoftStretch / this | "
         "SDL_gfx+blit / this |\n|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Timed& c : cases) {
        const bench::Summary& s = results.byName[c.name];
        emit("| %s | %s | %s | %s | %s | %s | %s |\n", c.name.c_str(), micros(s.median).c_str(),
             micros(s.p10).c_str(), micros(s.p90).c_str(), fixed(s.median / memcpyUs, 2).c_str(),
             fixed(stretchUs / s.median, 1).c_str(),
             haveGfx ? fixed(gfxUs / s.median, 1).c_str() : "n/a");
    }
    if (!haveGfx)
        emit("\nSDL_gfx was not found when the benchmark was built: no zoomSurface rows.\n");
}

// ---------------------------------------------------------------------------------------
// Parts 2 and 3: world update, drawing and whole frames.

struct FrameSamples {
    std::vector<double> update, draw, present, whole;
    std::vector<int> enemies;
};

FrameSamples playFrames(Scene scene, int count) {
    FrameSamples samples;
    ScenePlay play = startScene(scene);
    for (int i = 0; i < 30; ++i) {  // settle caches and the first spawns
        updateWorld(play);
        drawScene(play);
        video::presentFrame();
        afterPresent(play);
    }
    for (int i = 0; i < count; ++i) {
        const auto t0 = bench::Clock::now();
        updateWorld(play);
        const auto t1 = bench::Clock::now();
        drawScene(play);
        const auto t2 = bench::Clock::now();
        video::presentFrame();
        const auto t3 = bench::Clock::now();
        afterPresent(play);
        using us = std::chrono::duration<double, std::micro>;
        samples.update.push_back(us(t1 - t0).count());
        samples.draw.push_back(us(t2 - t1).count());
        samples.present.push_back(us(t3 - t2).count());
        samples.whole.push_back(us(t3 - t0).count());
        samples.enemies.push_back(activeEnemies());
    }
    return samples;
}

// The veil over a freshly drawn level frame, again and again (it darkens what it covers, so
// every call sees a new picture until it is black; the frame is redrawn every tenth call).
std::vector<double> timeVeil(int count) {
    std::vector<double> samples;
    ScenePlay play = startScene(Scene::Level);
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0) {
            updateWorld(play);
            drawScene(play);
        }
        const auto start = bench::Clock::now();
        video::drawVeil();
        samples.push_back(bench::microsecondsSince(start));
    }
    return samples;
}

struct ModeResult {
    bench::Summary whole, update, draw, present;
};

std::map<std::string, ModeResult> modeResults;
std::map<std::string, bench::Summary> sceneResults;
bench::Summary worldUpdate;

std::string shareOfBudget(double us) { return fixed(100.0 * us / kFrameBudgetUs, 2) + " %"; }

void modeRow(const char* name, const FrameSamples& s) {
    ModeResult r{bench::summarize(s.whole), bench::summarize(s.update), bench::summarize(s.draw),
                 bench::summarize(s.present)};
    modeResults[name] = r;
    emit("| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", name, micros(r.whole.median).c_str(),
         micros(r.whole.p10).c_str(), micros(r.whole.p90).c_str(),
         shareOfBudget(r.whole.median).c_str(), shareOfBudget(r.whole.p90).c_str(),
         micros(r.update.median).c_str(), micros(r.draw.median).c_str(),
         micros(r.present.median).c_str());
}

void modeTableHeader() {
    emit("| display mode | frame median us | p10 | p90 | share of 16,667 us (median) | "
         "(p90) | update | draw | present |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
}

void sceneAndModeTables() {
    const int frames = options.quick ? 300 : 900;
    std::map<std::string, std::vector<double>> draws;
    std::map<std::string, std::vector<double>> veils;
    std::vector<double> updates;
    std::vector<int> enemies;

    header("Whole frame per display mode (world update + drawFrame + presentFrame), "
           "SDL dummy video driver");
    char note[256];
    std::snprintf(note, sizeof note,
                  "%d frames of %s played as a level (run right, jump every 48 frames), after "
                  "30 frames to settle.\n\n",
                  frames, kBusyLevel);
    emit("%s", note);
    modeTableHeader();
    for (const Mode& mode : kModes) {
        bringUpDisplay(mode.presentation, mode.depth);
        FrameSamples level = playFrames(Scene::Level, frames);
        modeRow(mode.name, level);
        if (mode.presentation == video::Presentation::Nearest) {
            const std::string depth = std::to_string(mode.depth) + " bits";
            draws["title, " + depth] = playFrames(Scene::Title, frames).draw;
            draws["level, " + depth] = level.draw;
            draws["paused level (veil, menu), " + depth] =
                playFrames(Scene::PausedLevel, frames).draw;
            veils[depth] = timeVeil(frames);
            updates.insert(updates.end(), level.update.begin(), level.update.end());
            enemies.insert(enemies.end(), level.enemies.begin(), level.enemies.end());
        }
    }
    emit("| OpenGL | see below | | | | | | | |\n");

    header("World update and scene drawing");
    double enemyMean = 0;
    int enemyMax = 0;
    for (int e : enemies) {
        enemyMean += e;
        enemyMax = std::max(enemyMax, e);
    }
    enemyMean /= double(std::max<size_t>(1, enemies.size()));
    std::snprintf(note, sizeof note,
                  "Active enemies in the played level: %.1f on average, at most %d of 16.\n\n",
                  enemyMean, enemyMax);
    emit("%s", note);
    emit("| case | median us | p10 us | p90 us | share of 16,667 us (median) |\n"
         "|---|---:|---:|---:|---:|\n");
    worldUpdate = bench::summarize(updates);
    emit("| world::stepPlayFrame (one frame) | %s | %s | %s | %s |\n",
         micros(worldUpdate.median).c_str(), micros(worldUpdate.p10).c_str(),
         micros(worldUpdate.p90).c_str(), shareOfBudget(worldUpdate.median).c_str());
    for (const auto& [name, samples] : draws) {
        const bench::Summary s = bench::summarize(samples);
        sceneResults[name] = s;
        emit("| video::drawFrame, %s | %s | %s | %s | %s |\n", name.c_str(),
             micros(s.median).c_str(), micros(s.p10).c_str(), micros(s.p90).c_str(),
             shareOfBudget(s.median).c_str());
    }
    for (const auto& [depth, samples] : veils) {
        const bench::Summary s = bench::summarize(samples);
        emit("| video::drawVeil alone (over a level frame), %s | %s | %s | %s | %s |\n",
             depth.c_str(), micros(s.median).c_str(), micros(s.p10).c_str(), micros(s.p90).c_str(),
             shareOfBudget(s.median).c_str());
    }
    tearDownDisplay();
}

// Whole frames through OpenGL; only where a GL context can be had.
// Whole frames through OpenGL; only where a GL context can be had. Each depth runs in a
// child process of its own, since SDL cannot open a second GL display after closing one.
void openGlTable() {
    const int frames = options.quick ? 300 : 900;
    header("Whole frame in OpenGL mode");
    modeTableHeader();
    for (int attempt = 0, depth = 16; depth <= 24; ++attempt) {
        std::fflush(stdout);
        int channel[2];
        if (pipe(channel) != 0) return;
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            report.clear();
            bringUpDisplay(video::Presentation::OpenGl, depth);
            const std::string name = "OpenGL, " + std::to_string(depth) + " bits";
            const FrameSamples samples = playFrames(Scene::Level, frames);
            std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
            (void)quiet;
            modeRow(name.c_str(), samples);
            if (write(channel[1], report.data(), report.size()) < 0) _exit(1);
            _exit(0);
        }
        close(channel[1]);
        std::string row;
        char buffer[512];
        for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
            row.append(buffer, size_t(got));
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        // Mesa's software renderer under a loaded Xvfb now and then fails to start: once more.
        if (row.empty() && attempt == 0) continue;
        if (row.empty()) emit("| OpenGL, %d bits | could not be measured | | | | | | | |\n", depth);
        else emit("%s", row.c_str());
        depth += 8;
        attempt = -1;
    }
}

// ---------------------------------------------------------------------------------------
// Part 4: start-up of the real binary, and its memory.

struct ChildRun {
    bool ok = false;
    double firstFrameMs = 0;
    long peakRssKb = 0;
};

fs::path scratch;

void makeScratch() {
    char pattern[] = "/tmp/trolk_bench.XXXXXX";
    scratch = mkdtemp(pattern);
    fs::create_directory_symlink(fs::absolute(options.build / "data"), scratch / "data");
    fs::create_directory_symlink(fs::absolute(options.build / "maps"), scratch / "maps");
}

ChildRun runGame(const std::vector<std::string>& arguments, int frames) {
    ChildRun result;
    const fs::path stamp = scratch / "first_frame";
    fs::remove(stamp);
    const std::string game = fs::absolute(options.build / "trolk").string();
    const std::string hook =
        fs::absolute(options.build / "bench" / "libtrolk_first_frame.so").string();
    std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy",
                                    "SDL_AUDIODRIVER=dummy",
                                    "LD_PRELOAD=" + hook,
                                    "TROLK_BENCH_STAMP=" + stamp.string(),
                                    "TROLK_BENCH_FRAMES=" + std::to_string(frames),
                                    "HOME=" + scratch.string(),
                                    "PATH=/usr/bin:/bin"};
    std::vector<char*> envp, argv;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {game};
    args.insert(args.end(), arguments.begin(), arguments.end());
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string cwd = scratch.string();
    const std::string oldCwd = fs::current_path().string();
    if (chdir(cwd.c_str()) != 0) return result;
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, game.c_str(), &actions, nullptr, argv.data(), envp.data());
    if (chdir(oldCwd.c_str()) != 0) return result;
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return result;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return result;
    // The hook notes the peak itself: after a vfork-style spawn, the child's ru_maxrss
    // would also count the benchmark's own memory from before the exec.
    std::ifstream in(stamp);
    long long shownNs = 0;
    if (!(in >> shownNs >> result.peakRssKb)) return result;
    const long long startNs = (long long)start.tv_sec * 1000000000LL + start.tv_nsec;
    result.firstFrameMs = double(shownNs - startNs) / 1e6;
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

bench::Summary startupMs;
long peakRssKb = 0;

void startupTable() {
    makeScratch();
    header("Start-up of the real binary and its memory (SDL dummy drivers)");
    emit("Measured from posix_spawn of `trolk` to the return of its first SDL_UpdateRect "
         "(a preloaded hook notes it); peak RSS is the game's VmHWM when it ends.\n\n");
    emit("| run | runs | median | p10 | p90 | peak RSS |\n|---|---:|---:|---:|---:|---:|\n");
    struct Variant {
        const char* name;
        std::vector<std::string> arguments;
        int frames;
        int runs;
    };
    const int runs = options.quick ? 5 : 15;
    const Variant variants[] = {
        {"`trolk -t` to its first frame (full screen, nearest, 16 bits)", {"-t"}, 1, runs},
        {"`trolk -t -aa -b24` to its first frame (smooth, 24 bits)",
         {"-t", "-aa", "-b24"},
         1,
         runs},
        {"`trolk -t`, 600 frames (10 s) of the test map", {"-t"}, 600, 1},
        {"`trolk -t -aa -b24`, 600 frames (10 s) of the test map", {"-t", "-aa", "-b24"}, 600, 1},
    };
    bool first = true;
    for (const Variant& v : variants) {
        std::vector<double> ms;
        long rss = 0;
        for (int i = 0; i < v.runs; ++i) {
            const ChildRun run = runGame(v.arguments, v.frames);
            if (!run.ok) continue;
            ms.push_back(run.firstFrameMs);
            rss = std::max(rss, run.peakRssKb);
        }
        if (ms.empty()) {
            emit("| %s | 0 | did not run | | | |\n", v.name);
            continue;
        }
        const bench::Summary s = bench::summarize(ms);
        if (first) startupMs = s;
        first = false;
        peakRssKb = std::max(peakRssKb, rss);
        if (v.frames == 1)
            emit("| %s | %zu | %s ms | %s ms | %s ms | %s MB |\n", v.name, s.count,
                 fixed(s.median).c_str(), fixed(s.p10).c_str(), fixed(s.p90).c_str(),
                 fixed(double(rss) / 1024.0).c_str());
        else
            emit("| %s | %zu | (first frame %s ms) | | | %s MB |\n", v.name, s.count,
                 fixed(s.median).c_str(), fixed(double(rss) / 1024.0).c_str());
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

// ---------------------------------------------------------------------------------------
// Part 5: the archives and the music.

bench::Summary archivePass;

void archiveTable() {
    archive::openArchives();
    std::vector<std::pair<archive::ArchiveId, std::string>> entries;
    for (int id = 0; id < archive::kArchiveCount; ++id) {
        const archive::ArchiveSlot& slot = archive::archiveSlots[id];
        if (!slot.directory) continue;
        for (int32_t at = archive::kArchiveHeaderSize;
             at + archive::kArchiveEntrySize <= slot.directorySize;
             at += archive::kArchiveEntrySize) {
            const char* name = reinterpret_cast<const char*>(slot.directory.get() + at);
            if (std::memchr(name, 0, archive::kArchiveNameSize))
                entries.emplace_back(archive::ArchiveId(id), name);
        }
    }
    double unpacked = 0, packed = 0;
    for (int id = 0; id < archive::kArchiveCount; ++id)
        packed += double(archive::archiveSlots[id].fileSize);
    std::vector<double> passes;
    const int count = options.quick ? 10 : 40;
    for (int pass = 0; pass < count + 2; ++pass) {
        double bytes = 0;
        const auto start = bench::Clock::now();
        for (const auto& [id, name] : entries) {
            archive::ResourceBuffer buffer = archive::loadEntry(id, name.c_str());
            bytes += buffer.size;
        }
        const double us = bench::microsecondsSince(start);
        if (pass >= 2) passes.push_back(us);  // the first two warm the file cache
        unpacked = bytes;
    }
    archivePass = bench::summarize(passes);
    header("Archives and music");
    emit("| case | median | p10 | p90 | note |\n|---|---:|---:|---:|---|\n");
    emit("| load every archive entry (%zu entries, %s bytes inflated from %s in the files) | "
         "%s us | %s us | %s us | %s MB/s inflated |\n",
         entries.size(), thousands(unpacked).c_str(), thousands(packed).c_str(),
         micros(archivePass.median).c_str(), micros(archivePass.p10).c_str(),
         micros(archivePass.p90).c_str(), fixed(unpacked / archivePass.median, 0).c_str());
    archive::closeArchives();
}

bench::Summary musicTitle;

void musicTable() {
    archive::openArchives();
    std::vector<uint8_t> stream(kMusicBufferBytes);
    std::vector<double> all;
    const int buffers = options.quick ? 100 : 300;
    for (int id = 0; id < audio::kMusicCount; ++id) {
        ModPlugFile* module = audio::loadMusic(audio::MusicId(id));
        if (!module) continue;
        audio::music.currentVolume = audio::kMusicMaxVolume;
        audio::music.targetVolume = audio::kMusicMaxVolume;
        audio::music.rampStep = 0;
        audio::music.playsLeft = audio::kPlayForever;
        ModPlug_SetMasterVolume(module, audio::kMusicMaxVolume);
        std::vector<double> samples;
        for (int i = 0; i < buffers + 5; ++i) {
            const auto start = bench::Clock::now();
            audio::musicHook(module, stream.data(), kMusicBufferBytes);
            const double us = bench::microsecondsSince(start);
            if (i >= 5) samples.push_back(us);
        }
        ModPlug_Unload(module);
        if (id == audio::MUSIC_TURBOCHIP) musicTitle = bench::summarize(samples);
        all.insert(all.end(), samples.begin(), samples.end());
    }
    archive::closeArchives();
    if (all.empty()) {
        emit("| music hook | no module could be loaded | | | |\n");
        return;
    }
    const bench::Summary everything = bench::summarize(all);
    const auto bufferShare = [](double us) {
        return fixed(100.0 * us / kMusicBufferUs, 2) + " % of the buffer's " +
               thousands(kMusicBufferUs) + " us";
    };
    emit("| music hook, one 1024-frame buffer of the title module (turbochip) | %s us | %s us | "
         "%s us | %s |\n",
         micros(musicTitle.median).c_str(), micros(musicTitle.p10).c_str(),
         micros(musicTitle.p90).c_str(), bufferShare(musicTitle.median).c_str());
    emit("| music hook, one buffer, all 18 modules pooled | %s us | %s us | %s us | %s |\n",
         micros(everything.median).c_str(), micros(everything.p10).c_str(),
         micros(everything.p90).c_str(), bufferShare(everything.median).c_str());
}

// ---------------------------------------------------------------------------------------
// The targets, as ratios from this same run.

void targetLine(const char* what, double measured, double limit, const std::string& shown) {
    emit("| %s | %s | %s |\n", what, shown.c_str(), measured <= limit ? "met" : "NOT met");
}

void targetsTable() {
    header("Targets");
    emit("| target | measured | |\n|---|---:|---|\n");
    for (int depth : {16, 24}) {
        auto& z = zoomResults[depth].byName;
        const double mem = z["memcpy of the output"].median;
        const double stretch = z["SDL_SoftStretch (nearest)"].median;
        const double nearest = z["zoomNearest"].median / mem;
        const double smooth = z["zoomSmooth"].median / mem;
        const double nearLimit = depth == 16 ? 1.5 : 3.0;
        const double smoothLimit = depth == 16 ? 2.0 : 4.0;
        char what[160];
        std::snprintf(what, sizeof what, "zoomNearest, %d bits, within %.1fx memcpy", depth,
                      nearLimit);
        targetLine(what, nearest, nearLimit, fixed(nearest, 2) + "x");
        std::snprintf(what, sizeof what, "zoomSmooth, %d bits, within %.1fx memcpy", depth,
                      smoothLimit);
        targetLine(what, smooth, smoothLimit, fixed(smooth, 2) + "x");
        for (const char* name : {"zoomNearest", "zoomSmooth"}) {
            const double faster = stretch / z[name].median;
            std::snprintf(what, sizeof what,
                          "%s, %d bits, at least 10x faster than SDL_SoftStretch", name, depth);
            targetLine(what, 10.0 / faster, 1.0, fixed(faster, 1) + "x faster");
        }
    }
    const auto frame = [](const char* mode) { return modeResults[mode].whole.median; };
    const double nearestShare = 100 * frame("nearest zoom, 16 bits (default)") / kFrameBudgetUs;
    const double smoothShare = 100 * frame("smooth zoom, 16 bits") / kFrameBudgetUs;
    const double smooth24Share = 100 * frame("smooth zoom, 24 bits") / kFrameBudgetUs;
    targetLine("whole frame, default mode (nearest, 16 bits), under 3 % of the budget",
               nearestShare, 3.0, fixed(nearestShare, 2) + " %");
    targetLine("whole frame, smooth zoom (16 bits), under 4 % of the budget", smoothShare, 4.0,
               fixed(smoothShare, 2) + " %");
    targetLine("whole frame, smooth zoom (24 bits), under 4 % of the budget", smooth24Share, 4.0,
               fixed(smooth24Share, 2) + " %");
    const double worldShare = 100 * worldUpdate.median / kFrameBudgetUs;
    targetLine("world update under 1 % of the budget", worldShare, 1.0,
               fixed(worldShare, 3) + " %");
    if (startupMs.count)
        targetLine("start-up to the first frame of the test map under 100 ms", startupMs.median,
                   100.0, fixed(startupMs.median) + " ms");
    else emit("| start-up to the first frame of the test map under 100 ms | did not run | |\n");
    if (peakRssKb)
        targetLine("peak RSS under 64 MB", double(peakRssKb) / 1024.0, 64.0,
                   fixed(double(peakRssKb) / 1024.0) + " MB");
}

void machineHeader() {
    emit("## TROLK benchmark\n\n");
    emit("- CPU: %s (family %s, model %s, stepping %s; %s MHz; cache %s; %ld cores online)\n",
         firstLineOf("/proc/cpuinfo", "model name").c_str(),
         firstLineOf("/proc/cpuinfo", "cpu family").c_str(),
         firstLineOf("/proc/cpuinfo", "model\t").c_str(),
         firstLineOf("/proc/cpuinfo", "stepping").c_str(),
         firstLineOf("/proc/cpuinfo", "cpu MHz").c_str(),
         firstLineOf("/proc/cpuinfo", "cache size").c_str(), sysconf(_SC_NPROCESSORS_ONLN));
    std::ifstream loadavg("/proc/loadavg");
    double load1 = 0, load5 = 0;
    if (loadavg >> load1 >> load5)
        emit("- Load average when the run began: %.2f (1 min), %.2f (5 min)\n", load1, load5);
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        emit("- CPU affinity: %d core(s) (scripts/bench.sh pins the run to one)\n",
             CPU_COUNT(&set));
    emit("- Build: %s, %s, compiler %s\n", TROLK_BENCH_BUILD_TYPE, TROLK_BENCH_FLAGS, __VERSION__);
    emit("- Zoom filters: %s\n", video::zoomPathName(video::zoomPath()));
    emit("- Frame budget: 16,667 us (60 frames a second)\n");
}

void parseArguments(int argc, char** argv) {
    options.build = fs::absolute(argv[0]).parent_path().parent_path();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--build" && i + 1 < argc) options.build = argv[++i];
        else if (arg == "--out" && i + 1 < argc) options.out = argv[++i];
        else if (arg == "--quick") options.quick = true;
        else if (arg == "--gl-only") options.glOnly = true;
        else {
            std::fprintf(stderr,
                         "usage: trolk_bench [--build DIR] [--out FILE] [--quick] [--gl-only]\n");
            std::exit(2);
        }
    }
    options.build = fs::absolute(options.build);
}

}  // namespace

int main(int argc, char** argv) {
    parseArguments(argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(options.build.c_str()) != 0) {
        std::fprintf(stderr, "trolk_bench: cannot enter %s\n", options.build.c_str());
        return 1;
    }
    if (!fs::exists("data/gfx.zda")) {
        std::fprintf(stderr, "trolk_bench: no data/gfx.zda in %s: build the content first\n",
                     options.build.c_str());
        return 1;
    }
    if (SDL_Init(0) < 0) return 1;
    archive::openArchives();

    if (options.glOnly) {
        openGlTable();
    } else {
        machineHeader();
        zoomTable(16);
        zoomTable(24);
        sceneAndModeTables();
        emit("\nOpenGL: SDL's dummy driver has no GL context; scripts/bench.sh measures that "
             "mode separately under Xvfb when it can (section \"Whole frame in OpenGL mode\").\n");
        archiveTable();
        musicTable();
        startupTable();
        targetsTable();
    }
    archive::closeArchives();
    SDL_Quit();

    if (!options.out.empty()) {
        std::ofstream out(options.out);
        out << report;
    }
    return 0;
}
