// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The parameters of one sound effect, as a .sfx file gives them, and the reader of that file.
//
// Every sound knob is a number in 0..1 (or -1..1 where signed), the synthesizer's own scale.
// A few knobs may also be written in a unit a person thinks in: a pitch in Hz, a time in ms,
// an arpeggio jump in semitones; the reader turns those into knob values at once, so the
// synthesizer only ever sees knobs. The file format is described in content/sound/README.md.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sfx {

enum Wave : int { WAVE_SQUARE = 0, WAVE_SAW = 1, WAVE_SINE = 2, WAVE_NOISE = 3 };

struct Params {
    Wave wave = WAVE_SQUARE;
    uint32_t seed = 1;  // picks the noise values
    double attack = 0;  // envelope stage knobs: a stage lasts knob^2 x 100,000 samples
    double sustain = 0;
    double punch = 0;  // extra level at the start of the sustain, 0..1
    double decay = 0;
    double frequency = 0;     // start pitch knob
    double minFrequency = 0;  // the sound ends when a falling pitch passes it; 0 = never
    double slide = 0;         // +- pitch slide
    double deltaSlide = 0;    // +- change of the slide
    double vibratoDepth = 0;
    double vibratoSpeed = 0;
    double arpeggio = 0;        // +- one pitch jump: up when positive, down when negative
    double arpeggioSpeed = 0;   // the higher, the sooner the jump comes
    double arpeggio2 = 0;       // +- a second jump, from the pitch reached by then
    double arpeggio2Speed = 0;  // when it comes, counted from the start like the first
    double duty = 0;            // square wave: 0 = half high, 1 = a thin pulse
    double dutySweep = 0;       // +-
    double repeatSpeed = 0;     // pitch, duty and arpeggio restart periodically; 0 = never
    double phaserOffset = 0;    // +-
    double phaserSweep = 0;     // +-
    double lowpass = 1;         // low-pass cutoff; 1 = off
    double lowpassSweep = 0;    // +-
    double resonance = 0;
    double highpass = 0;       // high-pass cutoff; 0 = off
    double highpassSweep = 0;  // +-
    double peakLevel = -3;     // dBFS of the loudest sample in the finished file
};

// Reads a .sfx text. On failure returns nothing and sets `error` to "line N: what is wrong"
// (or a message without a line for a key that is missing altogether).
std::optional<Params> parseParams(std::string_view text, std::string& error);

}  // namespace sfx
