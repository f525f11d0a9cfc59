// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// xmsong: compiles one song source of ours into an XM module.
//
//   xmsong SONG.song OUT.xm     writes the module, prints its channels, patterns and length
//
// Errors are one line on standard error ("file:line: reason") and exit status 1.

#include "song_compiler.h"
#include "tool_files.h"
#include "xm_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "xmsong: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return fail("usage: xmsong SONG.song OUT.xm");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return fail(std::string("cannot read ") + argv[1]);
    const std::string source((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());

    xm::Module module;
    std::string error;
    if (!xmsong::compileSong(source, fs::path(argv[1]).filename().string(), module, error))
        return fail(error);
    const std::vector<uint8_t> bytes = xm::writeModule(module);
    if (!tool_files::writeFileReplacing(argv[2], bytes))
        return fail(std::string("cannot write ") + argv[2]);
    std::printf("%s: %d channels, %zu patterns, %zu orders, %zu instruments, %.1f s, %zu bytes\n",
                argv[2], module.channels, module.patterns.size(), module.orders.size(),
                module.instruments.size(), xmsong::songSeconds(module), bytes.size());
    return 0;
}
