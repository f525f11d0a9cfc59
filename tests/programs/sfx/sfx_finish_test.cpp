// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Finishing an effect: the rate halving keeps what we hear and lets nothing fold back, the
// ends are silent, the peak lands on the asked level, silence is cut, offsets go, and
// lengths outside the allowed range are refused.

#include "sfx_finish.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "signal_measures.h"

namespace {

constexpr int kInputRate = 2 * sfx::kOutputRate;

std::vector<float> tone(double hertz, double seconds, int rate, double level = 1) {
    std::vector<float> samples(size_t(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(level * std::sin(2 * std::numbers::pi * hertz * double(i) / rate));
    return samples;
}

double dbOf(double ratio) { return 20 * std::log10(ratio); }

TEST(SfxFinish, HalvingKeepsWhatWeHearAndRemovesWhatWouldFoldBack) {
    const double fullRms = std::sqrt(0.5);
    for (const double hertz : {100.0, 1000.0, 5000.0, 8000.0}) {
        const std::vector<float> halved = sfx::halveRate(tone(hertz, 0.2, kInputRate));
        ASSERT_EQ(halved.size(), size_t(0.2 * sfx::kOutputRate));
        const double rms = sfx_test::rmsBetween(halved, sfx::kOutputRate, 0.05, 0.15);
        EXPECT_NEAR(dbOf(rms / fullRms), 0, 0.5) << hertz << " Hz";
        EXPECT_NEAR(sfx_test::pitchBetween(halved, sfx::kOutputRate, 0.05, 0.15), hertz,
                    hertz * 0.002);
    }
    // Above 11,025 Hz a tone would come back as a false lower one.
    for (const double hertz : {11500.0, 14000.0, 18000.0, 21000.0}) {
        const std::vector<float> halved = sfx::halveRate(tone(hertz, 0.2, kInputRate));
        const double rms = sfx_test::rmsBetween(halved, sfx::kOutputRate, 0.05, 0.15);
        EXPECT_LT(dbOf(rms / fullRms), -60) << hertz << " Hz";
    }
}

TEST(SfxFinish, EndsAreSilentAndThePeakIsTheAskedLevel) {
    // A square at full level that starts and stops abruptly.
    std::vector<float> square(size_t(0.3 * sfx::kOutputRate));
    for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 25) % 2 ? 1.0f : -1.0f;
    for (const double level : {-1.0, -3.0, -6.0, -12.0}) {
        std::string error;
        const std::optional<std::vector<int16_t>> finished = sfx::finishSound(square, level, error);
        ASSERT_TRUE(finished) << error;
        const std::vector<int16_t>& out = *finished;
        EXPECT_EQ(out.front(), 0);
        EXPECT_EQ(out.back(), 0);
        int peak = 0;
        for (const int16_t sample : out) peak = std::max(peak, std::abs(int(sample)));
        EXPECT_NEAR(peak, sfx::kFullScale * std::pow(10.0, level / 20), 1) << level;
        EXPECT_LT(std::abs(out[2]), peak / 8);  // fading in, not jumping
        EXPECT_LT(std::abs(out[out.size() - 3]), peak / 8);
    }
}

TEST(SfxFinish, TrailingSilenceAndNearSilenceAreCut) {
    const double toneSeconds = 0.3;
    std::vector<float> samples = tone(440, toneSeconds, sfx::kOutputRate);
    samples.resize(size_t(0.8 * sfx::kOutputRate), 0.0f);  // silence ...
    for (size_t i = size_t(0.5 * sfx::kOutputRate); i < samples.size(); ++i)
        samples[i] = i % 2 ? 3e-4f : -3e-4f;  // ... and then a hiss 70 dB down
    std::string error;
    const std::optional<std::vector<int16_t>> finished = sfx::finishSound(samples, -3, error);
    ASSERT_TRUE(finished) << error;
    const double seconds = double(finished->size()) / sfx::kOutputRate;
    EXPECT_GE(seconds, toneSeconds - 0.001);
    EXPECT_LT(seconds, toneSeconds + 0.001);
}

TEST(SfxFinish, OffsetIsRemoved) {
    // A thin pulse from 0 up to 1 a fifth of the time: its mean is 0.2, not 0.
    std::vector<float> pulse(size_t(0.5 * sfx::kOutputRate));
    for (size_t i = 0; i < pulse.size(); ++i) pulse[i] = i % 100 < 20 ? 1.0f : 0.0f;
    std::string error;
    const std::optional<std::vector<int16_t>> finished = sfx::finishSound(pulse, -3, error);
    ASSERT_TRUE(finished) << error;
    double sum = 0;
    const size_t from = finished->size() / 4, to = finished->size() * 3 / 4;
    for (size_t i = from; i < to; ++i) sum += (*finished)[i];
    EXPECT_LT(std::fabs(sum / double(to - from)), sfx::kFullScale * 0.005);
}

TEST(SfxFinish, SilentTooShortAndTooLongSoundsAreRefused) {
    struct Case {
        double seconds;
        bool accepted;
    };
    for (const Case& c : {Case{0.03, false}, Case{sfx::kShortestSound + 0.005, true},
                          Case{sfx::kLongestSound - 0.005, true}, Case{1.6, false}}) {
        std::string error;
        const bool accepted =
            sfx::finishSound(tone(300, c.seconds, sfx::kOutputRate), -3, error).has_value();
        EXPECT_EQ(accepted, c.accepted) << c.seconds << " s";
        if (!c.accepted) {
            EXPECT_NE(error.find("lasts"), std::string::npos) << error;
        }
    }
    std::string error;
    EXPECT_FALSE(sfx::finishSound(std::vector<float>(22050, 0.0f), -3, error));
    EXPECT_NE(error.find("silent"), std::string::npos) << error;
}

}  // namespace
