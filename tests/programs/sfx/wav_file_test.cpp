// Our WAV files: every header field as the format defines it, and SDL reading them back.

#include "wav_file.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace {

uint32_t read32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint16_t read16(const std::vector<uint8_t>& bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

std::string tagAt(const std::vector<uint8_t>& bytes, size_t at) {
    return std::string(bytes.begin() + long(at), bytes.begin() + long(at) + 4);
}

TEST(WavFile, HeaderFieldsAreExact) {
    const std::vector<int16_t> samples = {-1, 0x1234, -32768, 32767, 0, 7};
    for (const int channels : {1, 2}) {
        for (const int rate : {11025, 22050, 44100}) {
            const std::vector<uint8_t> file = sfx::encodeWav(samples, rate, channels);
            const uint32_t dataBytes = uint32_t(samples.size() * 2);
            ASSERT_EQ(file.size(), sfx::kWavHeaderSize + dataBytes);
            EXPECT_EQ(tagAt(file, 0), "RIFF");
            EXPECT_EQ(read32(file, 4), file.size() - 8);
            EXPECT_EQ(tagAt(file, 8), "WAVE");
            EXPECT_EQ(tagAt(file, 12), "fmt ");
            EXPECT_EQ(read32(file, 16), 16u);  // size of the format chunk
            EXPECT_EQ(read16(file, 20), 1);    // PCM
            EXPECT_EQ(read16(file, 22), channels);
            EXPECT_EQ(read32(file, 24), uint32_t(rate));
            EXPECT_EQ(read32(file, 28), uint32_t(rate * channels * 2));  // bytes per second
            EXPECT_EQ(read16(file, 32), channels * 2);                   // bytes per frame
            EXPECT_EQ(read16(file, 34), 16);                             // bits per sample
            EXPECT_EQ(tagAt(file, 36), "data");
            EXPECT_EQ(read32(file, 40), dataBytes);
            for (size_t i = 0; i < samples.size(); ++i)
                EXPECT_EQ(int16_t(read16(file, sfx::kWavHeaderSize + 2 * i)), samples[i]);
        }
    }
}

TEST(WavFile, SdlReadsItBackUnchanged) {
    std::vector<int16_t> samples(1000);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(i * 67 - 30000);
    std::vector<uint8_t> file = sfx::encodeWav(samples, 22050, 1);

    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV_RW(SDL_RWFromMem(file.data(), int(file.size())), 1, &spec, &buffer,
                             &length),
              nullptr)
        << SDL_GetError();
    EXPECT_EQ(spec.freq, 22050);
    EXPECT_EQ(spec.format, AUDIO_S16LSB);
    EXPECT_EQ(spec.channels, 1);
    ASSERT_EQ(length, samples.size() * 2);
    std::vector<int16_t> decoded(samples.size());
    for (size_t i = 0; i < decoded.size(); ++i)
        decoded[i] = int16_t(buffer[2 * i] | buffer[2 * i + 1] << 8);
    EXPECT_EQ(decoded, samples);
    SDL_FreeWAV(buffer);
}

}  // namespace
