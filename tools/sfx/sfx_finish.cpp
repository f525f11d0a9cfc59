// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The finishing steps of an effect. The rate halving uses a Blackman-windowed sinc of 127
// taps cut at 10 kHz: its transition band runs from about 9 kHz to 11 kHz, and what lies
// above is at least 70 dB down, so the bright edges of the chip waves do not fold back as
// whistles. The fades are half cosines: they start and end exactly at zero with no corner.

#include "sfx_finish.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace sfx {

namespace {

constexpr int kTaps = 127;  // odd, so the filter delays by a whole sample
constexpr double kCutoffHertz = 10000;
constexpr double kInputRate = 2.0 * kOutputRate;

std::array<double, kTaps> designLowpass() {
    std::array<double, kTaps> taps{};
    constexpr int kCentre = kTaps / 2;
    constexpr double kPi = std::numbers::pi;
    const double cutoff = kCutoffHertz / kInputRate;  // cycles per input sample
    double sum = 0;
    for (int i = 0; i < kTaps; ++i) {
        const int k = i - kCentre;
        const double sinc = k == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * k) / (kPi * k);
        const double x = double(i) / (kTaps - 1);
        const double blackman = 0.42 - 0.5 * std::cos(2 * kPi * x) + 0.08 * std::cos(4 * kPi * x);
        taps[size_t(i)] = sinc * blackman;
        sum += taps[size_t(i)];
    }
    for (double& tap : taps) tap /= sum;  // a steady level passes unchanged
    return taps;
}

double peakOf(const std::vector<float>& samples) {
    double peak = 0;
    for (const float sample : samples) peak = std::max(peak, double(std::fabs(sample)));
    return peak;
}

// Gain of a half-cosine fade, `step` samples into a fade of `length` samples: 0 at step 0.
double fadeGain(int step, int length) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * step / length);
}

}  // namespace

std::vector<float> halveRate(const std::vector<float>& samples) {
    static const std::array<double, kTaps> taps = designLowpass();
    constexpr int kCentre = kTaps / 2;
    const int inputCount = int(samples.size());
    std::vector<float> output((samples.size() + 1) / 2);
    for (int n = 0; n < int(output.size()); ++n) {
        double sum = 0;
        for (int i = 0; i < kTaps; ++i) {
            const int at = 2 * n + i - kCentre;
            if (at >= 0 && at < inputCount) sum += taps[size_t(i)] * samples[size_t(at)];
        }
        output[size_t(n)] = float(sum);
    }
    return output;
}

void removeOffset(std::vector<float>& samples) {
    const double keep = 1 - 2 * std::numbers::pi * kOffsetCutoff / kOutputRate;
    double previousIn = 0, previousOut = 0;
    for (float& sample : samples) {
        const double out = sample - previousIn + keep * previousOut;
        previousIn = sample;
        previousOut = out;
        sample = float(out);
    }
}

std::optional<std::vector<int16_t>> finishSound(std::vector<float> samples, double peakLevel,
                                                std::string& error) {
    const double rawPeak = peakOf(samples);
    if (rawPeak == 0) {
        error = "the sound is silent";
        return std::nullopt;
    }
    size_t end = samples.size();
    while (end > 0 && std::fabs(samples[end - 1]) < rawPeak * kSilenceLevel) --end;
    samples.resize(end);
    // After the cut: the remover's slow settling would otherwise count as sound.
    removeOffset(samples);

    const double seconds = double(samples.size()) / kOutputRate;
    if (seconds < kShortestSound || seconds > kLongestSound) {
        char text[96];
        std::snprintf(text, sizeof text, "the sound lasts %.3f s (allowed %.2f to %.2f s)", seconds,
                      kShortestSound, kLongestSound);
        error = text;
        return std::nullopt;
    }

    const int fadeIn = int(std::lround(kFadeInSeconds * kOutputRate));
    const int fadeOut = int(std::lround(kFadeOutSeconds * kOutputRate));
    const int count = int(samples.size());
    for (int i = 0; i < fadeIn; ++i) samples[size_t(i)] *= float(fadeGain(i, fadeIn));
    for (int i = 0; i < fadeOut; ++i) samples[size_t(count - 1 - i)] *= float(fadeGain(i, fadeOut));

    const double scale = kFullScale * std::pow(10.0, peakLevel / 20) / peakOf(samples);
    std::vector<int16_t> output(samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        const double value = std::clamp(std::round(samples[i] * scale), -kFullScale, kFullScale);
        output[i] = int16_t(value);
    }
    return output;
}

}  // namespace sfx
