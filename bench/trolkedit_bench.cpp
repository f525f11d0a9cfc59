// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// trolkedit_bench: what the level editor's model costs, on the largest level we ship.
//
//   trolkedit_bench [--levels DIR] [--levelbot PROGRAM]
//
// It measures loading a level text (reading, compiling, checking), saving it, an edit with its
// undo (each compiles and checks the level again), the counts and the palette; then the
// prover: a small level proved from start to end by the levelbot program, and one look at the
// prover (updateProver) while the bot works on the test map, which is what the editor's frame
// pays for it. Nothing here passes or fails.

#include "bench_stats.h"
#include "level_counts.h"
#include "level_edits.h"
#include "palette.h"
#include "prover.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int kSamples = 200;
constexpr int kProofs = 10;

std::string levelsDir = TROLKEDIT_BENCH_LEVELS;
std::string levelbot = TROLKEDIT_BENCH_LEVELBOT;

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

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--levels") == 0) levelsDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--levelbot") == 0) levelbot = argv[i + 1];
    }
    std::string pattern = (fs::temp_directory_path() / "trolkedit-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path scratch = pattern;
    modelTable(scratch);
    proverTable(scratch);
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return 0;
}
