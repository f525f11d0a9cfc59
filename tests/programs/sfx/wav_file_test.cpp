// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Our WAV files: every header field as the format defines it, samples little-endian.

#include "wav_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

uint32_t readLittle(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + size_t(i)];
    return value;
}

TEST(WavFile, HeaderFieldsAreExact) {
    const std::vector<int16_t> samples = {-1, 0x1234, -32768, 32767, 0, 7};
    for (const int channels : {1, 2}) {
        const int rate = 22050 * channels;  // two rates with the two channel counts
        const std::vector<uint8_t> file = sfx::encodeWav(samples, rate, channels);
        const uint32_t dataBytes = uint32_t(samples.size() * 2);
        ASSERT_EQ(file.size(), sfx::kWavHeaderSize + dataBytes);
        EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(readLittle(file, 4, 4), file.size() - 8);
        EXPECT_EQ(readLittle(file, 16, 4), 16u);  // size of the format chunk
        EXPECT_EQ(readLittle(file, 20, 2), 1u);   // PCM
        EXPECT_EQ(readLittle(file, 22, 2), uint32_t(channels));
        EXPECT_EQ(readLittle(file, 24, 4), uint32_t(rate));
        EXPECT_EQ(readLittle(file, 28, 4), uint32_t(rate * channels * 2));  // bytes per second
        EXPECT_EQ(readLittle(file, 32, 2), uint32_t(channels * 2));         // bytes per frame
        EXPECT_EQ(readLittle(file, 34, 2), 16u);                            // bits per sample
        EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
        EXPECT_EQ(readLittle(file, 40, 4), dataBytes);
        for (size_t i = 0; i < samples.size(); ++i)
            EXPECT_EQ(int16_t(readLittle(file, sfx::kWavHeaderSize + 2 * i, 2)), samples[i]);
    }
}

}  // namespace
