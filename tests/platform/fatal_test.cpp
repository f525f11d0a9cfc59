// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fatal.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

TEST(FatalError, PrintsOneLineOnStandardOutputAndExitsWithStatusOne) {
    const struct {
        const char* detail;
        const char* expected;
    } cases[] = {
        {"plan8", "Can't load file: plan8\n"},
        {nullptr, "Can't load file: unknown\n"},
        {"", "Can't load file: unknown\n"},
    };
    for (const auto& c : cases) {
        const test_support::ChildResult result =
            test_support::runInChild([&] { platform::fatalError("Can't load file", c.detail); });
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.output, c.expected);
    }
}

}  // namespace
