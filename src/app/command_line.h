// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line: display options, the test mode and the help text. Every argument is
// compared as a whole, case-sensitive; later options override earlier ones; anything else
// is ignored. "-h" acts the moment it is met, dropping the options before it.

#include <array>
#include <string_view>

#include "video/display.h"

namespace app {

struct CommandLine {
    video::DisplaySettings display;
    bool testMode = false;  // skip the front-end screens and play the test map
    bool showHelp = false;  // "-h" was met: print the help lines and end with status 0
};

enum Option : int {
    OPTION_WINDOW,
    OPTION_FULL_SCREEN,
    OPTION_ZOOM,
    OPTION_SMOOTH_ZOOM,
    OPTION_OPENGL,
    OPTION_HD,
    OPTION_DEPTH_16,
    OPTION_DEPTH_24,
    OPTION_TEST_MODE,
    OPTION_HELP,
    OPTION_COUNT,
};

struct OptionRow {
    Option option;
    std::string_view argument;
    std::string_view help;  // the line "-h" prints; none for an option it does not list
};

// The options in the order "-h" lists them.
constexpr std::array<OptionRow, OPTION_COUNT> kOptions = {{
    {OPTION_WINDOW, "-w", "-w : window mode (not fullscreen)"},
    {OPTION_FULL_SCREEN, "-fs", "-fs : fullscreen (-x2 automatically added)"},
    {OPTION_ZOOM, "-x2", "-x2 : zoom with no antialiasing"},
    {OPTION_SMOOTH_ZOOM, "-aa", "-aa : zoom with antialiasing"},
    {OPTION_OPENGL, "-ogl", "-ogl : open gl display"},
    {OPTION_HD, "-hd", "-hd : hd ready resolution when ogl flag set"},
    {OPTION_DEPTH_16, "-b16", "-b16 : 16 bits video mode"},
    {OPTION_DEPTH_24, "-b24",
     "-b24 : 24 bits video mode (maybe usefull if fade in/fade out looks crappy)"},
    {OPTION_TEST_MODE, "-t", ""},
    {OPTION_HELP, "-h", "-h : help"},
}};
static_assert(kOptions[OPTION_HELP].option == OPTION_HELP);

// Reads the arguments after the program name.
CommandLine parseCommandLine(int argc, const char* const* argv);
// Prints the nine help lines to standard output.
void printHelp();

}  // namespace app
