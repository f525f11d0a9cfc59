// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Where the level bot, the replay checks and the path pictures get a level from: a level text
// (.lvl, compiled with the shared legend), a level file (.bin), or a level name, looked up as
// content/levels/<name>.lvl of the source tree or as an entry of data/maps.zda.

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// The level name an argument stands for: the file name without its folder and extension.
std::string levelNameOf(const std::string& level);
// content/levels/<name>.lvl of the source tree.
std::string sourceLevelPath(const std::string& name);
// content/replays of the source tree, where the replays are kept.
std::string replayDirectory();

// The level bytes of a .lvl or .bin file; false with a reason.
bool levelBytesFromFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
// The level bytes of a level name: the level text of the source tree when there is one, else
// the entry of ./data/maps.zda (the archives must be open). False with a reason.
bool levelBytesByName(const std::string& name, std::vector<uint8_t>& bytes, std::string& error);
// Either of the two, by what the argument looks like (a path ending in .lvl or .bin, or a
// name), with maps.zda tried first for a name when `archiveFirst` is set.
bool levelBytes(const std::string& level, std::vector<uint8_t>& bytes, std::string& error,
                bool archiveFirst = false);

}  // namespace replay
