// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// trolkrender: pictures of levels, drawn by the game's own code.
//
//   trolkrender [options] LEVEL -o OUT.png
//
// LEVEL is a level text (.lvl), a level file (.bin) or the name of a level in
// data/maps.zda. Options:
//   --data DIR     the folder holding data/ (default: the current folder)
//   --style N      0 classic, 1 deluxe (default), 2 handheld
//   --view X       one 320 x 240 picture with the view at world x X, as in play
//   --frame N      the frame count (water, blinking; default 200)
//   --scale N      enlarge every pixel N times (default 1)
//   --replay FILE  draw the way of a replay of this level over the whole level: the hero's
//                  centre frame by frame, a square at the start, a green ring at the exit,
//                  a red cross where it died or a white ring where the controls ran out;
//                  may be given several times, each way in its colour
// Without --view the whole level is drawn, every enemy at its marker.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "level_render.h"
#include "level_source.h"
#include "level_text.h"
#include "path_overlay.h"
#include "playback.h"
#include "png_file.h"
#include "replay.h"
#include "tool_files.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "trolkrender: %s\n", message.c_str());
    return 1;
}

// The level file bytes of a level text, a level file or a level of the maps archive.
bool levelBytes(const std::string& level, std::vector<uint8_t>& bytes, std::string& error) {
    const fs::path path(level);
    if (path.extension() == ".lvl") {
        std::vector<uint8_t> text;
        if (!tool_files::readFile(path, text)) return error = "cannot read " + level, false;
        level_text::Diagnostics errors;
        bytes = level_text::compileWithSharedLegend(
            std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), errors,
            false);
        if (!errors.empty()) return error = errors.front().text(), false;
        return true;
    }
    if (path.extension() == ".bin") {
        if (!tool_files::readFile(path, bytes)) return error = "cannot read " + level, false;
        return true;
    }
    archive::ResourceBuffer entry =
        archive::loadResource(archive::ARCHIVE_MAPS, level.c_str(), "bin");
    if (!entry) return error = "no level named " + level + " in data/maps.zda", false;
    bytes.assign(entry.bytes.get(), entry.bytes.get() + entry.size);
    return true;
}

level_render::Picture enlarge(const level_render::Picture& picture, int scale) {
    level_render::Picture big{picture.width * scale, picture.height * scale,
                              std::vector<uint8_t>(picture.rgb.size() * size_t(scale * scale))};
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            const uint8_t* p = &picture.rgb[size_t(3 * ((y / scale) * picture.width + x / scale))];
            big.set(x, y, p[0], p[1], p[2]);
        }
    return big;
}

int usage() {
    std::fprintf(stderr, "usage: trolkrender [--data DIR] [--style N] [--view X] [--frame N] "
                         "[--scale N] [--replay FILE]... LEVEL -o OUT.png\n");
    return 1;
}

// A way through the level, played from its replay file with the world rules.
struct Way {
    std::vector<std::pair<int32_t, int32_t>> boxes;
    level_render::PathEnd end = level_render::PATH_STOP;
};

bool playWay(const std::string& file, const std::string& level, const std::vector<uint8_t>& bytes,
             Way& way, std::string& error) {
    replay::Replay played;
    if (!replay::readReplayFile(file, played, error)) return false;
    // Levels given by file carry their name in the file name; a test map built as
    // maps/test.bin is still "test".
    if (played.level != replay::levelNameOf(level)) {
        error = file + " is a replay of " + played.level + ", not of " + level;
        return false;
    }
    const replay::LifeResult life =
        replay::playLife(bytes, played.startX, played.startY, played.frames(), true);
    if (!life.error.empty()) {
        error = file + ": " + life.error;
        return false;
    }
    for (const replay::PathPoint& point : life.path) way.boxes.push_back({point.x, point.y});
    way.end = life.finished() ? level_render::PATH_EXIT
              : life.died     ? level_render::PATH_DEATH
                              : level_render::PATH_STOP;
    std::printf("trolkrender: %s: %s\n", file.c_str(), life.summary().c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = ".", level, output;
    std::vector<std::string> replays;
    int style = 1, view = -1, frame = 200, scale = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) data = argv[++i];
        else if (arg == "--style" && hasValue) style = std::atoi(argv[++i]);
        else if (arg == "--view" && hasValue) view = std::atoi(argv[++i]);
        else if (arg == "--frame" && hasValue) frame = std::atoi(argv[++i]);
        else if (arg == "--scale" && hasValue) scale = std::atoi(argv[++i]);
        else if (arg == "--replay" && hasValue) replays.push_back(argv[++i]);
        else if (arg == "-o" && hasValue) output = argv[++i];
        else if (level.empty() && arg[0] != '-') level = arg;
        else return usage();
    }
    if (level.empty() || output.empty() || style < 0 || style > 2 || scale < 1) return usage();
    if (!replays.empty() && view >= 0) return usage();  // ways are drawn over the whole level

    // Level and output paths are taken as given; the data is found from the data folder.
    std::error_code ignored;
    if (fs::exists(level)) level = fs::absolute(level, ignored).string();
    for (std::string& file : replays) file = fs::absolute(file, ignored).string();
    output = fs::absolute(output, ignored).string();
    if (chdir(data.c_str()) != 0) return fail("cannot enter " + data);

    std::string error;
    if (!level_render::openGraphics(video::GraphicsStyle(style), error)) return fail(error);
    std::vector<uint8_t> bytes;
    if (!levelBytes(level, bytes, error)) return fail(error);
    if (!level_render::openLevel(bytes, error)) return fail(level + ": " + error);

    std::vector<Way> ways(replays.size());
    for (size_t i = 0; i < replays.size(); ++i)
        if (!playWay(replays[i], level, bytes, ways[i], error)) return fail(error);

    level_render::Picture picture = view >= 0 ? level_render::renderView(view, frame, 1, true)
                                              : level_render::renderOverview(frame);
    if (scale > 1) picture = enlarge(picture, scale);
    for (size_t i = 0; i < ways.size(); ++i)
        level_render::drawPath(picture, ways[i].boxes, ways[i].end, scale,
                               level_render::pathColour(int(i)));
    if (!png_file::writeRgb(output, picture.width, picture.height, picture.rgb.data()))
        return fail("cannot write " + output);
    return 0;
}
