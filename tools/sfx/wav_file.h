// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// 16-bit PCM WAV files as SDL and SDL_mixer load them: the plain 44-byte header (RIFF, a
// 16-byte "fmt " chunk, "data") followed by little-endian samples, channels interleaved.

#include <cstdint>
#include <vector>

namespace sfx {

constexpr int kWavHeaderSize = 44;

// The whole file for these samples (frames of `channels` samples each) at `sampleRate`.
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int sampleRate, int channels);

}  // namespace sfx
