// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The checker's diagnostics point at a character of the text; the compiled level knows the
// character of every cell, so the cell is the one whose place matches.

#include "level_check.h"

namespace trolkedit {

namespace {

std::optional<Cell> cellAtPlace(const level_text::CompiledLevel& level, int line, int column) {
    for (size_t i = 0; i < level.places.size(); ++i)
        if (level.places[i][0] == line && level.places[i][1] == column)
            return Cell{int(i) / level_text::kRows, int(i) % level_text::kRows};
    return std::nullopt;
}

}  // namespace

std::vector<Finding> checkCells(const level_text::CompiledLevel& level) {
    level_text::Diagnostics diagnostics;
    level_text::checkLevel(level, diagnostics);
    std::vector<Finding> findings;
    for (const level_text::Diagnostic& diagnostic : diagnostics)
        findings.push_back(
            {cellAtPlace(level, diagnostic.line, diagnostic.column), diagnostic.message});
    return findings;
}

}  // namespace trolkedit
