// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every display mode opens its window and presents what the game drew: the warning screen
// (its blinking title aside) and the style choice, compared pixel for pixel with the game's
// own headless drawing passed through the same zoom. Escape then ends the game normally,
// and a quit this early writes no settings file. Full screen (-fs, and no option at all) is
// played on a screen of its own size.

#include "window_fixture.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace e2e {

namespace {

constexpr int kTitleTop = 40;  // the blinking title of the warning and credits screens
constexpr int kTitleBottom = 56;

struct DisplayMode {
    const char* name;
    std::vector<std::string> options;
    Presentation presentation;
    int depth;
    bool fullScreen = false;
};

const DisplayMode kModes[] = {
    {"PlainWindow", {"-w"}, Presentation::Plain, 16},
    {"NearestZoom", {"-w", "-x2"}, Presentation::Nearest, 16},
    {"SmoothZoom", {"-w", "-aa"}, Presentation::Smooth, 16},
    {"PlainWindow24Bits", {"-w", "-b24"}, Presentation::Plain, 24},
    {"SmoothZoom24Bits", {"-w", "-aa", "-b24"}, Presentation::Smooth, 24},
    {"OpenGl", {"-w", "-x2", "-ogl"}, Presentation::OpenGl, 16},
    {"OpenGl24Bits", {"-w", "-x2", "-ogl", "-b24"}, Presentation::OpenGl, 24},
    {"OpenGlHd", {"-w", "-x2", "-ogl", "-hd"}, Presentation::OpenGlHd, 16},
    {"FullScreen", {"-fs"}, Presentation::Nearest, 16, true},
    {"FullScreenWithoutOptions", {}, Presentation::Nearest, 16, true},
};

// Mesa's driver is loaded and unloaded while the game runs, so at exit LeakSanitizer can no
// longer say whose its leaks are: under the sanitizers the OpenGL modes go without the leak
// check (the other modes and the headless tests keep it).
std::map<std::string, std::string> environmentFor(const DisplayMode& mode) {
    const bool openGl =
        mode.presentation == Presentation::OpenGl || mode.presentation == Presentation::OpenGlHd;
    return openGl ? withoutLeakCheck() : std::map<std::string, std::string>{};
}

void PrintTo(const DisplayMode& mode, std::ostream* out) { *out << mode.name; }

class DisplayModes : public WindowTest, public ::testing::WithParamInterface<DisplayMode> {
  protected:
    void SetUp() override {
        if (GetParam().fullScreen) useFullScreen();
        WindowTest::SetUp();
    }
};

}  // namespace

TEST_P(DisplayModes, PresentWhatTheGameDrew) {
    const DisplayMode& mode = GetParam();
    linkBuiltData();
    Expected warning = expect(warningScreen(), mode.depth);
    warning.ignoreRows(kTitleTop, kTitleBottom);
    Expected credits = expect(creditsScreen(), mode.depth);
    credits.ignoreRows(kTitleTop, kTitleBottom);
    const Expected style = expect(styleChoiceScreen(), mode.depth);

    ASSERT_TRUE(startGame(mode.options, TROLK_PROGRAM, environmentFor(mode)));
    ASSERT_TRUE(shows(warning, mode.presentation, "the warning screen"));
    ASSERT_TRUE(
        pressUntil("Up", Press::Tap, showing(credits, mode.presentation), "the credits screen"));
    ASSERT_TRUE(
        pressUntil("Up", Press::Tap, showing(style, mode.presentation), "the style choice"));
    window().tap("Escape");
    EXPECT_EQ(exitStatus(), 0);
    EXPECT_EQ(window().output(), "");
    EXPECT_FALSE(fs::exists(workDir() / "trolk.cfg"));
}

INSTANTIATE_TEST_SUITE_P(Window, DisplayModes, ::testing::ValuesIn(kModes),
                         [](const ::testing::TestParamInfo<DisplayMode>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace e2e
