// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The voice as heard: pitch, envelope, slides, jumps, vibrato, duty, restarts, filters and
// the phaser, each measured on the rendered samples against what the parameters ask for.

#include "sfx_synth.h"

#include <gtest/gtest.h>

#include <cmath>

#include "signal_measures.h"

namespace {

using sfx::kRenderRate;
using sfx_test::paramsOf;
using sfx_test::pitchBetween;

std::vector<float> render(const std::string& text) { return sfx::renderVoice(paramsOf(text)); }

TEST(SynthVoice, EveryWaveSoundsAtTheAskedPitch) {
    for (const char* wave : {"sine", "square", "saw"}) {
        for (const double hertz : {110.0, 440.0, 1000.0, 2500.0}) {
            const std::vector<float> samples =
                render(std::string("wave = ") + wave + "\nfrequency = " + std::to_string(hertz) +
                       " Hz\nsustain = 300 ms\n");
            EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.05, 0.25), hertz, hertz * 0.005)
                << wave << " at " << hertz << " Hz";
        }
    }
}

TEST(SynthVoice, EnvelopeStagesLastTheirLengthAndShapeTheLevel) {
    const std::vector<float> samples =
        render("wave = square\nfrequency = 1000 Hz\nattack = 10 ms\nsustain = 50 ms\npunch = 0.5\n"
               "decay = 40 ms\n");
    // 10 + 50 + 40 ms at 44.1 samples per millisecond.
    ASSERT_EQ(samples.size(), size_t(kRenderRate / 10));

    const auto rms = [&](double from, double to) {
        return sfx_test::rmsBetween(samples, kRenderRate, from, to);
    };
    const double sustainStart = rms(0.010, 0.012);
    EXPECT_LT(rms(0.0, 0.002), sustainStart * 0.3);  // rising from silence
    // A punch of 0.5 starts the sustain at twice the level it ends at.
    EXPECT_NEAR(sustainStart / rms(0.058, 0.060), 2.0, 0.1);
    EXPECT_LT(rms(0.098, 0.100), rms(0.060, 0.062) * 0.1);  // falling to silence
}

TEST(SynthVoice, TheSeedDecidesTheNoise) {
    const std::string noise = "wave = noise\nfrequency = 2000 Hz\nsustain = 50 ms\nseed = ";
    const std::vector<float> first = render(noise + "7\n");
    EXPECT_EQ(render(noise + "7\n"), first);
    EXPECT_NE(render(noise + "8\n"), first);
}

TEST(SynthVoice, SlidesMoveThePitchTheWayTheyPointDownToTheMinimum) {
    struct Case {
        const char* slide;
        bool rises;
    };
    for (const Case& c : {Case{"slide = 0.2", true}, Case{"slide = -0.2", false},
                          Case{"slide = 0\ndelta_slide = 0.3", true},
                          Case{"slide = 0\ndelta_slide = -0.3", false}}) {
        const std::vector<float> samples =
            render(std::string("wave = sine\nfrequency = 400 Hz\nsustain = 400 ms\n") + c.slide);
        const double early = pitchBetween(samples, kRenderRate, 0.0, 0.05);
        const double late = pitchBetween(samples, kRenderRate, 0.35, 0.4);
        if (c.rises) EXPECT_GT(late, early * 1.1) << c.slide;
        else EXPECT_LT(late, early / 1.1) << c.slide;
    }

    // A falling pitch that passes the minimum ends the sound there, long before its envelope.
    const std::vector<float> ended =
        render("wave = sine\nfrequency = 800 Hz\nslide = -0.3\nmin_frequency = 400 Hz\n"
               "sustain = 1000 ms\n");
    EXPECT_LT(ended.size(), size_t(kRenderRate / 2));
    const double end = double(ended.size()) / kRenderRate;
    const double lastPitch = pitchBetween(ended, kRenderRate, end - 0.006, end);
    EXPECT_GE(lastPitch, 400 * 0.99);
    EXPECT_LT(lastPitch, 400 * 1.05);
}

TEST(SynthVoice, ArpeggioJumpsBySemitonesAtTheirTimes) {
    const std::vector<float> samples = render(
        "wave = sine\nfrequency = 440 Hz\nsustain = 300 ms\n"
        "arpeggio = 12 st\narpeggio_speed = 100 ms\narpeggio2 = -7 st\narpeggio2_speed = 200 ms\n");
    const double octave = 440 * 2.0;
    const double fifthBelowIt = octave * std::exp2(-7 / 12.0);
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.01, 0.095), 440, 2);
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.105, 0.195), octave, 4);
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.205, 0.29), fifthBelowIt, 3);
}

TEST(SynthVoice, VibratoSwingsThePitchAtItsRateAndDepth) {
    const std::vector<float> samples =
        render("wave = sine\nfrequency = 500 Hz\nsustain = 400 ms\nvibrato_depth = 0.1\n"
               "vibrato_speed = 6 Hz\n");
    // Depth 0.1 stretches the period by up to 5 %: longest a quarter of a vibrato cycle in
    // (1/24 s), shortest three quarters in, longest again one cycle (1/6 s) later.
    const auto pitchAt = [&](double time) {
        return pitchBetween(samples, kRenderRate, time - 0.004, time + 0.004);
    };
    EXPECT_NEAR(pitchAt(1 / 24.0), 500 / 1.05, 3);
    EXPECT_NEAR(pitchAt(3 / 24.0), 500 / 0.95, 3);
    EXPECT_NEAR(pitchAt(1 / 24.0 + 1 / 6.0), 500 / 1.05, 3);
}

TEST(SynthVoice, DutySetsTheShareOfTheCycleThatIsHigh) {
    for (const double duty : {0.0, 0.5, 0.8}) {
        const std::vector<float> samples = render(
            "wave = square\nfrequency = 200 Hz\nsustain = 200 ms\nduty = " + std::to_string(duty));
        int high = 0;
        for (const float sample : samples) high += sample > 0;
        // 0 is a square that is high half the time; 1 would be a pulse of nothing.
        EXPECT_NEAR(double(high) / double(samples.size()), 0.5 - duty / 2, 0.01) << duty;
    }
}

TEST(SynthVoice, RepeatRestartsThePitchAndTheArpeggio) {
    const std::vector<float> samples =
        render("wave = sine\nfrequency = 300 Hz\narpeggio = 12 st\narpeggio_speed = 30 ms\n"
               "repeat_speed = 60 ms\nsustain = 200 ms\n");
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.035, 0.058), 600, 3);
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.062, 0.088), 300, 2);
    EXPECT_NEAR(pitchBetween(samples, kRenderRate, 0.095, 0.118), 600, 3);
}

TEST(SynthVoice, FiltersShapeTheSpectrumOfNoise) {
    const std::string noise = "wave = noise\nfrequency = 3000 Hz\nsustain = 100 ms\nseed = 3\n";
    // Power in one band of frequencies over the power in another.
    const auto ratio = [](const std::vector<float>& samples, double lowA, double highA, double lowB,
                          double highB) {
        return sfx_test::bandPower(samples, kRenderRate, lowA, highA) /
               sfx_test::bandPower(samples, kRenderRate, lowB, highB);
    };
    const std::vector<float> plain = render(noise);
    // Plain noise is white: as much power per Hz low as high (a tone would put it all on
    // its harmonics).
    const double perHzLow = sfx_test::bandPower(plain, kRenderRate, 200, 1000) / 800;
    const double perHzHigh = sfx_test::bandPower(plain, kRenderRate, 6000, 10000) / 4000;
    EXPECT_NEAR(perHzHigh / perHzLow, 1, 0.5);
    // Low-pass 0.3 cuts at about 3 kHz and falls 12 dB per octave: 6-10 kHz is at least
    // 12 dB (16 times) further down than before, next to 200-1000 Hz.
    const std::vector<float> lowpassed = render(noise + "lowpass = 0.3\n");
    EXPECT_LT(ratio(lowpassed, 6000, 10000, 200, 1000), ratio(plain, 6000, 10000, 200, 1000) / 16);
    // With resonance it rings at the cutoff instead of rolling off before it.
    const std::vector<float> ringing = render(noise + "lowpass = 0.3\nresonance = 0.9\n");
    EXPECT_GT(ratio(ringing, 2000, 3500, 200, 1000), ratio(lowpassed, 2000, 3500, 200, 1000) * 4);
    // High-pass 0.5 cuts at about 1.4 kHz, 6 dB per octave: below 400 Hz at least 10 dB.
    const std::vector<float> highpassed = render(noise + "highpass = 0.5\n");
    EXPECT_LT(ratio(highpassed, 100, 400, 4000, 8000), ratio(plain, 100, 400, 4000, 8000) / 10);
}

TEST(SynthVoice, PhaserDelayCancelsOrDoublesATone) {
    // 441 Hz is a period of 800 sub-samples; the phaser reaches 1020 sub-samples at knob 1.
    const std::string tone = "wave = sine\nfrequency = 441 Hz\nsustain = 100 ms\nphaser_offset = ";
    const std::vector<float> halfPeriod = render(tone + std::to_string(std::sqrt(400 / 1020.0)));
    const std::vector<float> wholePeriod = render(tone + std::to_string(std::sqrt(800 / 1020.0)));
    const double cancelled = sfx_test::rmsBetween(halfPeriod, kRenderRate, 0.03, 0.09);
    const double doubled = sfx_test::rmsBetween(wholePeriod, kRenderRate, 0.03, 0.09);
    EXPECT_NEAR(doubled, 2 * std::sqrt(0.5), 0.05);
    EXPECT_LT(cancelled, doubled * 0.05);
}

}  // namespace
