// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Compiles a song source (the text notation described in content/music/README.md) into
// an XM module: the song settings, the instruments with their synthesis parameters, the
// drum names, the phrases, the patterns written as one note list per channel, and the
// order list. Every fault is reported with the source name and line.

#include "xm_writer.h"

#include <string>

namespace xmsong {

// Fills `module` from the source; false with "<sourceName>:<line>: <reason>" otherwise.
bool compileSong(const std::string& source, const std::string& sourceName, xm::Module& module,
                 std::string& error);

// Playing time of the order list in seconds, from its rows, speed and bpm.
double songSeconds(const xm::Module& module);

}  // namespace xmsong
