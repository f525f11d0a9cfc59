// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a .sfx file: one "key = value" per line, "#" starts a comment, blank lines are
// ignored. Each key may appear once; "wave" and "frequency" must appear. A value is a number,
// optionally followed by the unit its key allows; "wave" takes a wave name and "seed" a whole
// number. Values outside a knob's range are errors, not clamped, so a typing mistake shows.

#include "sfx_params.h"

#include <array>
#include <charconv>
#include <cmath>

#include "sfx_synth.h"

namespace sfx {

namespace {

enum KeyKind : int {
    KEY_WAVE,    // a wave name
    KEY_SEED,    // a whole number
    KEY_KNOB,    // a bare knob value
    KEY_PITCH,   // a knob, or Hz
    KEY_STAGE,   // a knob, or ms of an envelope stage
    KEY_STEP,    // a knob, or ms until the arpeggio jump / between restarts
    KEY_JUMP,    // a knob, or semitones
    KEY_WOBBLE,  // a knob, or vibrato cycles per second (Hz)
    KEY_LEVEL,   // dBFS, with or without "dB"
};

struct KeyRow {
    std::string_view name;
    KeyKind kind;
    double Params::*field;  // none for the wave and the seed
    double lowest;          // allowed range after conversion
    double highest;
};

constexpr int kKeyCount = 27;
constexpr std::array<KeyRow, kKeyCount> kKeys = {{
    {"wave", KEY_WAVE, nullptr, 0, 0},
    {"seed", KEY_SEED, nullptr, 0, 0},
    {"attack", KEY_STAGE, &Params::attack, 0, 1},
    {"sustain", KEY_STAGE, &Params::sustain, 0, 1},
    {"punch", KEY_KNOB, &Params::punch, 0, 1},
    {"decay", KEY_STAGE, &Params::decay, 0, 1},
    {"frequency", KEY_PITCH, &Params::frequency, 0, 1},
    {"min_frequency", KEY_PITCH, &Params::minFrequency, 0, 1},
    {"slide", KEY_KNOB, &Params::slide, -1, 1},
    {"delta_slide", KEY_KNOB, &Params::deltaSlide, -1, 1},
    {"vibrato_depth", KEY_KNOB, &Params::vibratoDepth, 0, 1},
    {"vibrato_speed", KEY_WOBBLE, &Params::vibratoSpeed, 0, 1},
    {"arpeggio", KEY_JUMP, &Params::arpeggio, -1, 1},
    {"arpeggio_speed", KEY_STEP, &Params::arpeggioSpeed, 0, 1},
    {"arpeggio2", KEY_JUMP, &Params::arpeggio2, -1, 1},
    {"arpeggio2_speed", KEY_STEP, &Params::arpeggio2Speed, 0, 1},
    {"duty", KEY_KNOB, &Params::duty, 0, 1},
    {"duty_sweep", KEY_KNOB, &Params::dutySweep, -1, 1},
    {"repeat_speed", KEY_STEP, &Params::repeatSpeed, 0, 1},
    {"phaser_offset", KEY_KNOB, &Params::phaserOffset, -1, 1},
    {"phaser_sweep", KEY_KNOB, &Params::phaserSweep, -1, 1},
    {"lowpass", KEY_KNOB, &Params::lowpass, 0, 1},
    {"lowpass_sweep", KEY_KNOB, &Params::lowpassSweep, -1, 1},
    {"resonance", KEY_KNOB, &Params::resonance, 0, 1},
    {"highpass", KEY_KNOB, &Params::highpass, 0, 1},
    {"highpass_sweep", KEY_KNOB, &Params::highpassSweep, -1, 1},
    {"peak", KEY_LEVEL, &Params::peakLevel, -12, -1},
}};

constexpr std::array<std::string_view, 4> kWaveNames = {"square", "saw", "sine", "noise"};

// The unit a key accepts after its number; empty when it takes bare numbers only.
std::string_view unitOf(KeyKind kind) {
    switch (kind) {
    case KEY_PITCH: return "Hz";
    case KEY_STAGE: return "ms";
    case KEY_STEP: return "ms";
    case KEY_JUMP: return "st";
    case KEY_WOBBLE: return "Hz";
    case KEY_LEVEL: return "dB";
    case KEY_WAVE:
    case KEY_SEED:
    case KEY_KNOB: break;
    }
    return {};
}

// Turns a value given in the key's unit into its knob value.
double fromUnit(KeyKind kind, double value) {
    constexpr double kSamplesPerMillisecond = kRenderRate / 1000.0;
    constexpr double kSemitonesPerOctave = 12;
    switch (kind) {
    case KEY_PITCH: return frequencyKnob(value);
    case KEY_STAGE: return stageKnob(value * kSamplesPerMillisecond);
    case KEY_STEP: return stepKnob(value * kSamplesPerMillisecond);
    case KEY_JUMP: return arpeggioKnob(std::exp2(value / kSemitonesPerOctave));
    case KEY_WOBBLE: return vibratoKnob(value);
    case KEY_LEVEL:
    case KEY_WAVE:
    case KEY_SEED:
    case KEY_KNOB: break;
    }
    return value;
}

std::string_view trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Splits "number [unit]"; false when the number is not one or more than a unit follows.
bool splitNumber(std::string_view text, double& number, std::string_view& unit) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, failure] = std::from_chars(begin, end, number);
    if (failure != std::errc() || !std::isfinite(number)) return false;
    unit = trim(std::string_view(stop, size_t(end - stop)));
    const bool looksNumeric =
        !unit.empty() && std::string_view("0123456789.+-").find(unit[0]) != std::string_view::npos;
    return !looksNumeric && unit.find_first_of(" \t") == std::string_view::npos;
}

// Reads the value of one key into `params`; false with `problem` set when it is not valid.
bool readValue(const KeyRow& key, std::string_view text, Params& params, std::string& problem) {
    if (key.kind == KEY_WAVE) {
        for (size_t wave = 0; wave < kWaveNames.size(); ++wave) {
            if (text == kWaveNames[wave]) {
                params.wave = Wave(wave);
                return true;
            }
        }
        problem = "unknown wave \"" + std::string(text) + "\" (square, saw, sine or noise)";
        return false;
    }
    if (key.kind == KEY_SEED) {
        const auto [stop, failure] =
            std::from_chars(text.data(), text.data() + text.size(), params.seed);
        if (failure == std::errc() && stop == text.data() + text.size()) return true;
        problem = "seed must be a whole number from 0 to 4294967295";
        return false;
    }
    double number = 0;
    std::string_view unit;
    if (!splitNumber(text, number, unit)) {
        problem = "\"" + std::string(text) + "\" is not a number";
        return false;
    }
    double value = number;
    if (!unit.empty()) {
        if (unit != unitOf(key.kind)) {
            const std::string allowed(unitOf(key.kind));
            problem = std::string(key.name) + " takes no unit \"" + std::string(unit) + "\"";
            if (!allowed.empty()) problem += " (only " + allowed + ")";
            return false;
        }
        value = fromUnit(key.kind, number);
    }
    if (!(value >= key.lowest && value <= key.highest)) {
        problem = std::string(key.name) + " " + std::string(text) + " is out of range";
        return false;
    }
    params.*key.field = value;
    return true;
}

}  // namespace

std::optional<Params> parseParams(std::string_view text, std::string& error) {
    Params params;
    std::array<bool, kKeyCount> seen{};
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;

        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = where + "expected \"key = value\"";
            return std::nullopt;
        }
        const std::string_view name = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        size_t row = 0;
        while (row < kKeys.size() && kKeys[row].name != name) ++row;
        if (row == kKeys.size()) {
            error = where + "unknown key \"" + std::string(name) + "\"";
            return std::nullopt;
        }
        if (seen[row]) {
            error = where + std::string(name) + " is given twice";
            return std::nullopt;
        }
        seen[row] = true;
        if (value.empty()) {
            error = where + std::string(name) + " has no value";
            return std::nullopt;
        }
        std::string problem;
        if (!readValue(kKeys[row], value, params, problem)) {
            error = where + problem;
            return std::nullopt;
        }
    }
    for (size_t row = 0; row < kKeys.size(); ++row) {
        const bool required = kKeys[row].name == "wave" || kKeys[row].name == "frequency";
        if (required && !seen[row]) {
            error = "missing key \"" + std::string(kKeys[row].name) + "\"";
            return std::nullopt;
        }
    }
    return params;
}

}  // namespace sfx
