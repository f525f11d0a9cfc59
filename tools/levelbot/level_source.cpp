// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Level bytes from level texts, level files and the maps archive.

#include "level_source.h"

#include "archive/archive.h"
#include "level_text.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace replay {

namespace {

bool readBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool fromArchive(const std::string& name, std::vector<uint8_t>& bytes) {
    archive::ResourceBuffer entry =
        archive::loadResource(archive::ARCHIVE_MAPS, name.c_str(), "bin");
    if (!entry) return false;
    bytes.assign(entry.bytes.get(), entry.bytes.get() + entry.size);
    return true;
}

}  // namespace

std::string levelNameOf(const std::string& level) { return fs::path(level).stem().string(); }

std::string sourceLevelPath(const std::string& name) {
    return std::string(LEVELBOT_SOURCE_DIR) + "/content/levels/" + name + ".lvl";
}

std::string replayDirectory() { return std::string(LEVELBOT_SOURCE_DIR) + "/content/replays"; }

bool levelBytesFromFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    if (fs::path(path).extension() == ".lvl") {
        std::string text;
        if (!level_text::readTextFile(path, text)) return error = "cannot read " + path, false;
        level_text::Diagnostics errors;
        bytes = level_text::compileWithSharedLegend(text, errors, false);
        if (!errors.empty()) {
            // Faults in the level's own lines come back under a stand-in name.
            level_text::Diagnostic first = errors.front();
            if (first.file == "<level>") first.file = path;
            return error = first.text(), false;
        }
        return true;
    }
    if (!readBytes(path, bytes)) return error = "cannot read " + path, false;
    return true;
}

bool levelBytesByName(const std::string& name, std::vector<uint8_t>& bytes, std::string& error) {
    const std::string source = sourceLevelPath(name);
    if (fs::exists(source)) return levelBytesFromFile(source, bytes, error);
    if (fromArchive(name, bytes)) return true;
    error = "no level named " + name + " (neither " + source + " nor an entry of data/maps.zda)";
    return false;
}

bool levelBytes(const std::string& level, std::vector<uint8_t>& bytes, std::string& error,
                bool archiveFirst) {
    const std::string extension = fs::path(level).extension().string();
    if (extension == ".lvl" || extension == ".bin") return levelBytesFromFile(level, bytes, error);
    if (archiveFirst && fromArchive(level, bytes)) return true;
    return levelBytesByName(level, bytes, error);
}

}  // namespace replay
