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

constexpr std::array<std::string_view, 9> kHelpLines = {
    "-w : window mode (not fullscreen)",
    "-fs : fullscreen (-x2 automatically added)",
    "-x2 : zoom with no antialiasing",
    "-aa : zoom with antialiasing",
    "-ogl : open gl display",
    "-hd : hd ready resolution when ogl flag set",
    "-b16 : 16 bits video mode",
    "-b24 : 24 bits video mode (maybe usefull if fade in/fade out looks crappy)",
    "-h : help",
};

// Reads the arguments after the program name.
CommandLine parseCommandLine(int argc, const char* const* argv);
// Prints the nine help lines to standard output.
void printHelp();

}  // namespace app
