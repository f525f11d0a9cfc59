// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading parameter files: comments, spacing, signs and line endings as people write them,
// and every kind of mistake reported with the number of its line.

#include "sfx_params.h"

#include <gtest/gtest.h>

namespace {

TEST(SfxParams, ReadsAFileAsPeopleWriteIt) {
    const std::string text = "# a test sound\r\n\r\n"
                             "wave = noise      # trailing comment\r\n"
                             "  seed=4294967295\r\n"
                             "frequency = 0.25\r\n"
                             "slide = +0.5\r\n"
                             "delta_slide = -0.125\r\n"
                             "peak = -6 dB\r\n"
                             "decay = 0.5";  // no line end at the very end
    std::string error;
    const std::optional<sfx::Params> params = sfx::parseParams(text, error);
    ASSERT_TRUE(params) << error;
    EXPECT_EQ(params->wave, sfx::WAVE_NOISE);
    EXPECT_EQ(params->seed, 4294967295u);
    EXPECT_EQ(params->frequency, 0.25);
    EXPECT_EQ(params->slide, 0.5);
    EXPECT_EQ(params->deltaSlide, -0.125);
    EXPECT_EQ(params->peakLevel, -6);
    EXPECT_EQ(params->decay, 0.5);
}

TEST(SfxParams, MistakesAreReportedWithTheirLine) {
    struct Case {
        const char* text;
        const char* expected;  // the start of the message
    };
    const std::string head = "wave = square\nfrequency = 440 Hz\n";  // lines 1 and 2
    for (const Case& c : {
             Case{"colour = red", "line 3: unknown key \"colour\""},
             Case{"decay = 0.1\ndecay = 0.2", "line 4: decay is given twice"},
             Case{"decay 0.1", "line 3: expected \"key = value\""},
             Case{"decay =", "line 3: decay has no value"},
             Case{"decay = 0.1 0.2", "line 3: \"0.1 0.2\" is not a number"},
             Case{"decay = nan", "line 3: \"nan\" is not a number"},
             Case{"decay = 30 Hz", "line 3: decay takes no unit \"Hz\" (only ms)"},
             Case{"duty = 1.5", "line 3: duty 1.5 is out of range"},
             Case{"min_frequency = 1 Hz", "line 3: min_frequency 1 Hz is out of range"},
             Case{"arpeggio = 50 st", "line 3: arpeggio 50 st is out of range"},
             Case{"seed = -1", "line 3: seed must be a whole number"},
         }) {
        std::string error;
        EXPECT_FALSE(sfx::parseParams(head + c.text, error)) << c.text;
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << c.text << " gave: " << error;
    }
    std::string error;
    EXPECT_FALSE(sfx::parseParams("wave = triangle\nfrequency = 0.3", error));
    EXPECT_EQ(error, "line 1: unknown wave \"triangle\" (square, saw, sine or noise)");
    EXPECT_FALSE(sfx::parseParams("frequency = 0.3\ndecay = 0.2", error));
    EXPECT_EQ(error, "missing key \"wave\"");
}

}  // namespace
