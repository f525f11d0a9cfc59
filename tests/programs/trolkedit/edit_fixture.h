// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small level texts for the editor's tests, opened with the shared legend.

#include "level_document.h"
#include "level_edits.h"
#include "level_text.h"

#include <gtest/gtest.h>
#include <string>

namespace edit_fixture {

// A level of one block: `rows` are its 12 rows, top first.
inline std::string blockOf(const std::vector<std::string>& rows) {
    std::string text = "map\n";
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

// The document of a level text that would be saved at `path`; the test fails when it does
// not open.
inline trolkedit::Document open(const std::string& text, const std::string& path = "edited.lvl") {
    trolkedit::Document doc;
    std::string message;
    EXPECT_TRUE(trolkedit::openLevelText(text, path, level_text::sharedLegendPath(), doc, message))
        << message;
    return doc;
}

// One edit written as a row of a table: what, where, and with which character or number.
enum EditKind { PAINT, PAINT_CODE, ERASE, FILL, FILL_CODE, INSERT, DELETE };

struct Edit {
    EditKind kind;
    trolkedit::Cell from;
    trolkedit::Cell to{};  // FILL, FILL_CODE
    int number = 0;        // the code, or how many columns (INSERT and DELETE take from.column)
    char character = 0;
};

inline trolkedit::EditResult apply(trolkedit::Document& doc, const Edit& edit) {
    switch (edit.kind) {
    case PAINT: return trolkedit::paint(doc, edit.from, edit.character);
    case PAINT_CODE: return trolkedit::paintCode(doc, edit.from, edit.number);
    case ERASE: return trolkedit::erase(doc, edit.from);
    case FILL: return trolkedit::fill(doc, edit.from, edit.to, edit.character);
    case FILL_CODE: return trolkedit::fillCode(doc, edit.from, edit.to, edit.number);
    case INSERT: return trolkedit::insertColumns(doc, edit.from.column, edit.number);
    case DELETE: return trolkedit::deleteColumns(doc, edit.from.column, edit.number);
    }
    return {};
}

}  // namespace edit_fixture
