// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The veil darkens the play area exactly as SDL's half-transparent blit of the black veil
// does, also where drawVeil halves the bytes itself instead of asking SDL (24 bits).

#include "support/sdl_fixture.h"
#include "video/display.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

TEST(Veil, DarkensThePlayAreaAsSdlsBlitDoes) {
    for (int depth : {16, 24}) {
        for (bool zoom : {false, true}) {
            SCOPED_TRACE(testing::Message() << depth << " bits" << (zoom ? ", zoomed" : ""));
            video::DisplaySettings settings;
            settings.fullScreen = false;
            settings.zoom = zoom;
            settings.depth = depth;
            video::setUpDisplay(settings);
            SDL_Surface* screen = video::display.backBuffer;
            const SDL_PixelFormat* f = screen->format;
            SDL_Surface* expected = SDL_CreateRGBSurface(0, 320, 240, f->BitsPerPixel, f->Rmask,
                                                         f->Gmask, f->Bmask, f->Amask);
            ASSERT_NE(expected, nullptr);

            std::mt19937 random(depth);
            const size_t rowBytes = size_t(320 * f->BytesPerPixel);
            for (int y = 0; y < 240; ++y) {
                auto* row = static_cast<uint8_t*>(screen->pixels) + y * screen->pitch;
                for (size_t i = 0; i < rowBytes; ++i) row[i] = uint8_t(random());
                std::copy(row, row + rowBytes,
                          static_cast<uint8_t*>(expected->pixels) + y * expected->pitch);
            }
            SDL_BlitSurface(video::display.veil, nullptr, expected, nullptr);
            video::drawVeil();

            for (int y = 0; y < 240; ++y) {
                const auto* got = static_cast<uint8_t*>(screen->pixels) + y * screen->pitch;
                const auto* want = static_cast<uint8_t*>(expected->pixels) + y * expected->pitch;
                for (size_t i = 0; i < rowBytes; ++i)
                    ASSERT_EQ(got[i], want[i]) << "row " << y << ", byte " << i;
            }
            SDL_FreeSurface(expected);
            video::closeDisplay();
        }
    }
}

}  // namespace
