// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include <cstdio>

namespace app {

namespace {

// What one option does to the settings read so far.
void apply(Option option, CommandLine& line) {
    video::DisplaySettings& d = line.display;
    switch (option) {
    case OPTION_WINDOW: d.fullScreen = d.zoom = d.smooth = false; break;
    case OPTION_FULL_SCREEN: d.fullScreen = d.zoom = true; break;
    case OPTION_ZOOM:
        d.zoom = true;
        d.smooth = false;
        break;
    case OPTION_SMOOTH_ZOOM: d.zoom = d.smooth = true; break;
    case OPTION_OPENGL: d.openGl = true; break;
    case OPTION_HD: d.hd = true; break;
    case OPTION_DEPTH_16: d.depth = 16; break;
    case OPTION_DEPTH_24: d.depth = 24; break;
    case OPTION_TEST_MODE:
        line.testMode = true;
        d.fullScreen = d.zoom = d.smooth = false;
        d.depth = 16;
        break;
    case OPTION_HELP:
        line = {};
        line.showHelp = true;
        break;
    case OPTION_COUNT: break;
    }
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        for (const OptionRow& row : kOptions) {
            if (argv[i] != row.argument) continue;
            apply(row.option, line);
            if (line.showHelp) return line;
        }
    }
    return line;
}

void printHelp() {
    for (const OptionRow& row : kOptions)
        if (!row.help.empty()) std::printf("%.*s\n", int(row.help.size()), row.help.data());
}

}  // namespace app
