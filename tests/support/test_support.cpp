// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace test_support {

ScratchDirectory::ScratchDirectory() : previous_(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "trolk-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(path_, ignored);
}

void ScratchDirectory::linkBuiltData() const {
    fs::create_directory_symlink(buildDirectory() / "data", path_ / "data");
    fs::create_directory_symlink(buildDirectory() / "maps", path_ / "maps");
}

namespace {

ChildResult collect(int readEnd, pid_t child) {
    ChildResult result;
    char chunk[4096];
    ssize_t n;
    while ((n = read(readEnd, chunk, sizeof chunk)) > 0) result.output.append(chunk, size_t(n));
    close(readEnd);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

// Forks; the child sends its standard output into a pipe and runs `inChild`, which must not
// return. The parent collects the output and the exit status.
ChildResult forkWithOutputPipe(const std::function<void()>& inChild) {
    std::fflush(stdout);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[1]);
        inChild();
        _exit(127);
    }
    close(pipeEnds[1]);
    return collect(pipeEnds[0], child);
}

}  // namespace

ChildResult runInChild(const std::function<void()>& body) {
    return forkWithOutputPipe([&] {
        body();
        std::fflush(stdout);
        _exit(0);
    });
}

ChildResult runProgram(const std::vector<std::string>& argv, const fs::path& cwd) {
    return forkWithOutputPipe([&] {
        if (chdir(cwd.c_str()) != 0) _exit(127);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
    });
}

fs::path buildDirectory() {
    const char* dir = std::getenv("TROLK_BUILD_DIR");
    return dir ? fs::path(dir) : fs::current_path();
}

fs::path sourceDirectory() {
    const char* dir = std::getenv("TROLK_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::current_path();
}

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void writeText(const fs::path& path, const std::string& text) { writeFile(path, bytesOf(text)); }

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

void writeArchive(const fs::path& path, const std::vector<zda::PackEntry>& entries) {
    writeFile(path, zda::buildArchive(entries));
}

}  // namespace test_support
