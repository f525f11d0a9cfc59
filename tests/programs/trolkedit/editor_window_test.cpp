// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window headless (SDL's dummy driver) with the built pictures, driven by events
// pushed into SDL's queue as the mouse and the keys would send them: a painted item appears
// as the game's picture at its cell and is counted, a play from a checkpoint runs the game
// there and escape returns to the map where it was, and the proof's ways are drawn.

#include "edit_fixture.h"
#include "editor_window.h"
#include "path_overlay.h"
#include "support/game_harness.h"
#include "support/sdl_fixture.h"
#include "support/test_support.h"

#include "app/flow.h"
#include "platform/ticks.h"
#include "world/level.h"
#include "world/lifetimes.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using trolkedit::Cell;

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

// 60 columns over ground: items in columns 4 and 15, checkpoints in columns 10 and 25, the
// door at the end.
std::string walkLevel() {
    std::vector<std::string> rows(12, std::string(60, '.'));
    rows[8] = std::string(55, '.') + "[]...";
    rows[9] = "....*.....C....*.........C" + std::string(29, '.') + "()...";
    rows[10] = rows[11] = std::string(60, '#');
    return edit_fixture::blockOf(rows);
}

class EditorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        scratch_.linkBuiltData();
        platform::setVirtualClock(true);
        test_support::writeText("walk.lvl", walkLevel());
        session_.settings.prover.levelbot = LEVELBOT_PROGRAM;
        session_.settings.prover.beam = session_.settings.prover.maxBeam = 100;
        trolkedit::openSession(session_, {"walk.lvl", "walk.lvl", {}});
        ASSERT_TRUE(session_.open) << session_.problem;
        std::string error;
        ASSERT_TRUE(trolkedit::openEditorWindow(window_, session_, video::STYLE_DELUXE, error))
            << error;
    }
    void TearDown() override {
        trolkedit::cancelProving(session_.prover);
        trolkedit::closeEditorWindow(window_);
        SDL_EnableUNICODE(0);
        SDL_EnableKeyRepeat(0, 0);
        test_support::forgetTheGame();
        world::freeLevel();
        platform::setVirtualClock(false);
    }

    void key(SDLKey sym, char typed = 0) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = sym;
        event.key.keysym.unicode = Uint16(typed);
        SDL_PushEvent(&event);
    }
    void mouseTo(Cell cell) {
        const trolkedit::Rect at = trolkedit::cellRect(window_.layout, session_.viewX, cell);
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = Uint16(at.x + at.w / 2);
        event.motion.y = Uint16(at.y + at.h / 2);
        SDL_PushEvent(&event);
    }
    void click(Cell cell) {
        mouseTo(cell);
        const trolkedit::Rect at = trolkedit::cellRect(window_.layout, session_.viewX, cell);
        for (Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event event{};
            event.type = type;
            event.button.button = SDL_BUTTON_LEFT;
            event.button.x = Uint16(at.x + at.w / 2);
            event.button.y = Uint16(at.y + at.h / 2);
            SDL_PushEvent(&event);
        }
    }
    // The window's pixel as red, green and blue.
    std::array<Uint8, 3> pixel(SDL_Surface* surface, int x, int y) {
        const int bytes = surface->format->BytesPerPixel;
        const auto* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
        Uint32 value = 0;
        for (int i = 0; i < bytes; ++i) value |= Uint32(p[i]) << (8 * i);
        std::array<Uint8, 3> rgb{};
        SDL_GetRGB(value, surface->format, &rgb[0], &rgb[1], &rgb[2]);
        return rgb;
    }

    test_support::ScratchDirectory scratch_;
    trolkedit::Session session_;
    trolkedit::EditorWindow window_;
};

TEST_F(EditorWindowTest, APaintedItemShowsTheGamesPictureAtItsCellAndIsCounted) {
    EXPECT_NE(trolkedit::statusLines(session_)[0].text.find("   items 2   "), std::string::npos);
    key(SDLK_8, '*');
    click({6, 5});
    mouseTo({20, 2});  // the frame round the cell under the mouse goes with it
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(session_.brush, '*');
    EXPECT_EQ(trolkedit::codeAt(session_.doc, {6, 5}), 41);
    EXPECT_NE(trolkedit::statusLines(session_)[0].text.find("   items 3   "), std::string::npos)
        << trolkedit::statusLines(session_)[0].text;
    // Doubled, every opaque pixel of the item's picture lands on its cell.
    SDL_Surface* item = video::tileImages[41];
    const trolkedit::Rect at = trolkedit::cellRect(window_.layout, session_.viewX, {6, 5});
    ASSERT_EQ(at.w, 32);
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::array<Uint8, 3> rgb = pixel(item, x, y);
            if (rgb == std::array<Uint8, 3>{255, 0, 255}) continue;
            ++opaque;
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(pixel(window_.surface, at.x + 2 * x + d % 2, at.y + 2 * y + d / 2), rgb)
                    << x << "," << y;
        }
    EXPECT_GT(opaque, 40);
    // One undo takes it away again.
    SDL_Event undo{};
    undo.type = SDL_KEYDOWN;
    undo.key.keysym.sym = SDLK_z;
    undo.key.keysym.mod = KMOD_LCTRL;
    SDL_PushEvent(&undo);
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(trolkedit::codeAt(session_.doc, {6, 5}), 0);
}

TEST_F(EditorWindowTest, AHeldArrowScrollsOnWhileNoKeyIsRepeatedBySdl) {
    int delay = -1, interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 0);  // a function key or a Ctrl key acts once for one press
    key(SDLK_RIGHT);
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(session_.viewX, 16);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(session_.viewX, 32);  // held past the delay: once more, then every 30 ms
    SDL_Event up{};
    up.type = SDL_KEYUP;
    up.key.keysym.sym = SDLK_RIGHT;
    SDL_PushEvent(&up);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(session_.viewX, 32);
}

TEST_F(EditorWindowTest, PlaysFromTheCheckpointAtTheMouseAndEscapeReturnsToTheMapWhereItWas) {
    for (int i = 0; i < 10; ++i) key(SDLK_RIGHT);
    trolkedit::editorFrame(window_, session_);
    ASSERT_EQ(session_.viewX, 160);
    const int editorWidth = window_.surface->w, editorHeight = window_.surface->h;
    mouseTo({27, 4});
    key(SDLK_F6);
    trolkedit::editorFrame(window_, session_);
    ASSERT_TRUE(window_.play.active) << session_.message;
    EXPECT_EQ(SDL_GetVideoSurface()->w, 640);  // the game's display
    const uint32_t begun = platform::readTicks();
    while (platform::readTicks() < begun + 3400) trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(app::flow.screen, app::Screen::Play);
    EXPECT_EQ(world::run.levelCounter, -1);
    EXPECT_EQ(world::life.player.x, 400);
    EXPECT_EQ(world::life.player.y, 144);
    EXPECT_EQ(world::cellOfGrid(25, 9), world::TILE_CHECKPOINT_TAKEN);
    EXPECT_EQ(world::life.itemsLeft, 0);  // both items lie left of the view

    key(SDLK_ESCAPE);
    trolkedit::editorFrame(window_, session_);
    EXPECT_FALSE(window_.play.active);
    EXPECT_NE(app::flow.screen, app::Screen::QuitQuestion);
    EXPECT_EQ(session_.message,
              "played from the checkpoint at column 25: left with escape, no life lost");
    trolkedit::editorFrame(window_, session_);
    EXPECT_EQ(window_.surface->w, editorWidth);
    EXPECT_EQ(window_.surface->h, editorHeight);
    EXPECT_EQ(session_.viewX, 160);
    EXPECT_EQ(trolkedit::codeAt(session_.doc, {25, 9}), world::TILE_CHECKPOINT);
}

TEST_F(EditorWindowTest, TheProofsWaysAreDrawnOverTheMap) {
    const SDL_PixelFormat* format = window_.surface->format;
    const level_render::PathColour yellow = level_render::pathColour(0);
    Uint8 r, g, b;
    SDL_GetRGB(SDL_MapRGB(format, yellow.r, yellow.g, yellow.b), format, &r, &g, &b);
    auto wayPixels = [&] {
        trolkedit::drawEditor(window_, session_);
        int count = 0;
        for (int y = 0; y < window_.layout.map.h; ++y)
            for (int x = 0; x < window_.layout.map.w; ++x)
                count += pixel(window_.surface, x, y) == std::array<Uint8, 3>{r, g, b};
        return count;
    };
    EXPECT_EQ(wayPixels(), 0);
    key(SDLK_F8);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    do {
        trolkedit::editorFrame(window_, session_);
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    } while (session_.prover.state == trolkedit::PROVER_RUNNING &&
             std::chrono::steady_clock::now() < giveUp);
    ASSERT_EQ(session_.prover.state, trolkedit::PROVER_DONE) << session_.prover.problem;
    EXPECT_GT(wayPixels(), 100);
}

}  // namespace
