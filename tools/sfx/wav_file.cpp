// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writing a WAV file byte by byte, every field little-endian whatever the machine.

#include "wav_file.h"

#include <string_view>

namespace sfx {

namespace {

constexpr uint32_t kFormatChunkSize = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint32_t kBytesPerSample = kBitsPerSample / 8;

void putTag(std::vector<uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

void put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, uint16_t(value & 0xFFFF));
    put16(out, uint16_t(value >> 16));
}

}  // namespace

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int sampleRate, int channels) {
    const uint32_t dataSize = uint32_t(samples.size()) * kBytesPerSample;
    const uint32_t blockAlign = uint32_t(channels) * kBytesPerSample;
    std::vector<uint8_t> out;
    out.reserve(kWavHeaderSize + dataSize);
    putTag(out, "RIFF");
    put32(out, kWavHeaderSize - 8 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, kFormatChunkSize);
    put16(out, kFormatPcm);
    put16(out, uint16_t(channels));
    put32(out, uint32_t(sampleRate));
    put32(out, uint32_t(sampleRate) * blockAlign);
    put16(out, uint16_t(blockAlign));
    put16(out, kBitsPerSample);
    putTag(out, "data");
    put32(out, dataSize);
    for (const int16_t sample : samples) put16(out, uint16_t(sample));
    return out;
}

}  // namespace sfx
