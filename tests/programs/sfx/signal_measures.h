// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Measurements the synthesizer tests make on rendered samples: pitch by zero crossings,
// level, and the power in a band of frequencies.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sfx_params.h"

namespace sfx_test {

// Parses parameter text that the test knows to be valid.
inline sfx::Params paramsOf(const std::string& text) {
    std::string error;
    const std::optional<sfx::Params> params = sfx::parseParams(text, error);
    if (!params) throw std::runtime_error("bad test parameters: " + error);
    return *params;
}

// The pitch in Hz between two times (s), from the spacing of the first and last rising
// zero crossings in that stretch.
inline double pitchBetween(const std::vector<float>& samples, int rate, double from, double to) {
    const size_t begin = size_t(from * rate);
    const size_t end = std::min(samples.size(), size_t(to * rate));
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = begin + 1; i < end; ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            // Where between the two samples the wave passes zero.
            const double at = double(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) * rate / (last - first);
}

inline double rmsBetween(const std::vector<float>& samples, int rate, double from, double to) {
    const size_t begin = size_t(from * rate);
    const size_t end = std::min(samples.size(), size_t(to * rate));
    double sum = 0;
    for (size_t i = begin; i < end; ++i) sum += double(samples[i]) * samples[i];
    return end > begin ? std::sqrt(sum / double(end - begin)) : 0;
}

// Power of the samples between two frequencies, by a plain Fourier sum over a Hann window.
inline double bandPower(const std::vector<float>& samples, int rate, double lowHz, double highHz) {
    const size_t count = std::min<size_t>(samples.size(), 4096);
    const int lowBin = int(lowHz * double(count) / rate);
    const int highBin = int(highHz * double(count) / rate);
    double power = 0;
    for (int bin = std::max(lowBin, 1); bin <= highBin; ++bin) {
        double re = 0, im = 0;
        for (size_t i = 0; i < count; ++i) {
            const double turn = 2 * std::numbers::pi * double(i) / double(count);
            const double window = 0.5 - 0.5 * std::cos(turn);
            const double angle = turn * bin;
            re += samples[i] * window * std::cos(angle);
            im -= samples[i] * window * std::sin(angle);
        }
        power += re * re + im * im;
    }
    return power;
}

}  // namespace sfx_test
