// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The instrument sounds of our music, synthesized into XM samples: single-cycle loops for
// the sustained chip voices (pulse waves of any duty, triangle, saw, sine), a long loop
// of three slightly detuned soft voices for the pad, and one-shot drums (a kick that
// falls in pitch, a snare of noise over a short tone, hats and cymbals of noise).
//
// Tuning: a looped voice is tuned so that note C-4 sounds 261.63 Hz; a drum plays at its
// own rendering rate when struck with C-4, higher notes play it faster. Every sample is
// scaled to the same peak (`amplitude`) so that loudness is set by the sample volume
// alone. Noise comes from a fixed shift register, so the same parameters always give the
// same sample.

#include "xm_writer.h"

#include <string>

namespace xm {

enum WaveKind : int {
    WAVE_PULSE,
    WAVE_TRIANGLE,
    WAVE_SAW,
    WAVE_SINE,
    WAVE_PAD,
    WAVE_KICK,
    WAVE_SNARE,
    WAVE_HAT,
    WAVE_NOISE,
};

constexpr double kMiddleC = 261.6256;  // Hz of C-4
constexpr double kC4Rate = 8363.0;     // sample rate that C-4 plays with relative note 0
constexpr double kDrumRate = 33452.0;  // drums are rendered two octaves above kC4Rate
constexpr int kPadCycles = 64;         // cycles of the centre voice in one pad loop

struct WaveRecipe {
    WaveKind kind = WAVE_PULSE;
    double duty = 0.5;       // pulse: part of the cycle spent high
    int cycleFrames = 32;    // looped voices: frames per cycle (8..256)
    double amplitude = 0.9;  // peak as a part of full scale
    bool sixteenBit = true;
    // One-shot drums.
    double startHz = 160.0;  // kick: pitch at the hit
    double endHz = 45.0;     // kick: pitch it falls to
    double sweepMs = 25.0;   // kick: time constant of the fall
    double decayMs = 120.0;  // time constant of the loudness
    double toneHz = 190.0;   // snare: pitch of the body
    double noiseMix = 0.7;   // snare: part of noise against the body
    double lengthMs = 0.0;   // 0: until the sound has died away
};

// True for the kinds that are one-shot drums rather than looped voices.
bool isDrum(WaveKind kind);
// The sample for a recipe; false with a reason when a parameter is out of range.
bool synthesize(const WaveRecipe& recipe, Sample& sample, std::string& error);

}  // namespace xm
