// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: override order, the help text and the program's exit with "-h".

#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "support/test_support.h"

namespace {

app::CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "trolk");
    return app::parseCommandLine(int(args.size()), args.data());
}

struct Expected {
    bool fullScreen, zoom, smooth, openGl, hd;
    int depth;
    bool testMode;
};

TEST(CommandLine, LaterOptionsOverrideEarlierOnesAndUnknownOnesAreIgnored) {
    const struct {
        std::vector<const char*> args;
        Expected expected;
    } cases[] = {
        {{}, {true, true, false, false, false, 16, false}},
        {{"-w", "-fs"}, {true, true, false, false, false, 16, false}},
        {{"-aa", "-w"}, {false, false, false, false, false, 16, false}},
        {{"-w", "-aa"}, {false, true, true, false, false, 16, false}},
        {{"-ogl", "-w"}, {false, false, false, true, false, 16, false}},
        {{"-hd"}, {true, true, false, false, true, 16, false}},
        {{"-b24", "-t"}, {false, false, false, false, false, 16, true}},
        {{"-t", "-fs", "-b24"}, {true, true, false, false, false, 24, true}},
        {{"-W", "--w", "w", "-x2 ", "-B24"}, {true, true, false, false, false, 16, false}},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const char* a : c.args) joined += std::string(a) + " ";
        SCOPED_TRACE(joined);
        const app::CommandLine line = parse(c.args);
        EXPECT_EQ(line.display.fullScreen, c.expected.fullScreen);
        EXPECT_EQ(line.display.zoom, c.expected.zoom);
        EXPECT_EQ(line.display.smooth, c.expected.smooth);
        EXPECT_EQ(line.display.openGl, c.expected.openGl);
        EXPECT_EQ(line.display.hd, c.expected.hd);
        EXPECT_EQ(line.display.depth, c.expected.depth);
        EXPECT_EQ(line.testMode, c.expected.testMode);
        EXPECT_FALSE(line.showHelp);
    }
}

TEST(CommandLine, HelpDropsTheOptionsBeforeIt) {
    const app::CommandLine line = parse({"-w", "-t", "-h", "-b24"});
    EXPECT_TRUE(line.showHelp);
    EXPECT_FALSE(line.testMode);
    EXPECT_TRUE(line.display.fullScreen);
}

TEST(CommandLine, HelpPrintsNineLinesAndEndsWithStatusZeroBeforeAnythingStarts) {
    const test_support::ChildResult result = test_support::runInChild([] {
        // With no video driver at all, any attempt to open a window would fail.
        setenv("SDL_VIDEODRIVER", "none-such", 1);
        const char* argv[] = {"trolk", "-fs", "-h", nullptr};
        std::exit(app::runProgram(3, const_cast<char**>(argv)));
    });
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output,
              "-w : window mode (not fullscreen)\n"
              "-fs : fullscreen (-x2 automatically added)\n"
              "-x2 : zoom with no antialiasing\n"
              "-aa : zoom with antialiasing\n"
              "-ogl : open gl display\n"
              "-hd : hd ready resolution when ogl flag set\n"
              "-b16 : 16 bits video mode\n"
              "-b24 : 24 bits video mode (maybe usefull if fade in/fade out looks crappy)\n"
              "-h : help\n");
}

}  // namespace
