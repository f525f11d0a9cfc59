// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Display modes under the dummy driver: which surfaces exist, their format, and that a
// presented frame lands on the screen surface as the mode says.

#include "video/display.h"

#include <gtest/gtest.h>

#include "support/sdl_fixture.h"
#include "support/test_support.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

uint32_t pixel(SDL_Surface* s, int x, int y) {
    const int bytes = s->format->BytesPerPixel;
    const uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

TEST(Display, AWindowWithoutZoomIsItsOwnBackBuffer) {
    // OpenGL, HD and smoothing have no effect without zoom.
    video::setUpDisplay(
        {.fullScreen = false, .zoom = false, .smooth = true, .openGl = true, .hd = true});
    EXPECT_EQ(video::display.presentation, video::Presentation::Direct);
    EXPECT_EQ(video::display.screenSurface, nullptr);
    EXPECT_EQ(video::display.backBuffer, SDL_GetVideoSurface());
    EXPECT_EQ(video::display.backBuffer->w, 320);
    EXPECT_EQ(video::display.backBuffer->format->BitsPerPixel, 16);
}

TEST(Display, ZoomedAndFullScreenModesPresentTheBackBufferAtDoubleSize) {
    const struct {
        const char* what;
        video::DisplaySettings settings;
        int depth;
    } cases[] = {
        {"no options: full screen, sharp, 16 bits", {}, 16},
        {"full screen without zoom still zooms", {.fullScreen = true, .zoom = false}, 16},
        {"a zoomed window", {.fullScreen = false}, 16},
        {"smoothed", {.fullScreen = false, .smooth = true}, 16},
        {"at 24 bits", {.fullScreen = false, .depth = 24}, 24},
        {"smoothed at 24 bits", {.fullScreen = false, .smooth = true, .depth = 24}, 24},
        {"HD without OpenGL changes nothing", {.fullScreen = false, .hd = true}, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool smooth = c.settings.smooth;
        video::setUpDisplay(c.settings);
        EXPECT_EQ(video::display.presentation,
                  smooth ? video::Presentation::Smooth : video::Presentation::Nearest);
        ASSERT_NE(video::display.screenSurface, nullptr);
        EXPECT_EQ(video::display.screenSurface->w, 640);
        EXPECT_EQ(video::display.screenSurface->h, 480);
        EXPECT_EQ((video::display.screenSurface->flags & SDL_FULLSCREEN) != 0,
                  c.settings.fullScreen);
        EXPECT_EQ(video::display.backBuffer->w, 320);
        EXPECT_EQ(video::display.backBuffer->format->BitsPerPixel, c.depth);
        EXPECT_EQ(video::display.backBuffer->format->Rmask,
                  video::display.screenSurface->format->Rmask);
        EXPECT_EQ(video::display.smoothBuffer != nullptr, smooth);

        video::fillRect(video::display.backBuffer, 0, 0, 320, 240, video::display.colorBlue);
        video::fillRect(video::display.backBuffer, 100, 50, 1, 1, video::display.colorRed);
        video::presentFrame();
        EXPECT_EQ(pixel(video::display.screenSurface, 200, 100), video::display.colorRed);
        EXPECT_EQ(pixel(video::display.screenSurface, 0, 0), video::display.colorBlue);
        EXPECT_EQ(pixel(video::display.screenSurface, 201, 100) == video::display.colorRed,
                  !smooth);
        video::closeDisplay();
    }
}

TEST(Display, NamedColoursAndTheVeilUseTheBackBufferFormat) {
    video::setUpDisplay({.fullScreen = false, .zoom = false});
    EXPECT_EQ(video::display.colorRed, 0xF800u);
    EXPECT_EQ(video::display.colorDarkBlue, 0x0010u);
    EXPECT_EQ(video::display.colorGrey,
              SDL_MapRGB(video::display.backBuffer->format, 128, 128, 128));
    ASSERT_NE(video::display.veil, nullptr);
    EXPECT_EQ(video::display.veil->h, 192);

    video::fillRect(video::display.backBuffer, 0, 0, 320, 240, video::display.colorLightGrey);
    video::drawVeil();
    Uint8 r, g, b;
    SDL_GetRGB(pixel(video::display.backBuffer, 5, 191), video::display.backBuffer->format, &r, &g,
               &b);
    EXPECT_NEAR(r, 99, 4);  // half of 198, the 5-bit light grey
    EXPECT_EQ(pixel(video::display.backBuffer, 5, 192),
              video::display.colorLightGrey);  // the HUD rows stay
}

TEST(Display, AModeThatCannotBeSetIsFatal) {
    const test_support::ChildResult result = test_support::runInChild([] {
        // The dummy driver has no OpenGL.
        video::setUpDisplay({.fullScreen = false, .openGl = true});
    });
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output.rfind("Unable to set 640x480 video: ", 0), 0u) << result.output;
}

}  // namespace
