// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The fixture of the window tests: a private X server, a scratch working directory with the
// built data linked, the game started in it, and waits for what the window should show.

#include "expected_pictures.h"
#include "support/test_support.h"
#include "x_session.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

constexpr int kServerWidth = 1400;  // room for the 1360 x 768 window of the HD mode
constexpr int kServerHeight = 800;

// The folder of another SDL 1.2 library to run the game with, put first on its library search
// path: TROLK_E2E_SDL_LIBRARY_DIR, which the sdl12compat runs of the window tests set to
// sdl12-compat's folder. Empty: the library the game was linked with, found as usual.
std::filesystem::path sdlLibraryFolder();

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Before SetUp: the X server's screen is made as big as the game's full-screen mode
    // (640 x 480), so that full screen needs no change of video mode, which Xvfb cannot make;
    // screenshots then take the whole screen.
    void useFullScreen() { fullScreen_ = true; }

    // Links data/ and maps/ of the build into the working directory.
    void linkBuiltData() const { scratch_.linkBuiltData(); }
    // Starts the game (the build's, or `program`) with these options.
    void launchGame(const std::vector<std::string>& options,
                    const std::filesystem::path& program = TROLK_PROGRAM,
                    const std::map<std::string, std::string>& environment = {});
    // Starts the game (or another program of ours with a window named as `windowName`
    // matches); false (and a failure) when no window appears, or when the program has not
    // loaded the SDL 1.2 of sdlLibraryFolder() asked for.
    bool startGame(const std::vector<std::string>& options,
                   const std::filesystem::path& program = TROLK_PROGRAM,
                   const std::map<std::string, std::string>& environment = {},
                   const std::string& windowName = "^TROLK$");
    // A picture of the game's own drawing code, at the game's depth.
    Expected expect(const Drawing& drawing, int depth = 16);
    // A test of one screenshot; `why` says what is wrong with it.
    using Sight = std::function<bool(const Picture& shot, std::string& why)>;
    enum class Press { Tap, Hold };

    // The window shows `expected` (which must outlive the sight).
    static Sight showing(const Expected& expected, Presentation how);
    // The window does not show `expected`.
    static Sight missing(const Expected& expected, Presentation how);
    // A menu with its selected item in the dark half of its blink: `steady` (the rest of
    // the menu) is shown and `blinking` (the selected item) is not.
    static Sight selected(const Expected& steady, const Expected& blinking, Presentation how);

    // Screenshots the window until it shows `expected`, at most `timeout`. On failure the
    // last screenshot is kept in the build folder (e2e-shots/) and named in the message;
    // with TROLK_E2E_SHOTS set in the environment, every matching one is kept too.
    ::testing::AssertionResult shows(const Expected& expected, Presentation how,
                                     const std::string& what, int timeoutMs = 8000);
    // Screenshots the window until it no longer shows `expected`.
    ::testing::AssertionResult stopsShowing(const Expected& expected, Presentation how,
                                            const std::string& what, int timeoutMs = 4000);
    // Screenshots the window until the menu item `blinking` is the selected one.
    ::testing::AssertionResult showsSelected(const Expected& steady, const Expected& blinking,
                                             Presentation how, const std::string& what,
                                             int timeoutMs = 4000);
    // Presses a key until the sight is seen: a press the game missed (two taps that fell
    // into one frame, a hold too short for a busy machine) is made again, up to `attempts`
    // presses in all. Only for presses that do no harm when repeated before the sight.
    ::testing::AssertionResult pressUntil(const std::string& key, Press press, const Sight& sight,
                                          const std::string& what, int attempts = 3);
    // Screenshots the window until the sight is seen, at most `timeoutMs`.
    ::testing::AssertionResult watch(const Sight& sight, const std::string& what, int timeoutMs);
    // Waits for the game to end; its exit status, or -1 when it had to be killed.
    int exitStatus(int timeoutMs = 15000);

    const std::filesystem::path& workDir() const { return scratch_.path(); }
    GameWindow& window() { return *window_; }

  private:
    std::string keepScreenshot(const Picture& shot, const std::string& what);

    test_support::ScratchDirectory scratch_;
    std::unique_ptr<VirtualDisplay> display_;
    std::unique_ptr<GameWindow> window_;
    bool fullScreen_ = false;
};

// Under the sanitizers (ASAN_OPTIONS set), the environment that turns the game's leak check
// off; nothing otherwise.
std::map<std::string, std::string> withoutLeakCheck();

// The texts of trolk.cfg written with every setting at its default, 27 lines.
extern const char* const kDefaultSettingsFile;

}  // namespace e2e
