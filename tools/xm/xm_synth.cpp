// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xm_synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace xm {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFullScale = 32767.0;
constexpr double kSilence = 0.001;  // a drum ends when its loudness falls below this
constexpr double kMaxDrumMs = 2000.0;
constexpr int kMinCycle = 8;
constexpr int kMaxCycle = 256;
constexpr int kTailFrames = 64;  // a drum's last frames fade to zero
constexpr int kPadHarmonics = 6;
constexpr int kPadDetune = 1;  // extra and missing cycles of the side voices

// The 15-bit shift register of the classic noise channel: bit 0 xor bit 1 feeds bit 14.
struct NoiseRegister {
    uint16_t bits = 1;
    double next() {
        const uint16_t feedback = uint16_t((bits ^ (bits >> 1)) & 1);
        bits = uint16_t((bits >> 1) | (feedback << 14));
        return (bits & 1) ? 1.0 : -1.0;
    }
};

// Relative note and finetune that make `rateAtC4` the playback rate of note C-4.
void tune(Sample& sample, double rateAtC4) {
    const double semitones = 12.0 * std::log2(rateAtC4 / kC4Rate);
    int whole = int(std::floor(semitones));
    int fine = int(std::lround((semitones - whole) * 128.0));
    if (fine >= 128) {
        ++whole;
        fine -= 128;
    }
    sample.relativeNote = int8_t(whole);
    sample.finetune = int8_t(fine);
}

// Scales to the wanted peak and stores as 16-bit frames.
void store(const std::vector<double>& wave, double amplitude, Sample& sample) {
    double peak = 0.0;
    for (double v : wave) peak = std::max(peak, std::fabs(v));
    const double gain = peak > 0.0 ? amplitude * kFullScale / peak : 0.0;
    sample.frames.resize(wave.size());
    for (size_t i = 0; i < wave.size(); ++i)
        sample.frames[i] =
            int16_t(std::lround(std::clamp(wave[i] * gain, -kFullScale, kFullScale)));
}

double cycleValue(const WaveRecipe& recipe, double phase) {
    switch (recipe.kind) {
    case WAVE_PULSE: return phase < recipe.duty ? 1.0 - recipe.duty : -recipe.duty;  // no DC
    case WAVE_TRIANGLE: return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case WAVE_SAW: return 1.0 - 2.0 * phase;
    case WAVE_SINE: return std::sin(2.0 * kPi * phase);
    default: return 0.0;
    }
}

std::vector<double> singleCycle(const WaveRecipe& recipe) {
    std::vector<double> wave(size_t(recipe.cycleFrames));
    for (int i = 0; i < recipe.cycleFrames; ++i)
        wave[size_t(i)] = cycleValue(recipe, double(i) / recipe.cycleFrames);
    return wave;
}

// Three soft voices (a few harmonics each) with a whole number of cycles in the loop, the
// side ones one cycle apart from the centre, so the loop joins without a seam.
std::vector<double> padLoop(const WaveRecipe& recipe) {
    const int frames = recipe.cycleFrames * kPadCycles;
    std::vector<double> wave(size_t(frames), 0.0);
    for (int voice = -kPadDetune; voice <= kPadDetune; voice += kPadDetune) {
        const double cycles = kPadCycles + voice;
        for (int i = 0; i < frames; ++i) {
            const double phase = cycles * i / frames;
            double v = 0.0;
            for (int k = 1; k <= kPadHarmonics; ++k)
                v += std::sin(2.0 * kPi * k * phase) / std::pow(double(k), 1.5);
            wave[size_t(i)] += v;
        }
    }
    return wave;
}

std::vector<double> drum(const WaveRecipe& recipe) {
    const double rate = kDrumRate;
    const double decay = recipe.decayMs / 1000.0;
    double seconds = recipe.lengthMs > 0.0 ? recipe.lengthMs / 1000.0 : -std::log(kSilence) * decay;
    seconds = std::min(seconds, kMaxDrumMs / 1000.0);
    const int frames = std::max(kTailFrames * 2, int(seconds * rate));
    std::vector<double> wave(static_cast<size_t>(frames));
    NoiseRegister noise;
    double phase = 0.0;
    double previousNoise = 0.0;
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        const double level = std::exp(-t / decay);
        double v = 0.0;
        switch (recipe.kind) {
        case WAVE_KICK: {
            const double hz = recipe.endHz + (recipe.startHz - recipe.endHz) *
                                                 std::exp(-t / (recipe.sweepMs / 1000.0));
            phase += hz / rate;
            v = std::sin(2.0 * kPi * phase) * level;
            break;
        }
        case WAVE_SNARE: {
            phase += recipe.toneHz * (1.0 - 0.3 * (1.0 - level)) / rate;
            const double body = std::sin(2.0 * kPi * phase) * level * level;
            v = recipe.noiseMix * noise.next() * level + (1.0 - recipe.noiseMix) * body;
            break;
        }
        case WAVE_HAT: {
            const double n = noise.next();
            v = (n - previousNoise) * 0.5 * level;  // the difference keeps the highs only
            previousNoise = n;
            break;
        }
        case WAVE_NOISE: v = noise.next() * level; break;
        default: break;
        }
        wave[size_t(i)] = v;
    }
    for (int i = 0; i < kTailFrames; ++i) wave[size_t(frames - 1 - i)] *= double(i) / kTailFrames;
    return wave;
}

}  // namespace

bool isDrum(WaveKind kind) {
    return kind == WAVE_KICK || kind == WAVE_SNARE || kind == WAVE_HAT || kind == WAVE_NOISE;
}

bool synthesize(const WaveRecipe& recipe, Sample& sample, std::string& error) {
    if (recipe.amplitude <= 0.0 || recipe.amplitude > 1.0) {
        error = "amplitude must be above 0 and at most 1";
        return false;
    }
    sample.sixteenBit = recipe.sixteenBit;
    if (isDrum(recipe.kind)) {
        if (recipe.decayMs <= 0.0 || recipe.startHz <= 0.0 || recipe.endHz <= 0.0 ||
            recipe.sweepMs <= 0.0 || recipe.toneHz <= 0.0 || recipe.noiseMix < 0.0 ||
            recipe.noiseMix > 1.0 || recipe.lengthMs < 0.0) {
            error = "drum parameters must be positive (noise mix 0..1)";
            return false;
        }
        store(drum(recipe), recipe.amplitude, sample);
        sample.loop = LOOP_NONE;
        tune(sample, kDrumRate);
        return true;
    }
    if (recipe.cycleFrames < kMinCycle || recipe.cycleFrames > kMaxCycle) {
        error = "cycle must be 8..256 frames";
        return false;
    }
    if (recipe.kind == WAVE_PULSE && (recipe.duty <= 0.0 || recipe.duty >= 1.0)) {
        error = "pulse duty must lie between 0 and 100 percent";
        return false;
    }
    store(recipe.kind == WAVE_PAD ? padLoop(recipe) : singleCycle(recipe), recipe.amplitude,
          sample);
    sample.loop = LOOP_FORWARD;
    sample.loopStart = 0;
    sample.loopLength = uint32_t(sample.frames.size());
    tune(sample, kMiddleC * recipe.cycleFrames);
    return true;
}

}  // namespace xm
