// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// trolkedit_bench: what the level editor costs, on the largest level we ship.
//
//   trolkedit_bench [--levels DIR] [--levelbot PROGRAM] [--data DIR]
//
// It measures loading a level text (reading, compiling, checking), saving it, an edit with its
// undo (each compiles and checks the level again), the counts and the palette; then the
// prover: a small level proved from start to end by the levelbot program, and one look at the
// prover (updateProver) while the bot works on the test map, which is what the editor's frame
// pays for it. Last the editor's whole frame (the events, the session's tick, the drawing of
// the window and showing it) against the 16.7 ms of a frame at sixty frames a second: idle, at
// both scales, while the bot proves the largest level on the other core, with the ways of a
// proof over the map, and the frame that restarts the bot after an edit. The window is SDL's
// dummy driver unless SDL_VIDEODRIVER says otherwise (x11 under Xvfb measures a real window);
// the pictures come from DIR/data (the build folder). Nothing here passes or fails.

#include "bench_stats.h"
#include "editor_window.h"
#include "level_counts.h"
#include "level_edits.h"
#include "palette.h"
#include "prover.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSamples = 200;
constexpr int kProofs = 10;

std::string levelsDir = TROLKEDIT_BENCH_LEVELS;
std::string levelbot = TROLKEDIT_BENCH_LEVELBOT;
std::string dataDir = TROLKEDIT_BENCH_DATA;
constexpr int kFrameSamples = 600;  // ten seconds of frames
constexpr uint32_t kFrameMs = 16;   // the editor's frame

void row(const char* what, const bench::Summary& s) {
    std::printf("| %-52s | %9.1f | %9.1f | %9.1f | %5zu |\n", what, s.median, s.p10, s.p90,
                s.count);
}

bench::Summary measure(int samples, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        const auto start = bench::Clock::now();
        work();
        times.push_back(bench::microsecondsSince(start));
    }
    return bench::summarize(times);
}

trolkedit::Document openOrDie(const std::string& path) {
    trolkedit::Document doc;
    std::string message;
    if (!trolkedit::openLevel(path, doc, message)) {
        std::fprintf(stderr, "trolkedit_bench: %s\n", message.c_str());
        std::exit(1);
    }
    return doc;
}

void modelTable(const fs::path& scratch) {
    const std::string largest = levelsDir + "/planf.lvl";
    trolkedit::Document doc = openOrDie(largest);
    std::printf("Model, on planf.lvl (%d columns, %zu bytes), microseconds:\n\n", doc.level.width,
                trolkedit::documentText(doc).size());
    std::printf("| %-52s | %9s | %9s | %9s | %5s |\n", "", "median", "p10", "p90", "n");
    std::printf("|%s|---:|---:|---:|---:|\n", std::string(54, '-').c_str());
    row("open (read, compile, check)", measure(kSamples, [&] { openOrDie(largest); }));
    doc.path = (scratch / "planf.lvl").string();
    std::string message;
    row("save the text (a new file renamed over the old)",
        measure(kSamples, [&] { (void)trolkedit::saveLevel(doc, message); }));
    row("write the level file", measure(kSamples, [&] {
            (void)trolkedit::writeLevelFile(doc, (scratch / "planf.bin").string(), message);
        }));
    row("paint a cell and undo it (two compiles and checks)", measure(kSamples, [&] {
            trolkedit::paint(doc, {doc.level.width / 2, 0}, '*');
            trolkedit::undo(doc);
        }));
    row("insert a column and undo it", measure(kSamples, [&] {
            trolkedit::insertColumns(doc, doc.level.width / 2, 1);
            trolkedit::undo(doc);
        }));
    row("counts", measure(kSamples, [&] { trolkedit::countLevel(doc.level); }));
    row("palette", measure(kSamples, [&] { trolkedit::paletteOf(doc); }));
}

void waitForProof(trolkedit::Prover& prover, std::vector<double>* lookTimes) {
    while (prover.state == trolkedit::PROVER_RUNNING) {
        const auto start = bench::Clock::now();
        trolkedit::updateProver(prover);
        if (lookTimes) lookTimes->push_back(bench::microsecondsSince(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void proverTable(const fs::path& scratch) {
    std::string tiny = "map\n";
    for (int row = 0; row < 8; ++row) tiny += "..............................\n";
    tiny += ".........................[]...\n....*.....C....*.........()...\n";
    tiny += "##############################\n##############################\n";
    trolkedit::Document doc;
    std::string message;
    if (!trolkedit::openLevelText(tiny, (scratch / "walk.lvl").string(),
                                  level_text::sharedLegendPath(), doc, message))
        return;
    trolkedit::ProverSettings settings;
    settings.levelbot = levelbot;
    trolkedit::Prover prover;
    const bench::Summary whole = measure(kProofs, [&] {
        trolkedit::startProving(prover, doc, settings);
        waitForProof(prover, nullptr);
    });
    std::printf("\nProver, milliseconds:\n\n");
    std::printf("| %-52s | %9s | %9s | %9s | %5s |\n", "", "median", "p10", "p90", "n");
    std::printf("|%s|---:|---:|---:|---:|\n", std::string(54, '-').c_str());
    row("a 30-column level, two lives, start to end",
        {whole.median / 1000, whole.p10 / 1000, whole.p90 / 1000, whole.count});

    const bench::Summary restart =
        measure(kProofs, [&] { trolkedit::startProving(prover, doc, settings); });
    trolkedit::cancelProving(prover);
    row("start a proof while one runs (stop it, write, spawn)",
        {restart.median / 1000, restart.p10 / 1000, restart.p90 / 1000, restart.count});

    const trolkedit::Document testMap = openOrDie(levelsDir + "/test.lvl");
    std::vector<double> looks;
    const auto start = bench::Clock::now();
    trolkedit::startProving(prover, testMap, settings);
    waitForProof(prover, &looks);
    const double seconds = bench::microsecondsSince(start) / 1e6;
    std::printf("\nThe test map proved in %.1f s (%zu lives); one look at the prover while the "
                "bot worked, microseconds:\n\n",
                seconds, prover.lives.size());
    row("updateProver", bench::summarize(looks));
    std::sort(looks.begin(), looks.end());
    std::printf("\nThe longest look: %.1f microseconds.\n", looks.empty() ? 0.0 : looks.back());
}

// Microseconds of processor time this thread has used.
double threadMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

// The frames' times: as the clock on the wall saw them (what a frame takes, waiting for the X
// server and for a core included) and the editor's own processor time.
struct FrameTimes {
    std::vector<double> wall;
    std::vector<double> processor;
};

void frameRow(const char* what, FrameTimes times) {
    for (std::vector<double>* list : {&times.wall, &times.processor}) {
        std::sort(list->begin(), list->end());
        const bench::Summary s = bench::summarize(*list);
        std::printf("| %-52s | %7.2f | %7.2f | %7.2f | %7.2f | %7.2f | %5zu |\n",
                    list == &times.wall ? what : "    the editor's processor time", s.median / 1000,
                    s.p10 / 1000, s.p90 / 1000, bench::percentile(*list, 0.99) / 1000,
                    list->empty() ? 0.0 : list->back() / 1000, s.count);
    }
}

// One frame of the editor, timed.
void timedFrame(trolkedit::EditorWindow& window, trolkedit::Session& session, FrameTimes& times) {
    const auto start = bench::Clock::now();
    const double processor = threadMicroseconds();
    trolkedit::editorFrame(window, session);
    times.processor.push_back(threadMicroseconds() - processor);
    times.wall.push_back(bench::microsecondsSince(start));
}

// Runs the editor's frames as its main loop does, each padded to 16 ms; their own times.
FrameTimes editorFrames(trolkedit::EditorWindow& window, trolkedit::Session& session, int frames) {
    FrameTimes times;
    for (int i = 0; i < frames; ++i) {
        timedFrame(window, session, times);
        const double spent = times.wall.back();
        if (spent < kFrameMs * 1000.0)
            std::this_thread::sleep_for(std::chrono::microseconds(int(kFrameMs * 1000 - spent)));
    }
    return times;
}

void windowTable(const fs::path& scratch) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const fs::path here = fs::current_path();
    if (chdir(dataDir.c_str()) != 0 || SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "trolkedit_bench: no window in %s\n", dataDir.c_str());
        return;
    }
    trolkedit::Session session;
    session.settings.prover.levelbot = levelbot;
    const std::string largest = levelsDir + "/planf.lvl";
    trolkedit::openSession(session, {largest, (scratch / "planf.lvl").string(), {}});
    trolkedit::EditorWindow window;
    std::string error;
    if (!session.open ||
        !trolkedit::openEditorWindow(window, session, video::STYLE_DELUXE, error)) {
        std::fprintf(stderr, "trolkedit_bench: %s%s\n", session.problem.c_str(), error.c_str());
        return;
    }
    char driver[32] = "?";
    SDL_VideoDriverName(driver, sizeof driver);
    std::printf("\nThe editor's frame on planf.lvl, %d x %d window (SDL's %s driver), "
                "milliseconds of a 16.7 ms frame:\n\n",
                window.surface->w, window.surface->h, driver);
    std::printf("| %-52s | %7s | %7s | %7s | %7s | %7s | %5s |\n", "", "median", "p10", "p90",
                "p99", "max", "n");
    std::printf("|%s|---:|---:|---:|---:|---:|---:|\n", std::string(54, '-').c_str());
    session.viewX = 120 * trolkedit::kCellSize;
    frameRow("scale 2, nothing running", editorFrames(window, session, kFrameSamples));
    session.scale = 1;
    frameRow("scale 1, nothing running", editorFrames(window, session, kFrameSamples));
    session.scale = 2;
    session.grid = true;
    trolkedit::toggleProof(session);
    frameRow("scale 2, grid, the bot proving planf beside it",
             editorFrames(window, session, kFrameSamples));
    // An edit while the bot works: the frame after the pause restarts it.
    FrameTimes restarts;
    for (int i = 0; i < 10; ++i) {
        trolkedit::beginStroke(session, trolkedit::Stroke::Paint, {130 + i, 2});
        trolkedit::endStroke(session);
        trolkedit::tickSession(session, SDL_GetTicks());
        SDL_Delay(trolkedit::kProofRestartPauseMs + kFrameMs);
        timedFrame(window, session, restarts);
    }
    frameRow("the frame that restarts the bot after an edit", restarts);
    trolkedit::toggleProof(session);

    // The ways of a finished proof over the map: the test map's.
    trolkedit::openSession(session, {levelsDir + "/test.lvl", (scratch / "test.lvl").string(), {}});
    trolkedit::toggleProof(session);
    while (session.prover.state == trolkedit::PROVER_RUNNING) editorFrames(window, session, 1);
    frameRow("scale 2, the test map with the ways of its proof",
             editorFrames(window, session, kFrameSamples));
    trolkedit::cancelProving(session.prover);
    trolkedit::closeEditorWindow(window);
    SDL_Quit();
    if (chdir(here.c_str()) != 0) return;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--levels") == 0) levelsDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--levelbot") == 0) levelbot = argv[i + 1];
        else if (std::strcmp(argv[i], "--data") == 0) dataDir = argv[i + 1];
    }
    std::string pattern = (fs::temp_directory_path() / "trolkedit-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path scratch = pattern;
    modelTable(scratch);
    proverTable(scratch);
    windowTable(scratch);
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return 0;
}
