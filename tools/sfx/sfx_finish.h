// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Turning a rendered voice into the samples of a game effect: half the sample rate (the
// mixer runs at 22,050 Hz and SDL converts only power-of-two ratios well), trailing silence
// cut, any steady offset removed (a narrow square pulse has one), a short fade at each end
// so the first and last samples are silent and nothing clicks, the peak set to the effect's
// level, 16 bits.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sfx {

constexpr int kOutputRate = 22050;       // samples per second in the effect files
constexpr double kShortestSound = 0.05;  // seconds an effect may last, at least ...
constexpr double kLongestSound = 1.5;    // ... and at most
constexpr double kFadeInSeconds = 0.002;
constexpr double kFadeOutSeconds = 0.010;
constexpr double kSilenceLevel = 0.001;  // trailing samples below this part of the peak go
constexpr double kFullScale = 32767;
constexpr double kOffsetCutoff = 20;  // Hz below which the offset remover takes all

// Removes the steady offset of samples at kOutputRate with a one-pole high-pass that leaves
// everything we can hear.
void removeOffset(std::vector<float>& samples);

// Halves the sample rate of 44,100 Hz samples: a windowed-sinc low-pass that keeps what lies
// below about 9 kHz and removes what would fold back from above 11,025 Hz, then every
// second sample.
std::vector<float> halveRate(const std::vector<float>& samples);

// Trims, removes the offset, fades and normalises samples at kOutputRate so that the
// loudest one is at `peakLevel` dBFS, and quantises them. Nothing, with `error` set, when
// the sound is silent or its length lies outside kShortestSound..kLongestSound.
std::optional<std::vector<int16_t>> finishSound(std::vector<float> samples, double peakLevel,
                                                std::string& error);

}  // namespace sfx
