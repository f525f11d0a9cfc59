// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The synthesizer: one voice (square, saw, sine or noise) shaped by an envelope, pitch
// slides, vibrato, up to two arpeggio jumps, duty sweep, periodic restarts, a resonant
// low-pass, a high-pass and a phaser, rendered at 44,100 Hz with 8 sub-samples per sample.
//
// Pitch is kept as a period in sub-samples, 100 / (knob^2 + 0.001), which the slide
// multiplies every sample; the sound ends when the envelope's decay ends, or earlier when a
// falling pitch passes the minimum pitch. Everything is deterministic: the only randomness
// is the noise, drawn from a generator seeded by the parameters.

#include <cstdint>
#include <vector>

#include "sfx_params.h"

namespace sfx {

constexpr int kRenderRate = 44100;        // samples per second the voice is rendered at
constexpr int kSubSamples = 8;            // voice steps per sample, averaged
constexpr double kStageSamples = 100000;  // samples of an envelope stage at knob 1
constexpr double kPeriodScale = 100;      // period in sub-samples = scale / (knob^2 + bias)
constexpr double kPeriodBias = 0.001;
constexpr double kShortestPeriod = 8;   // sub-samples: the pitch never goes past this
constexpr double kStepSamples = 20000;  // arpeggio delay and repeat period at knob 0 ...
constexpr double kStepMinimum = 32;     // ... plus this; at knob 1 only this
constexpr double kVibratoStep = 0.01;   // radians per sample of vibrato at speed knob 1
constexpr int kNoiseValues = 32;        // noise values per period
constexpr int kPhaserLength = 1024;     // sub-samples in the phaser's delay line

// The pitch knob of a frequency in Hz, and the frequency of a pitch knob.
double frequencyKnob(double hertz);
double knobFrequency(double knob);
// Samples of an envelope stage for a knob, and the knob for a number of samples.
int stageSamples(double knob);
double stageKnob(double samples);
// Samples until the arpeggio jump (or between restarts) for a knob, and back.
int stepSamples(double knob);
double stepKnob(double samples);
// Relative pitch after the arpeggio jump for a knob (2 = an octave up), and back.
double arpeggioRatio(double knob);
double arpeggioKnob(double ratio);
// Vibrato cycles per second for a speed knob, and back.
double vibratoHertz(double knob);
double vibratoKnob(double hertz);

// Renders the effect at kRenderRate; the level is not yet normalised.
std::vector<float> renderVoice(const Params& params);

}  // namespace sfx
