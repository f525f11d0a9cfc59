// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_fixture.h"

#include <csignal>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {

namespace {

// Tests run by hand (outside ctest) find the build through the path it was made with.
const bool kBuildKnown = [] {
    setenv("TROLK_BUILD_DIR", TROLK_BUILT_DIR, 0);
    return true;
}();

constexpr Milliseconds kShotInterval(120);
constexpr const char* kSdlLibrary = "libSDL-1.2.so.0";  // the name the game asks for
// Long enough to see a blinking picture in both phases (32 frames each) several times.
constexpr int kPressAnswerMs = 4000;

std::string testName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return name;
}

}  // namespace

const char* const kDefaultSettingsFile = "volume=100\n"
                                         "j_jump=0\n"
                                         "j_fire=1\n"
                                         "j_start=7\n"
                                         "j_up=1\n"
                                         "j_down=4\n"
                                         "j_left=8\n"
                                         "j_right=2\n"
                                         "k_jump=273\n"
                                         "k_fire=32\n"
                                         "k_start=13\n"
                                         "k_up=273\n"
                                         "k_down=274\n"
                                         "k_left=276\n"
                                         "k_right=275\n"
                                         "mpFlagsOVERSAMPLING=1\n"
                                         "mpResamplingMode=1\n"
                                         "mpFlagsNOISE_REDUCTION=1\n"
                                         "mpFlagsREVERB=0\n"
                                         "mpReverbDepth=0\n"
                                         "mpReverbDelay=0\n"
                                         "mpFlagsMEGABASS=0\n"
                                         "mpBassAmount=0\n"
                                         "mpBassRange=0\n"
                                         "mpFlagsSURROUND=0\n"
                                         "mpSurroundDepth=0\n"
                                         "mpSurroundDelay=0\n";

std::map<std::string, std::string> withoutLeakCheck() {
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    if (!sanitizer) return {};
    return {{"ASAN_OPTIONS", std::string(sanitizer) + ":detect_leaks=0"}};
}

fs::path sdlLibraryFolder() {
    const char* folder = std::getenv("TROLK_E2E_SDL_LIBRARY_DIR");
    return folder ? fs::path(folder) : fs::path();
}

void WindowTest::SetUp() {
    (void)kBuildKnown;
    const fs::path library = sdlLibraryFolder();
    if (!library.empty() && !fs::exists(library / kSdlLibrary))
        GTEST_FAIL() << "no " << kSdlLibrary << " in " << library
                     << " to run the game with (scripts/install-deps.sh --extra installs "
                        "sdl12-compat)";
    std::string why;
    display_ = fullScreen_ ? VirtualDisplay::start(640, 480, why)
                           : VirtualDisplay::start(kServerWidth, kServerHeight, why);
    if (!display_) GTEST_SKIP() << "no X server for the window tests: " << why;
}

void WindowTest::launchGame(const std::vector<std::string>& options, const fs::path& program,
                            const std::map<std::string, std::string>& environment) {
    std::map<std::string, std::string> withLibrary = environment;
    if (const fs::path library = sdlLibraryFolder(); !library.empty()) {
        const char* searched = std::getenv("LD_LIBRARY_PATH");
        withLibrary.emplace("LD_LIBRARY_PATH",
                            library.string() + (searched ? std::string(":") + searched : ""));
    }
    window_ = std::make_unique<GameWindow>(*display_, program, workDir(), options, withLibrary);
    if (fullScreen_) window_->shootWholeScreen();
}

bool WindowTest::startGame(const std::vector<std::string>& options, const fs::path& program,
                           const std::map<std::string, std::string>& environment,
                           const std::string& windowName) {
    launchGame(options, program, environment);
    if (!window_->find(Milliseconds(15000), windowName)) {
        ADD_FAILURE() << "no window named " << windowName
                      << " appeared; the program printed: " << window_->output();
        return false;
    }
    // The library asked for is the one in use, not merely first on the search path.
    if (const fs::path library = sdlLibraryFolder(); !library.empty()) {
        const fs::path loaded = window_->loadedLibrary("libSDL-1.2.so");
        std::error_code ignored;
        if (loaded.empty() ||
            fs::canonical(loaded.parent_path(), ignored) != fs::canonical(library, ignored)) {
            ADD_FAILURE() << "the game runs with "
                          << (loaded.empty() ? std::string("no SDL 1.2") : loaded.string())
                          << ", not with the SDL 1.2 of " << library;
            return false;
        }
    }
    return true;
}

Expected WindowTest::expect(const Drawing& drawing, int depth) {
    std::string error;
    Expected expected = drawExpected(workDir(), depth, drawing, error);
    if (!error.empty()) ADD_FAILURE() << error;
    return expected;
}

std::string WindowTest::keepScreenshot(const Picture& shot, const std::string& what) {
    if (shot.rgb.empty()) return "(no screenshot)";
    const fs::path folder = fs::path(TROLK_BUILT_DIR) / "e2e-shots";
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    std::string name = testName() + "-" + what + ".png";
    for (char& c : name)
        if (c == ' ' || c == '"' || c == '?' || c == '!' || c == ',') c = '_';
    const fs::path path = folder / name;
    return writePng(path, shot) ? path.string() : "(screenshot not saved)";
}

::testing::AssertionResult WindowTest::watch(const Sight& sight, const std::string& what,
                                             int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + Milliseconds(timeoutMs);
    Picture shot;
    std::string why = "no screenshot";
    do {
        shot = window_->screenshot();
        if (!shot.rgb.empty() && sight(shot, why)) {
            // TROLK_E2E_SHOTS=1 keeps what every check saw, for looking at.
            if (std::getenv("TROLK_E2E_SHOTS")) keepScreenshot(shot, what);
            return ::testing::AssertionSuccess();
        }
        if (!window_->running()) break;
        std::this_thread::sleep_for(kShotInterval);
    } while (std::chrono::steady_clock::now() < deadline);
    return ::testing::AssertionFailure()
           << "the window did not show " << what << ": " << why << "; last screenshot "
           << keepScreenshot(shot, what)
           << (window_->running() ? "" : "; the game has ended, printing: " + window_->output());
}

WindowTest::Sight WindowTest::showing(const Expected& expected, Presentation how) {
    return [&expected, how](const Picture& shot, std::string& why) {
        const Match match = compare(shot, expected, how);
        why = match.describe();
        return match.good();
    };
}

WindowTest::Sight WindowTest::missing(const Expected& expected, Presentation how) {
    return [&expected, how](const Picture& shot, std::string& why) {
        why = "it is still there";
        return !compare(shot, expected, how).good();
    };
}

WindowTest::Sight WindowTest::selected(const Expected& steady, const Expected& blinking,
                                       Presentation how) {
    return [&steady, &blinking, how](const Picture& shot, std::string& why) {
        const Match others = compare(shot, steady, how);
        why = others.good() ? "the selected item did not blink" : others.describe();
        return others.good() && !compare(shot, blinking, how).good();
    };
}

::testing::AssertionResult WindowTest::shows(const Expected& expected, Presentation how,
                                             const std::string& what, int timeoutMs) {
    return watch(showing(expected, how), what, timeoutMs);
}

::testing::AssertionResult WindowTest::stopsShowing(const Expected& expected, Presentation how,
                                                    const std::string& what, int timeoutMs) {
    return watch(missing(expected, how), what, timeoutMs);
}

::testing::AssertionResult WindowTest::showsSelected(const Expected& steady,
                                                     const Expected& blinking, Presentation how,
                                                     const std::string& what, int timeoutMs) {
    return watch(selected(steady, blinking, how), what, timeoutMs);
}

::testing::AssertionResult WindowTest::pressUntil(const std::string& key, Press press,
                                                  const Sight& sight, const std::string& what,
                                                  int attempts) {
    ::testing::AssertionResult seen = ::testing::AssertionFailure();
    for (int attempt = 0; attempt < attempts && !seen; ++attempt) {
        if (press == Press::Hold) window_->hold(key);
        else window_->tap(key);
        seen = watch(sight, what, kPressAnswerMs);
        if (!window_->running()) break;
    }
    return seen;
}

int WindowTest::exitStatus(int timeoutMs) {
    if (std::optional<int> status = window_->waitForExit(Milliseconds(timeoutMs))) return *status;
    window_->sendSignal(SIGKILL);
    window_->waitForExit(Milliseconds(2000));
    return -1;
}

}  // namespace e2e
