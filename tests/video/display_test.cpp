// Display modes under the dummy driver: which surfaces exist, their format, and that a
// presented frame lands on the screen surface as the mode says.

#include "video/display.h"

#include <gtest/gtest.h>

#include "support/sdl_fixture.h"
#include "support/test_support.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

video::DisplaySettings settings(bool fullScreen, bool zoom, bool smooth, int depth) {
    video::DisplaySettings s;
    s.fullScreen = fullScreen;
    s.zoom = zoom;
    s.smooth = smooth;
    s.depth = depth;
    return s;
}

uint32_t pixel(SDL_Surface* s, int x, int y) {
    const int bytes = s->format->BytesPerPixel;
    const uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

TEST(Display, AWindowWithoutZoomIsItsOwnBackBuffer) {
    video::DisplaySettings s = settings(false, false, true, 16);
    s.openGl = s.hd = true;  // no effect without zoom
    video::setUpDisplay(s);
    EXPECT_EQ(video::display.presentation, video::Presentation::Direct);
    EXPECT_EQ(video::display.screenSurface, nullptr);
    EXPECT_EQ(video::display.backBuffer, SDL_GetVideoSurface());
    EXPECT_EQ(video::display.backBuffer->w, 320);
    EXPECT_EQ(video::display.backBuffer->format->BitsPerPixel, 16);
}

TEST(Display, ZoomedModesPresentTheBackBufferAtDoubleSize) {
    for (int depth : {16, 24}) {
        for (bool smooth : {false, true}) {
            SCOPED_TRACE(testing::Message() << depth << (smooth ? " smooth" : " nearest"));
            video::setUpDisplay(settings(false, true, smooth, depth));
            ASSERT_NE(video::display.screenSurface, nullptr);
            EXPECT_EQ(video::display.screenSurface->w, 640);
            EXPECT_EQ(video::display.backBuffer->format->BitsPerPixel, depth);
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
}

TEST(Display, NamedColoursAndTheVeilUseTheBackBufferFormat) {
    video::setUpDisplay(settings(false, false, false, 16));
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
        video::DisplaySettings s = settings(false, true, false, 16);
        s.openGl = true;  // the dummy driver has no OpenGL
        video::setUpDisplay(s);
    });
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.output.rfind("Unable to set 640x480 video: ", 0), 0u) << result.output;
}

}  // namespace
