// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Helpers the tests share: a scratch working directory per test, child processes whose
// standard output and exit status are checked, small files and archives.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "zda_writer.h"

namespace test_support {

// Makes a fresh temporary directory the working directory; restores the old one and
// removes the scratch directory at the end.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Links ./data and ./maps to the ones the build made.
    void linkBuiltData() const;

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

struct ChildResult {
    int exitStatus = -1;  // -1 when the child did not exit normally
    std::string output;   // what it wrote to standard output
};

// Runs `body` in a forked child; a body that returns exits with status 0.
ChildResult runInChild(const std::function<void()>& body);
// Runs a program with arguments in the given directory, capturing standard output.
ChildResult runProgram(const std::vector<std::string>& argv, const std::filesystem::path& cwd);

std::filesystem::path buildDirectory();
std::filesystem::path sourceDirectory();

void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
void writeText(const std::filesystem::path& path, const std::string& text);
std::vector<uint8_t> readFile(const std::filesystem::path& path);
std::vector<uint8_t> bytesOf(const std::string& text);

// The level file bytes of a level text written with the shared legend; any compile error
// (and, with `check`, anything the level checker refuses) fails the test.
std::vector<uint8_t> compileLevelText(std::string_view text, bool check = true);

// Writes an archive of these entries with our archive writer.
void writeArchive(const std::filesystem::path& path, const std::vector<zda::PackEntry>& entries);

}  // namespace test_support
