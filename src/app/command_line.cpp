#include "app/command_line.h"

#include <cstdio>

namespace app {

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    video::DisplaySettings& d = line.display;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-w") {
            d.fullScreen = d.zoom = d.smooth = false;
        } else if (arg == "-fs") {
            d.fullScreen = d.zoom = true;
        } else if (arg == "-x2") {
            d.zoom = true;
            d.smooth = false;
        } else if (arg == "-aa") {
            d.zoom = d.smooth = true;
        } else if (arg == "-ogl") {
            d.openGl = true;
        } else if (arg == "-hd") {
            d.hd = true;
        } else if (arg == "-b16") {
            d.depth = 16;
        } else if (arg == "-b24") {
            d.depth = 24;
        } else if (arg == "-t") {
            line.testMode = true;
            d.fullScreen = d.zoom = d.smooth = false;
            d.depth = 16;
        } else if (arg == "-h") {
            CommandLine help;
            help.showHelp = true;
            return help;
        }
    }
    return line;
}

void printHelp() {
    for (std::string_view help : kHelpLines) std::printf("%.*s\n", int(help.size()), help.data());
}

}  // namespace app
