// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The voice, one sample at a time. Each sample first moves the slow controls (restart,
// arpeggio jump, slide, vibrato, duty, envelope, phaser delay, high-pass cutoff), then
// steps the oscillator 8 times through the low-pass, the high-pass and the phaser and
// averages the 8 results times the envelope. The oscillator keeps its place as a fraction
// of a cycle: a slide glides instead of stepping from one whole period to the next, and a
// jump of the arpeggio or the vibrato changes the pitch without breaking the wave.

#include "sfx_synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace sfx {

namespace {

constexpr double kSubSampleRate = double(kRenderRate) * kSubSamples;
constexpr double kSlideScale = 0.01;         // per-sample period factor at slide knob 1
constexpr double kDeltaSlideScale = 1e-6;    // per-sample change of that factor
constexpr double kVibratoScale = 0.5;        // period swing at depth knob 1
constexpr double kArpeggioUpScale = 0.9;     // period x (1 - knob^2 x this) when jumping up
constexpr double kArpeggioDownScale = 10;    // period x (1 + knob^2 x this) when jumping down
constexpr double kDutySweepScale = 5e-5;     // duty change per sample at sweep knob 1
constexpr double kSquareLevel = 0.5;         // the square wave swings +-0.5, the others +-1
constexpr double kLowpassScale = 0.1;        // cutoff coefficient = knob^3 x this
constexpr double kLowpassSweepScale = 1e-4;  // per-sub-sample cutoff factor at sweep knob 1
constexpr double kDampingScale = 5;          // low-pass damping = this / (1 + res^2 x 20) ...
constexpr double kResonanceScale = 20;
constexpr double kDampingBias = 0.01;  // ... x (bias + cutoff coefficient)
constexpr double kMostDamping = 0.8;
constexpr double kHighpassScale = 0.1;        // high-pass coefficient = knob^2 x this
constexpr double kHighpassSweepScale = 3e-4;  // per-sample coefficient factor at sweep knob 1
constexpr double kHighpassLowest = 1e-5;      // range of a sweeping high-pass coefficient
constexpr double kHighpassHighest = 0.1;
constexpr double kPhaserReach = 1020;  // delay in sub-samples at offset knob 1

double square(double x) { return x * x; }
double cube(double x) { return x * x * x; }
double withSign(double magnitude, double sign) { return sign < 0 ? -magnitude : magnitude; }

// SplitMix64: a tiny generator of our own, so a seed gives the same noise on every machine.
class NoiseSource {
  public:
    explicit NoiseSource(uint32_t seed) : state_(seed) {}
    // A value in -1..1.
    double next() {
        constexpr uint64_t kIncrement = 0x9E3779B97F4A7C15u;
        constexpr uint64_t kMixA = 0xBF58476D1CE4E5B9u;
        constexpr uint64_t kMixB = 0x94D049BB133111EBu;
        constexpr double kUnit = 1.0 / double(uint64_t(1) << 53);
        state_ += kIncrement;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * kMixA;
        z = (z ^ (z >> 27)) * kMixB;
        z ^= z >> 31;
        return double(z >> 11) * kUnit * 2 - 1;
    }

  private:
    uint64_t state_;
};

// The pitch controls that a restart sets back to their start.
struct Pitch {
    double period = 0;         // sub-samples per cycle, before vibrato
    double slide = 1;          // factor applied to the period every sample
    double duty = 0.5;         // part of a square cycle that is high
    int sinceStart = 0;        // samples since the start or the last restart
    bool jumped = false;       // the first arpeggio jump has happened
    bool jumpedAgain = false;  // the second one has
};

}  // namespace

double frequencyKnob(double hertz) {
    return std::sqrt(hertz * kPeriodScale / kSubSampleRate - kPeriodBias);
}

double knobFrequency(double knob) {
    return kSubSampleRate * (square(knob) + kPeriodBias) / kPeriodScale;
}

int stageSamples(double knob) { return int(std::lround(square(knob) * kStageSamples)); }

double stageKnob(double samples) { return std::sqrt(samples / kStageSamples); }

int stepSamples(double knob) {
    return int(std::lround(square(1 - knob) * kStepSamples + kStepMinimum));
}

double stepKnob(double samples) { return 1 - std::sqrt((samples - kStepMinimum) / kStepSamples); }

double arpeggioRatio(double knob) {
    if (knob >= 0) return 1 / (1 - square(knob) * kArpeggioUpScale);
    return 1 / (1 + square(knob) * kArpeggioDownScale);
}

double arpeggioKnob(double ratio) {
    if (ratio >= 1) return std::sqrt((1 - 1 / ratio) / kArpeggioUpScale);
    return -std::sqrt((1 / ratio - 1) / kArpeggioDownScale);
}

double vibratoHertz(double knob) {
    return square(knob) * kVibratoStep * kRenderRate / (2 * std::numbers::pi);
}

double vibratoKnob(double hertz) {
    return std::sqrt(hertz * 2 * std::numbers::pi / (kVibratoStep * kRenderRate));
}

std::vector<float> renderVoice(const Params& params) {
    Pitch start;
    start.period = kPeriodScale / (square(params.frequency) + kPeriodBias);
    start.slide = 1 - cube(params.slide) * kSlideScale;
    start.duty = 0.5 - params.duty * 0.5;
    const double longestPeriod = kPeriodScale / (square(params.minFrequency) + kPeriodBias);
    const double slideChange = -cube(params.deltaSlide) * kDeltaSlideScale;
    const double dutyChange = -params.dutySweep * kDutySweepScale;
    const double vibratoStep = square(params.vibratoSpeed) * kVibratoStep;
    const double vibratoSwing = params.vibratoDepth * kVibratoScale;
    const double jumpFactor = 1 / arpeggioRatio(params.arpeggio);
    const int jumpDelay = stepSamples(params.arpeggioSpeed);
    const double secondJumpFactor = 1 / arpeggioRatio(params.arpeggio2);
    const int secondJumpDelay = stepSamples(params.arpeggio2Speed);
    const int repeatPeriod = params.repeatSpeed > 0 ? stepSamples(params.repeatSpeed) : 0;
    const std::array<int, 3> stageLength = {
        stageSamples(params.attack), stageSamples(params.sustain), stageSamples(params.decay)};

    const bool lowpassOn = params.lowpass < 1;
    double lowpassCoefficient = cube(params.lowpass) * kLowpassScale;
    const double lowpassSweep = 1 + params.lowpassSweep * kLowpassSweepScale;
    const double damping =
        std::min(kDampingScale / (1 + square(params.resonance) * kResonanceScale) *
                     (kDampingBias + lowpassCoefficient),
                 kMostDamping);
    double highpassCoefficient = square(params.highpass) * kHighpassScale;
    const double highpassSweep = 1 + params.highpassSweep * kHighpassSweepScale;
    double phaserDelay = withSign(square(params.phaserOffset) * kPhaserReach, params.phaserOffset);
    const double phaserChange = withSign(square(params.phaserSweep), params.phaserSweep);

    NoiseSource noiseSource(params.seed);
    std::array<double, kNoiseValues> noise;
    for (double& value : noise) value = noiseSource.next();
    std::array<double, kPhaserLength> phaserLine{};
    int phaserWrite = 0;

    Pitch pitch = start;
    int sinceRepeat = 0;
    double vibratoPhase = 0;
    double phase = 0;  // how far into the current cycle, 0..1
    double lowpassOut = 0, lowpassVelocity = 0, highpassOut = 0;

    std::vector<float> samples;
    samples.reserve(size_t(stageLength[0] + stageLength[1] + stageLength[2]));
    for (int stage = 0; stage < 3; ++stage) {
        for (int time = 0; time < stageLength[stage]; ++time) {
            if (repeatPeriod > 0 && ++sinceRepeat >= repeatPeriod) {
                sinceRepeat = 0;
                pitch = start;
            }
            ++pitch.sinceStart;
            if (params.arpeggio != 0 && !pitch.jumped && pitch.sinceStart >= jumpDelay) {
                pitch.jumped = true;
                pitch.period *= jumpFactor;
            }
            if (params.arpeggio2 != 0 && !pitch.jumpedAgain &&
                pitch.sinceStart >= secondJumpDelay) {
                pitch.jumpedAgain = true;
                pitch.period *= secondJumpFactor;
            }
            pitch.slide += slideChange;
            pitch.period *= pitch.slide;
            if (pitch.period > longestPeriod) {
                if (params.minFrequency > 0) return samples;
                pitch.period = longestPeriod;
            }
            double heardPeriod = pitch.period;
            if (vibratoSwing > 0) {
                vibratoPhase += vibratoStep;
                heardPeriod *= 1 + std::sin(vibratoPhase) * vibratoSwing;
            }
            heardPeriod = std::max(heardPeriod, kShortestPeriod);
            pitch.duty = std::clamp(pitch.duty + dutyChange, 0.0, 0.5);

            const double progress = double(time) / stageLength[stage];
            double level = 1 - progress;
            if (stage == 0) level = progress;
            if (stage == 1) level = 1 + (1 - progress) * 2 * params.punch;

            phaserDelay += phaserChange;
            const int delay = std::min(int(std::abs(phaserDelay)), kPhaserLength - 1);
            if (params.highpassSweep != 0) {
                highpassCoefficient = std::clamp(highpassCoefficient * highpassSweep,
                                                 kHighpassLowest, kHighpassHighest);
            }

            double sum = 0;
            for (int sub = 0; sub < kSubSamples; ++sub) {
                phase += 1 / heardPeriod;
                if (phase >= 1) {
                    phase -= std::floor(phase);
                    if (params.wave == WAVE_NOISE) {
                        for (double& value : noise) value = noiseSource.next();
                    }
                }
                double wave = 0;
                switch (params.wave) {
                case WAVE_SQUARE: wave = phase < pitch.duty ? kSquareLevel : -kSquareLevel; break;
                case WAVE_SAW: wave = 1 - 2 * phase; break;
                case WAVE_SINE: wave = std::sin(2 * std::numbers::pi * phase); break;
                case WAVE_NOISE:
                    wave = noise[size_t(std::min(int(phase * kNoiseValues), kNoiseValues - 1))];
                    break;
                }

                const double lowpassBefore = lowpassOut;
                if (lowpassOn) {
                    lowpassCoefficient =
                        std::clamp(lowpassCoefficient * lowpassSweep, 0.0, kLowpassScale);
                    lowpassVelocity += (wave - lowpassOut) * lowpassCoefficient;
                    lowpassVelocity -= lowpassVelocity * damping;
                    lowpassOut += lowpassVelocity;
                } else {
                    lowpassOut = wave;
                }
                highpassOut += lowpassOut - lowpassBefore;
                highpassOut -= highpassOut * highpassCoefficient;

                phaserLine[size_t(phaserWrite)] = highpassOut;
                const int phaserRead = (phaserWrite - delay + kPhaserLength) % kPhaserLength;
                const double phased = highpassOut + phaserLine[size_t(phaserRead)];
                phaserWrite = (phaserWrite + 1) % kPhaserLength;
                sum += phased * level;
            }
            samples.push_back(float(sum / kSubSamples));
        }
    }
    return samples;
}

}  // namespace sfx
