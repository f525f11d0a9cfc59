// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// sfxsynth: renders one effect's parameter file into the WAV file the game plays.
//
//   sfxsynth [--info] IN.sfx OUT.wav
//
// The voice is rendered at 44,100 Hz, brought down to 22,050 Hz, trimmed, faded and
// normalised, and written as 16-bit mono PCM. --info prints the length and the peak of the
// result on standard output. Errors are one line on standard error naming the file (and
// the line of the parameter file), exit status 1, and no output file.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "sfx_finish.h"
#include "sfx_params.h"
#include "sfx_synth.h"
#include "tool_files.h"
#include "wav_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int kOutputChannels = 1;

int fail(const std::string& message) {
    std::fprintf(stderr, "sfxsynth: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool info = argc > 1 && std::string(argv[1]) == "--info";
    if (info) ++first;
    if (argc - first != 2) return fail("usage: sfxsynth [--info] IN.sfx OUT.wav");
    const std::string input = argv[first];
    const std::string output = argv[first + 1];

    std::ifstream in(input, std::ios::binary);
    if (!in) return fail("cannot read " + input);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    std::string error;
    const std::optional<sfx::Params> params = sfx::parseParams(text, error);
    if (!params) return fail(input + ": " + error);
    const std::optional<std::vector<int16_t>> samples =
        sfx::finishSound(sfx::halveRate(sfx::renderVoice(*params)), params->peakLevel, error);
    if (!samples) return fail(input + ": " + error);
    if (!tool_files::writeFileReplacing(
            output, sfx::encodeWav(*samples, sfx::kOutputRate, kOutputChannels)))
        return fail("cannot write " + output);

    if (info) {
        int peak = 0;
        for (const int16_t sample : *samples) peak = std::max(peak, std::abs(int(sample)));
        std::printf("%s: %.3f s, peak %.1f dBFS\n", fs::path(output).filename().c_str(),
                    double(samples->size()) / sfx::kOutputRate,
                    20 * std::log10(peak / sfx::kFullScale));
    }
    return 0;
}
