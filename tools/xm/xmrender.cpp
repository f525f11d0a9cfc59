// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// xmrender: plays a module through libmodplug the way the game does and reports what came
// out, for checking music without listening to it.
//
//   xmrender MODULE.xm [OUT.wav [PLAYS]]
//
// Renders 16-bit stereo at 22050 Hz with linear resampling and master volume 128, once
// through (or PLAYS times, rewinding at each end as the game does), and prints the length,
// libmodplug's own length, the peak and the loudness. OUT.wav receives the sound.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <libmodplug/modplug.h>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;
constexpr int kMasterVolume = 128;
constexpr int kLoudnessWindow = kRate / 2;  // frames per loudness reading

void putU32(std::ofstream& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.put(char(v >> (8 * i)));
}
void putU16(std::ofstream& out, uint16_t v) {
    out.put(char(v));
    out.put(char(v >> 8));
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    const uint32_t bytes = uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    putU32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    putU32(out, 16);
    putU16(out, 1);
    putU16(out, kChannels);
    putU32(out, kRate);
    putU32(out, kRate * kChannels * 2);
    putU16(out, kChannels * 2);
    putU16(out, 16);
    out.write("data", 4);
    putU32(out, bytes);
    for (int16_t s : samples) putU16(out, uint16_t(s));
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "xmrender: usage: xmrender MODULE.xm [OUT.wav [PLAYS]]\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION;
    settings.mChannels = kChannels;
    settings.mBits = 16;
    settings.mFrequency = kRate;
    settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile* module = ModPlug_Load(file.data(), int(file.size()));
    if (!module) {
        std::fprintf(stderr, "xmrender: libmodplug cannot load %s\n", argv[1]);
        return 1;
    }
    ModPlug_SetMasterVolume(module, kMasterVolume);
    const int plays = argc == 4 ? std::max(1, std::atoi(argv[3])) : 1;

    std::vector<int16_t> sound;
    size_t firstPlayFrames = 0;
    for (int play = 0; play < plays; ++play) {
        ModPlug_Seek(module, 0);
        int16_t chunk[kChunkFrames * kChannels];
        int got;
        while ((got = ModPlug_Read(module, chunk, sizeof chunk)) > 0)
            sound.insert(sound.end(), chunk, chunk + got / 2);
        if (play == 0) firstPlayFrames = sound.size() / kChannels;
    }
    const int reportedMs = ModPlug_GetLength(module);
    ModPlug_Unload(module);

    int peak = 0;
    double sum = 0.0, loudest = 0.0, quietest = 1e9;
    for (size_t w = 0; w + kLoudnessWindow * kChannels <= sound.size();
         w += kLoudnessWindow * kChannels) {
        double windowSum = 0.0;
        for (size_t i = w; i < w + kLoudnessWindow * kChannels; ++i)
            windowSum += double(sound[i]) * sound[i];
        const double rms = std::sqrt(windowSum / (kLoudnessWindow * kChannels));
        loudest = std::max(loudest, rms);
        quietest = std::min(quietest, rms);
    }
    for (int16_t s : sound) {
        peak = std::max(peak, std::abs(int(s)));
        sum += double(s) * s;
    }
    auto db = [](double v) { return v > 0 ? 20.0 * std::log10(v / 32768.0) : -999.0; };
    std::printf("%s: %.2f s rendered, %.2f s by libmodplug, peak %d (%.1f dBFS), rms %.1f dBFS, "
                "half-second rms %.1f..%.1f dBFS\n",
                argv[1], double(firstPlayFrames) / kRate, reportedMs / 1000.0, peak, db(peak),
                db(std::sqrt(sum / std::max<size_t>(1, sound.size()))), db(quietest), db(loudest));
    if (argc >= 3 && !writeWav(argv[2], sound)) {
        std::fprintf(stderr, "xmrender: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
