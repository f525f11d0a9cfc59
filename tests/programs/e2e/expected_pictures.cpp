// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "expected_pictures.h"

#include "app/flow.h"
#include "archive/archive.h"
#include "platform/ticks.h"
#include "support/test_support.h"
#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"
#include "video/zoom.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace e2e {

namespace {

constexpr int kWidth = video::kScreenWidth;
constexpr int kHeight = video::kScreenHeight;
constexpr int kZoomedWidth = video::kZoomedWidth;
constexpr int kZoomedHeight = video::kZoomedHeight;

// The OpenGL picture in HD mode: 1024 x 768 from x 168 of a 1360 x 768 window.
constexpr int kHdWidth = 1360;
constexpr int kHdHeight = 768;
constexpr int kHdPictureLeft = 168;
constexpr int kHdPictureWidth = 1024;

// Two backgrounds no drawing of the game uses.
constexpr SDL_Color kFirstBackground{1, 254, 3, 0};
constexpr SDL_Color kSecondBackground{254, 2, 253, 0};

uint32_t pixelValue(const SDL_Surface* surface, int x, int y) {
    const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    if (surface->format->BytesPerPixel == 2) {
        uint16_t value;
        std::memcpy(&value, row + 2 * x, 2);
        return value;
    }
    const uint8_t* p = row + 3 * x;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

Picture pictureOf(SDL_Surface* surface) {
    Picture picture{surface->w, surface->h,
                    std::vector<uint8_t>(size_t(3 * surface->w * surface->h))};
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y)
        for (int x = 0; x < surface->w; ++x) {
            uint8_t* rgb = &picture.rgb[size_t(3 * (y * surface->w + x))];
            SDL_GetRGB(pixelValue(surface, x, y), surface->format, &rgb[0], &rgb[1], &rgb[2]);
        }
    SDL_UnlockSurface(surface);
    return picture;
}

// A 640 x 480 surface in the back buffer's format, for the zoom filters.
SDL_Surface* zoomTarget() {
    const SDL_PixelFormat* format = video::display.backBuffer->format;
    return SDL_CreateRGBSurface(SDL_SWSURFACE, kZoomedWidth, kZoomedHeight, format->BitsPerPixel,
                                format->Rmask, format->Gmask, format->Bmask, format->Amask);
}

void drawOver(SDL_Color background, const Drawing& drawing) {
    video::fillRect(
        video::display.backBuffer, 0, 0, kWidth, kHeight,
        SDL_MapRGB(video::display.backBuffer->format, background.r, background.g, background.b));
    drawing();
}

void writePicture(std::ofstream& out, const Picture& picture) {
    out.write(reinterpret_cast<const char*>(picture.rgb.data()),
              std::streamsize(picture.rgb.size()));
}

bool readPicture(std::ifstream& in, Picture& picture, int width, int height) {
    picture = {width, height, std::vector<uint8_t>(size_t(3 * width * height))};
    in.read(reinterpret_cast<char*>(picture.rgb.data()), std::streamsize(picture.rgb.size()));
    return in.gcount() == std::streamsize(picture.rgb.size());
}

// Ends the drawing child without running the test program's exit handlers.
[[noreturn]] void leave(int status) {
    std::fflush(stdout);
    _exit(status);
}

// The child's part: everything through the game's code, the result into `out`.
void drawInChild(const fs::path& workDir, int depth, const Drawing& drawing, const fs::path& out) {
    if (chdir(workDir.c_str()) != 0) leave(2);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::printf("SDL_Init: %s\n", SDL_GetError());
        leave(3);
    }
    platform::setVirtualClock(true);
    video::DisplaySettings window;
    window.fullScreen = window.zoom = false;
    window.depth = depth;
    video::setUpDisplay(window);
    archive::openArchives();
    video::graphicsStyle = video::STYLE_DELUXE;
    video::loadFonts();
    video::loadLogo();
    video::loadScenePictures();
    video::loadTileSet();

    drawOver(kSecondBackground, drawing);
    const Picture second = pictureOf(video::display.backBuffer);
    drawOver(kFirstBackground, drawing);
    const Picture first = pictureOf(video::display.backBuffer);

    SDL_Surface* nearest = zoomTarget();
    SDL_Surface* smooth = zoomTarget();
    std::vector<uint32_t> work(size_t(kZoomedWidth * kHeight));
    video::zoomNearest(video::display.backBuffer, nearest);
    video::zoomSmooth(video::display.backBuffer, smooth, work.data());

    std::ofstream file(out, std::ios::binary);
    writePicture(file, first);
    writePicture(file, pictureOf(nearest));
    writePicture(file, pictureOf(smooth));
    for (size_t i = 0; i < first.rgb.size(); i += 3)
        file.put(char(std::equal(&first.rgb[i], &first.rgb[i] + 3, &second.rgb[i]) ? 1 : 0));
    file.close();
    SDL_Quit();
    leave(file ? 0 : 4);
}

void pushKeyRelease(SDLKey key) {
    SDL_Event event{};
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

bool same(const uint8_t* a, const uint8_t* b, int depth) {
    if (depth == 24) return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
    return (a[0] >> 3) == (b[0] >> 3) && (a[1] >> 2) == (b[1] >> 2) && (a[2] >> 3) == (b[2] >> 3);
}

void tally(Match& match, bool equal, int x, int y) {
    ++match.compared;
    if (equal) return;
    if (match.wrong++ == 0) {
        match.firstX = x;
        match.firstY = y;
    }
}

}  // namespace

void Expected::ignoreRows(int top, int bottom) {
    for (int y = std::max(top, 0); y < std::min(bottom, kHeight); ++y)
        std::fill_n(decided.begin() + y * kWidth, kWidth, uint8_t(0));
}

Expected drawExpected(const fs::path& workDir, int depth, const Drawing& drawing,
                      std::string& error) {
    const fs::path out = workDir / "expected-picture.bin";
    std::error_code ignored;
    fs::remove(out, ignored);
    const test_support::ChildResult child =
        test_support::runInChild([&] { drawInChild(workDir, depth, drawing, out); });
    Expected expected;
    expected.depth = depth;
    if (child.exitStatus != 0) {
        error = "the drawing child ended with status " + std::to_string(child.exitStatus) + ": " +
                child.output;
        return expected;
    }
    std::ifstream in(out, std::ios::binary);
    expected.decided.resize(size_t(kWidth * kHeight));
    if (!readPicture(in, expected.plain, kWidth, kHeight) ||
        !readPicture(in, expected.nearest, kZoomedWidth, kZoomedHeight) ||
        !readPicture(in, expected.smooth, kZoomedWidth, kZoomedHeight) ||
        !in.read(reinterpret_cast<char*>(expected.decided.data()),
                 std::streamsize(expected.decided.size()))) {
        error = "the drawing child wrote no picture";
        expected.plain = {};
    }
    return expected;
}

Drawing warningScreen() {
    return [] {
        pushKeyRelease(SDLK_UP);
        app::runScreen(app::Screen::Warning);
    };
}

Drawing creditsScreen() {
    return [] {
        pushKeyRelease(SDLK_UP);
        app::runScreen(app::Screen::Credits);
    };
}

Drawing styleChoiceScreen() {
    return [] {
        pushKeyRelease(SDLK_RIGHT);
        app::runScreen(app::Screen::StyleChoice);
    };
}

Drawing textCentred(std::string_view text, int y, bool big) {
    return [text = std::string(text), y, big] {
        video::drawTextCentered(text, y, big ? video::bigFont : video::smallFont);
    };
}

Drawing textAt(std::string_view text, int x, int y, bool big) {
    return [text = std::string(text), x, y, big] {
        video::drawText(text, x, y, big ? video::bigFont : video::smallFont);
    };
}

Drawing hudNumber(int value, int x, int digits) {
    return [=] { video::drawHudNumber(value, x, digits, video::bigFont); };
}

Drawing donatePicture() {
    return [] { video::blitAt(video::donateImage, 0, 0); };
}

Drawing allOf(std::vector<Drawing> drawings) {
    return [drawings = std::move(drawings)] {
        for (const Drawing& drawing : drawings) drawing();
    };
}

std::string Match::describe() const {
    if (!problem.empty()) return problem;
    if (compared == 0) return "no pixel to compare";
    return std::to_string(wrong) + " of " + std::to_string(compared) +
           " pixels differ, the first at (" + std::to_string(firstX) + ", " +
           std::to_string(firstY) + ")";
}

Match compare(const Picture& shot, const Expected& expected, Presentation how) {
    Match match;
    if (shot.rgb.empty()) return match.problem = "no screenshot", match;
    if (expected.plain.rgb.empty()) return match.problem = "no expected picture", match;
    const bool hd = how == Presentation::OpenGlHd;
    const int width = how == Presentation::Plain ? kWidth : hd ? kHdWidth : kZoomedWidth;
    const int height = how == Presentation::Plain ? kHeight : hd ? kHdHeight : kZoomedHeight;
    if (shot.width != width || shot.height != height)
        return match.problem = "the window is " + std::to_string(shot.width) + " x " +
                               std::to_string(shot.height) + ", not " + std::to_string(width) +
                               " x " + std::to_string(height),
               match;
    const auto decided = [&](int x, int y) {
        return expected
                   .decided[size_t(std::min(y, kHeight - 1) * kWidth + std::min(x, kWidth - 1))] !=
               0;
    };
    const uint8_t black[3] = {0, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            switch (how) {
            case Presentation::Plain:
                if (decided(x, y))
                    tally(match, same(shot.at(x, y), expected.plain.at(x, y), expected.depth), x,
                          y);
                break;
            case Presentation::Nearest:
            case Presentation::OpenGl:
                if (decided(x / 2, y / 2))
                    tally(match, same(shot.at(x, y), expected.nearest.at(x, y), expected.depth), x,
                          y);
                break;
            case Presentation::Smooth: {
                // An output pixel mixes its source pixel with the right one and the one below.
                const int sx = x / 2, sy = y / 2;
                if (decided(sx, sy) && decided(sx + 1, sy) && decided(sx, sy + 1))
                    tally(match, same(shot.at(x, y), expected.smooth.at(x, y), expected.depth), x,
                          y);
                break;
            }
            case Presentation::OpenGlHd: {
                const int px = x - kHdPictureLeft;
                if (px < 0 || px >= kHdPictureWidth) {
                    tally(match, same(shot.at(x, y), black, 24), x, y);
                    break;
                }
                // The source pixel under the centre of the output pixel.
                const int sx = (2 * px + 1) * kWidth / (2 * kHdPictureWidth);
                const int sy = (2 * y + 1) * kHeight / (2 * kHdHeight);
                if (decided(sx, sy))
                    tally(match, same(shot.at(x, y), expected.plain.at(sx, sy), expected.depth), x,
                          y);
                break;
            }
            }
        }
    return match;
}

}  // namespace e2e
