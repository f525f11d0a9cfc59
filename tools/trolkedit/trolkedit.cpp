// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// trolkedit: the level editor, in a window of its own, drawn with the game's own code.
//
//   trolkedit [options] [LEVEL.lvl | NAME]
//
// LEVEL.lvl is a level text (a new one when there is no such file); NAME is a level of the
// game ("plan8"): NAME.lvl in the current folder when there is one, else the game's level text
// (saved as ./NAME.lvl when the game's folder of level texts cannot be written). Without
// either, a new level new.lvl (new2.lvl, ...) in the current folder. Options:
//   --data DIR      the game's folder: data/ with the archives, maps/ for the test map
//                   (default: the current folder when it holds data/, else the build's)
//   --levels DIR    the game's level texts (default: content/levels of the source tree)
//   --legend FILE   the shared legend of levels that have no legend.txt beside them
//                   (default: legend.txt in the folder of level texts)
//   --levelbot FILE the level bot the prover runs (default: levelbot beside trolkedit)
//   --style N       0 classic, 1 deluxe (default), 2 handheld
//   --scale N       1 or 2 (default): window pixels per level pixel in the map
//   --b24           24 bits per pixel instead of 16 for the game while playing
//   -h, --help      the usage lines on standard output
// The keys and the mouse are listed in window_input.cpp and on F1. A stop signal (SIGTERM,
// SIGINT) ends the editor at once; unsaved changes are lost then, as with a power cut.

#include "archive/archive.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "editor_window.h"
#include "persist/config.h"
#include "platform/input.h"
#include "platform/stop_signal.h"
#include "session.h"
#include "world/level.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kFrameMs = 16;
constexpr int kEffectVolumeDivisor = 6;  // as the game: effects at a sixth of the volume

struct Options {
    std::string level;
    std::string data;
    std::string levels = TROLKEDIT_LEVELS_DIR;
    std::string legend;
    std::string levelbot;
    int style = video::STYLE_DELUXE;
    int scale = 2;
    int depth = 16;
    bool help = false;
};

constexpr const char* kUsage =
    "usage: trolkedit [--data DIR] [--levels DIR] [--legend FILE] [--levelbot FILE]\n"
    "                 [--style 0|1|2] [--scale 1|2] [--b24] [LEVEL.lvl | NAME]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "trolkedit: %s\n", message.c_str());
    return 1;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) options.data = argv[++i];
        else if (arg == "--levels" && hasValue) options.levels = argv[++i];
        else if (arg == "--legend" && hasValue) options.legend = argv[++i];
        else if (arg == "--levelbot" && hasValue) options.levelbot = argv[++i];
        else if (arg == "--style" && hasValue) options.style = std::atoi(argv[++i]);
        else if (arg == "--scale" && hasValue) options.scale = std::atoi(argv[++i]);
        else if (arg == "--b24") options.depth = 24;
        else if (arg == "-h" || arg == "--help") options.help = true;
        else if (options.level.empty() && !arg.empty() && arg[0] != '-') options.level = arg;
        else return false;
    }
    return options.style >= video::STYLE_CLASSIC && options.style <= video::STYLE_HANDHELD &&
           (options.scale == 1 || options.scale == 2);
}

fs::path programFolder() {
    std::error_code ignored;
    return fs::read_symlink("/proc/self/exe", ignored).parent_path();
}

bool holdsData(const fs::path& folder) {
    std::error_code ignored;
    return fs::exists(folder / "data" / "gfx.zda", ignored);
}

// The game's folder: as given, else the current folder or the build folder when it holds the
// archives (trolkedit lives in build/tools).
std::string gameFolder(const Options& options) {
    if (!options.data.empty()) return options.data;
    if (holdsData(".")) return ".";
    const fs::path build = programFolder().parent_path();
    return holdsData(build) ? build.string() : ".";
}

std::string newLevelName() {
    std::error_code ignored;
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? "new.lvl" : "new" + std::to_string(n) + ".lvl";
        if (!fs::exists(name, ignored)) return name;
    }
}

std::string absolute(const std::string& path) {
    std::error_code ignored;
    return path.empty() ? path : fs::absolute(path, ignored).lexically_normal().string();
}

// The effects and the music for a play, when there is a sound device; silence otherwise.
void openSound() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 ||
        audio::openAudio(audio::kMixFrequency, audio::kMixFormat, audio::kMixChannels,
                         audio::kMixChunkSize) == -1)
        return;
    audio::allocateMixingChannels(audio::kMixingChannels);
    if (archive::archiveSlots[archive::ARCHIVE_SOUND].directory) audio::loadSounds();
    audio::setEffectVolume(persist::volume / kEffectVolumeDivisor);
    audio::setMusicVolume(persist::volume);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return usage();
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    trolkedit::Session session;
    trolkedit::SessionSettings& settings = session.settings;
    settings.startFolder = fs::current_path().string();
    trolkedit::LevelPlace place = trolkedit::placeOfLevel(
        options.level.empty() ? newLevelName() : options.level, options.levels);
    place.readPath = absolute(place.readPath);
    place.savePath = absolute(place.savePath);
    settings.sharedLegend =
        absolute(options.legend.empty() ? (fs::path(options.levels) / "legend.txt").string()
                                        : options.legend);
    settings.gameDir = absolute(gameFolder(options));
    settings.prover.levelbot = options.levelbot.empty() ? (programFolder() / "levelbot").string()
                                                        : absolute(options.levelbot);
    session.scale = options.scale;
    if (chdir(settings.gameDir.c_str()) != 0) return fail("cannot enter " + settings.gameDir);

    platform::catchStopSignals();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) return fail(std::string("no video: ") + SDL_GetError());
    persist::readConfig();  // the player's keys for a play; never written back
    platform::keyBindings = persist::keyBindings;
    trolkedit::openSession(session, place);
    if (!session.open) std::fprintf(stderr, "trolkedit: %s\n", session.problem.c_str());

    trolkedit::EditorWindow window;
    window.depth = options.depth;
    std::string error;
    if (!trolkedit::openEditorWindow(window, session, video::GraphicsStyle(options.style), error)) {
        SDL_Quit();
        return fail(error);
    }
    openSound();
    while (!session.quit && !platform::stopRequested()) {
        const uint32_t start = SDL_GetTicks();
        trolkedit::editorFrame(window, session);
        const uint32_t spent = SDL_GetTicks() - start;
        if (!window.play.active && spent < kFrameMs) SDL_Delay(kFrameMs - spent);
    }
    trolkedit::cancelProving(session.prover);
    trolkedit::closeEditorWindow(window);
    for (int id = 0; id < audio::kSoundCount; ++id) audio::freeSound(audio::SoundId(id));
    world::freeLevel();
    audio::closeAudio();
    SDL_Quit();
    return 0;
}
