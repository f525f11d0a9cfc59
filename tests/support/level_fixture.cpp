// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Level texts for tests. Kept apart from the rest of the support so that only the tests that
// compile levels link the world rules.

#include <gtest/gtest.h>

#include "level_text.h"
#include "support/test_support.h"

namespace test_support {

std::vector<uint8_t> compileLevelText(std::string_view text, bool check) {
    level_text::Diagnostics errors;
    std::vector<uint8_t> bytes = level_text::compileWithSharedLegend(text, errors, check);
    for (const level_text::Diagnostic& error : errors) ADD_FAILURE() << error.text();
    return bytes;
}

}  // namespace test_support
