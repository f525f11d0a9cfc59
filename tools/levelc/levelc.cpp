// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// levelc: compiles level texts into level files and checks that the game can play them.
//
//   levelc [--legend FILE] [--no-check] -o OUTPUT.bin LEVEL.lvl   compile (and check) one level
//   levelc [--legend FILE] --check LEVEL.lvl...                    check levels, write nothing
//   levelc [--legend FILE] --text LEVEL.bin                        print a level file as text
//
// Without --legend, the file legend.txt beside the level is the shared legend when it exists.
// Errors go to standard error as "file:line:column: error: message"; the exit status is 1
// when anything was wrong.

#include "level_text.h"
#include "world/level.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: levelc [--legend FILE] [--no-check] -o OUTPUT.bin LEVEL.lvl\n"
    "       levelc [--legend FILE] --check LEVEL.lvl...\n"
    "       levelc [--legend FILE] --text LEVEL.bin\n";

struct Options {
    std::string legend;
    std::string output;
    bool check = true;
    bool checkOnly = false;
    bool text = false;
    std::vector<std::string> inputs;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--legend" || arg == "-o") && i + 1 < argc) {
            (arg == "-o" ? options.output : options.legend) = argv[++i];
        } else if (arg == "--no-check") {
            options.check = false;
        } else if (arg == "--check") {
            options.checkOnly = true;
        } else if (arg == "--text") {
            options.text = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return false;
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty()) return false;
    if (options.text || !options.checkOnly)
        return options.inputs.size() == 1 && (options.text || !options.output.empty());
    return true;
}

constexpr size_t kErrorsShown = 20;  // of one file; a wrong legend makes one for every cell

void printErrors(const level_text::Diagnostics& errors) {
    for (size_t i = 0; i < errors.size() && i < kErrorsShown; ++i)
        std::fprintf(stderr, "%s\n", errors[i].text().c_str());
    if (errors.size() > kErrorsShown)
        std::fprintf(stderr, "%s: %zu more errors\n", errors[0].file.c_str(),
                     errors.size() - kErrorsShown);
}

// The shared legend: the named file, or legend.txt beside the level when there is one.
// Without either, only the level's own legend lines and the enemies' characters are known,
// which `alone` tells.
bool loadLegend(const Options& options, const std::string& input, level_text::Legend& legend,
                level_text::Diagnostics& errors, bool* alone = nullptr) {
    std::string path = options.legend;
    if (path.empty()) {
        const fs::path beside = fs::path(input).parent_path() / "legend.txt";
        if (!fs::exists(beside)) {
            if (alone) *alone = true;
            return true;
        }
        path = beside.string();
    }
    std::string text;
    if (!level_text::readTextFile(path, text)) {
        std::fprintf(stderr, "%s: error: cannot read the legend file\n", path.c_str());
        return false;
    }
    return level_text::readLegend(text, path, legend, errors);
}

bool compileOne(const Options& options, const std::string& input,
                level_text::CompiledLevel& level) {
    level_text::Diagnostics errors;
    level_text::Legend legend;
    std::string text;
    bool alone = false;
    bool ok = loadLegend(options, input, legend, errors, &alone);
    if (ok && !level_text::readTextFile(input, text)) {
        std::fprintf(stderr, "%s: error: cannot read the level\n", input.c_str());
        return false;
    }
    ok = ok && level_text::compileLevel(text, input, legend, level, errors);
    ok = ok && (!options.check || level_text::checkLevel(level, errors));
    printErrors(errors);
    if (!ok && alone)
        std::fprintf(stderr,
                     "%s: note: no legend.txt beside the level and no --legend given, so only "
                     "the level's own legend lines and the enemies' characters are known\n",
                     input.c_str());
    return ok;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// Prints a level file in the text format: every code through the first character the legend
// gives it, codes without one through legend lines of their own.
bool printText(const Options& options) {
    const std::string& input = options.inputs[0];
    std::ifstream in(input, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    const world::LevelFault fault = world::checkLevelBytes(bytes.data(), bytes.size());
    if (!in.eof() && !in) {
        std::fprintf(stderr, "%s: error: cannot read the level file\n", input.c_str());
        return false;
    }
    if (fault != world::LEVEL_OK && fault != world::LEVEL_NARROW) {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(),
                     std::string(world::levelFaultText(fault)).c_str());
        return false;
    }
    level_text::Diagnostics errors;
    level_text::Legend legend;
    if (!loadLegend(options, input, legend, errors)) {
        printErrors(errors);
        return false;
    }
    std::array<char, 256> charOf{};
    for (int c = '~'; c > ' '; --c)
        if (legend.codeOf(char(c)) >= 0) charOf[size_t(legend.codeOf(char(c)))] = char(c);
    const int width = (bytes[0] | bytes[1] << 8) + 1;
    const uint8_t* cells = bytes.data() + 2;
    int nextFree = '!';
    for (int i = 0; i < width * level_text::kRows; ++i) {
        if (charOf[cells[i]]) continue;
        while (nextFree <= '~' &&
               (legend.codeOf(char(nextFree)) >= 0 || !level_text::isCellCharacter(char(nextFree))))
            ++nextFree;
        if (nextFree > '~') {
            std::fprintf(stderr, "%s: error: too many codes without a legend character\n",
                         input.c_str());
            return false;
        }
        charOf[cells[i]] = char(nextFree);
        std::printf("legend %c %d\n", nextFree, cells[i]);
        ++nextFree;
    }
    constexpr int kBlockWidth = 100;
    for (int first = 0; first < width; first += kBlockWidth) {
        std::printf("map\n");
        for (int row = 0; row < level_text::kRows; ++row) {
            for (int column = first; column < width && column < first + kBlockWidth; ++column)
                std::putchar(charOf[cells[column * level_text::kRows + row]]);
            std::putchar('\n');
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    if (options.text) return printText(options) ? 0 : 1;

    bool ok = true;
    for (const std::string& input : options.inputs) {
        level_text::CompiledLevel level;
        if (!compileOne(options, input, level)) {
            ok = false;
            continue;
        }
        if (!options.checkOnly && !writeFile(options.output, level_text::levelFileBytes(level))) {
            std::fprintf(stderr, "%s: error: cannot write the level file\n",
                         options.output.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
