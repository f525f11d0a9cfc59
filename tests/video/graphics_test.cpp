// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Loading and cutting pictures: colour-key rules by format, frame cutting, the water pairs,
// and the two fatal picture errors.

#include "video/graphics.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "archive/archive.h"
#include "support/picture_fixture.h"
#include "support/sdl_fixture.h"
#include "support/test_support.h"
#include "video/display.h"

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

using test_support::makeSurface;
using test_support::paint;
using test_support::pixelAt;

class GraphicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        video::DisplaySettings window;
        window.fullScreen = window.zoom = false;
        video::setUpDisplay(window);
        std::filesystem::create_directory("data");
    }
    void TearDown() override { archive::closeArchives(); }

    void openGfx(const std::vector<zda::PackEntry>& entries) {
        test_support::writeArchive("data/gfx.zda", entries);
        archive::openArchives();
    }

    test_support::ScratchDirectory scratch;
};

bool keyed(SDL_Surface* s) { return s->flags & SDL_SRCCOLORKEY; }

TEST_F(GraphicsTest, ColourKeyFollowsTheFormatOfThePicture) {
    const SDL_Color magenta{255, 0, 255, 0}, black{0, 0, 0, 0}, white{255, 255, 255, 0};

    SDL_Surface* palettised = makeSurface(4, 4, 8, {black, white, magenta});
    video::setColorKey(palettised, 255, 0, 255);
    EXPECT_TRUE(keyed(palettised));
    EXPECT_EQ(palettised->format->colorkey, 2u);

    SDL_Surface* noMagenta = makeSurface(4, 4, 8, {white, black});
    video::setColorKey(noMagenta, 255, 0, 255);
    EXPECT_TRUE(keyed(noMagenta));
    EXPECT_EQ(noMagenta->format->colorkey, 0u);  // index 0 stands in

    SDL_Surface* opaque16 = makeSurface(4, 4, 16);
    paint(opaque16, 0, 0, 4, 4, 10, 20, 30);
    video::setColorKey(opaque16, 255, 0, 255);
    EXPECT_FALSE(keyed(opaque16));  // nothing to hide: blitted without key tests

    SDL_Surface* sprite16 = makeSurface(4, 4, 16);
    paint(sprite16, 3, 3, 1, 1, 255, 0, 255);
    video::setColorKey(sprite16, 255, 0, 255);
    EXPECT_TRUE(keyed(sprite16));
    EXPECT_EQ(sprite16->format->colorkey, 0xF81Fu);

    SDL_Surface* opaque24 = makeSurface(4, 4, 24);
    video::setColorKey(opaque24, 255, 0, 255);
    EXPECT_TRUE(keyed(opaque24));  // no scan at this depth: a key that never matches

    for (SDL_Surface* s : {palettised, noMagenta, opaque16, sprite16, opaque24}) SDL_FreeSurface(s);
}

TEST_F(GraphicsTest, LoadBitmapConvertsToTheBackBufferFormatAndKeysMagenta) {
    SDL_Surface* picture = makeSurface(8, 4, 24);
    paint(picture, 0, 0, 8, 4, 255, 0, 255);
    paint(picture, 2, 1, 3, 2, 0, 0, 255);
    openGfx({{"pic.bmp", test_support::bmpBytes(picture)}});

    SDL_Surface* loaded = video::loadBitmap("pic", true);
    EXPECT_EQ(loaded->format->BitsPerPixel, 16);
    EXPECT_TRUE(keyed(loaded));
    SDL_FillRect(video::display.backBuffer, nullptr, video::display.colorRed);
    SDL_BlitSurface(loaded, nullptr, video::display.backBuffer, nullptr);
    EXPECT_EQ(pixelAt(video::display.backBuffer, 0, 0), video::display.colorRed);  // transparent
    EXPECT_EQ(pixelAt(video::display.backBuffer, 2, 1), video::display.colorBlue);

    SDL_Surface* unkeyed = video::loadBitmap("pic", false);
    EXPECT_FALSE(keyed(unkeyed));
    SDL_FreeSurface(loaded);
    SDL_FreeSurface(unkeyed);
    SDL_FreeSurface(picture);
}

TEST_F(GraphicsTest, MissingOrUndecodablePicturesAreFatal) {
    openGfx({{"broken.bmp", test_support::bytesOf("not a picture at all")}});
    const test_support::ChildResult missing =
        test_support::runInChild([] { video::loadBitmap("absent", true); });
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.output, "Error loading gfx file: absent\n");
    const test_support::ChildResult broken =
        test_support::runInChild([] { video::loadBitmap("broken", false); });
    EXPECT_EQ(broken.exitStatus, 1);
    EXPECT_EQ(broken.output.rfind("Unable to load bitmap: ", 0), 0u) << broken.output;
}

TEST_F(GraphicsTest, CutSheetGoesRowMajorIgnoresRemaindersAndKeysEachFrame) {
    SDL_Surface* sheet = makeSurface(35, 20, 16);  // 4 x 2 frames of 8 x 8, remainders left out
    paint(sheet, 0, 0, 35, 20, 255, 0, 255);
    for (int i = 0; i < 8; ++i)
        paint(sheet, (i % 4) * 8, (i / 4) * 8, 8, 4, uint8_t(i * 30), 50, 50);
    const int fullFrame = 7;
    paint(sheet, 24, 8, 8, 8, 1, 2, 3);  // frame 7 holds no magenta at all

    video::FrameList list = video::cutSheet(sheet, 8, 8);
    ASSERT_EQ(list.count, 8);
    EXPECT_EQ(list.frames[8], nullptr);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.frames[size_t(i)]->w, 8);
        EXPECT_EQ(pixelAt(list.frames[size_t(i)], 0, 0), pixelAt(sheet, (i % 4) * 8, (i / 4) * 8));
        EXPECT_EQ(keyed(list.frames[size_t(i)]), i != fullFrame);
    }
    video::freeFrameList(list);
    EXPECT_EQ(list.count, 0);
    SDL_FreeSurface(sheet);

    SDL_Surface* tooSmall = makeSurface(20, 5, 16);
    video::FrameList none = video::cutSheet(tooSmall, 8, 8);
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.frames[0], nullptr);
    SDL_FreeSurface(tooSmall);
}

TEST_F(GraphicsTest, TileSetCutsTwoHundredFortyImagesAndRotatesTheWaterStrip) {
    SDL_Surface* sheet = makeSurface(320, 192, 24);
    for (int i = 0; i < 240; ++i)
        paint(sheet, 16 * (i % 20), 16 * (i / 20), 16, 16, uint8_t(i), 1, 2);
    for (int x = 0; x < 32; ++x) paint(sheet, x, 128, 1, 16, 7, uint8_t(8 * x), 200);  // the strip
    openGfx({{"newblocks.bmp", test_support::bmpBytes(sheet)}});
    video::graphicsStyle = video::STYLE_DELUXE;
    std::srand(5);
    video::loadTileSet();

    for (int i : {1, 24, 119, 239})
        EXPECT_EQ(pixelAt(video::tileImages[size_t(i)], 3, 3),
                  SDL_MapRGB(video::display.backBuffer->format, uint8_t(i), 1, 2));
    auto stripColumn = [](int x) {
        return SDL_MapRGB(video::display.backBuffer->format, 7, uint8_t(8 * x), 200);
    };
    for (int pair = 0; pair < 4; ++pair) {
        SCOPED_TRACE(pair);
        SDL_Surface* left = video::waterFrames[size_t(2 * pair)];
        SDL_Surface* right = video::waterFrames[size_t(2 * pair + 1)];
        int shift = -1;
        for (int e = 0; e < 15; ++e)
            if (pixelAt(left, 0, 5) == stripColumn(e)) shift = e;
        ASSERT_GE(shift, 0);
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(pixelAt(left, x, 5), stripColumn((shift + x) % 32));
            EXPECT_EQ(pixelAt(right, x, 5), stripColumn((shift + 16 + x) % 32));
        }
    }
    video::freeTileSet();
    EXPECT_EQ(video::tileImages[5], nullptr);
    SDL_FreeSurface(sheet);
}

}  // namespace
