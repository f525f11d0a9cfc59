// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every effect the game asks for is in data/sound.zda and loads the way the game loads it:
// from the archive into memory, decoded by SDL_mixer opened at 22050 Hz, 16-bit, stereo.
// Each must be a 16-bit PCM file at the mixer's own rate (so nothing is resampled), last
// as long as its use allows, start and end in silence (no click), peak near -3 dBFS
// without clipping, and differ from all the others.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "audio/sound.h"
#include "support/test_support.h"

namespace {

constexpr int kRate = audio::kMixFrequency;
constexpr int kStereoFrameBytes = 4;  // what the mixer converts each effect to
constexpr int kWavHeaderBytes = 44;
constexpr double kLoudestPeak = -2.5;   // dBFS: the effects are made to peak at -3 ...
constexpr double kQuietestPeak = -7.0;  // ... or, for a few bright tones, at -6
constexpr int kSilentEnd = 100;         // |sample| at the first and last frame, at most

struct Effect {
    const char* name;
    double shortest;  // seconds
    double longest;
};

// The game's effect table, with the length each use allows.
constexpr std::array<Effect, audio::kSoundCount> kEffects = {{
    {"klonk", 0.05, 0.15},  // every menu step: over before the next one
    {"krack", 0.1, 0.5},
    {"aj", 0.15, 0.6},
    {"blubb", 0.1, 0.4},
    {"jipie", 0.2, 0.8},
    {"chew", 0.05, 0.2},  // items often lie in rows
    {"knirk", 0.2, 0.6},
    {"tada", 0.5, 1.2},  // a fanfare, longer than the cheer
    {"trdoor", 0.15, 0.6},
    {"boink", 0.15, 0.6},
    {"bat", 0.05, 0.2},
    {"klack", 0.05, 0.2},  // a sharp click
    {"splash", 0.25, 1.0},
}};

// Names the case by its effect in test output.
void PrintTo(const Effect& effect, std::ostream* out) { *out << effect.name; }

uint32_t read32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

uint16_t read16(const uint8_t* bytes) { return uint16_t(bytes[0] | bytes[1] << 8); }

double dbfs(int level) { return 20.0 * std::log10(level / 32768.0); }

class SoundContent : public ::testing::TestWithParam<Effect> {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(
            Mix_OpenAudio(kRate, audio::kMixFormat, audio::kMixChannels, audio::kMixChunkSize), 0)
            << SDL_GetError();
    }
    static void TearDownTestSuite() { Mix_CloseAudio(); }

    void SetUp() override {
        scratch.linkBuiltData();
        archive::openArchives();
    }
    void TearDown() override { archive::closeArchives(); }

    test_support::ScratchDirectory scratch;
};

TEST(SoundContentTable, NamesTheGamesEffectsInItsOrder) {
    for (int id = 0; id < audio::kSoundCount; ++id)
        EXPECT_EQ(kEffects[size_t(id)].name, audio::kSounds[size_t(id)].name);
}

TEST_P(SoundContent, LoadsAtTheMixersRateWithSilentEndsAndTheRightLevel) {
    const Effect& effect = GetParam();
    const archive::ResourceBuffer file =
        archive::loadResource(archive::ARCHIVE_SOUND, effect.name, "wav");
    ASSERT_TRUE(file) << "no " << effect.name << ".wav in data/sound.zda";
    ASSERT_GT(file.size, kWavHeaderBytes);

    const uint8_t* header = file.bytes.get();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(header), 4), "RIFF");
    EXPECT_EQ(read16(header + 20), 1);  // PCM
    EXPECT_EQ(read16(header + 22), 1);  // mono: the mixer copies it to both sides
    EXPECT_EQ(read32(header + 24), uint32_t(kRate));
    EXPECT_EQ(read16(header + 34), 16);  // bits per sample
    const uint32_t frames = read32(header + 40) / 2;

    SDL_RWops* stream = SDL_RWFromMem(file.bytes.get(), file.size);
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 0);
    SDL_FreeRW(stream);
    ASSERT_NE(chunk, nullptr) << SDL_GetError();

    // Same rate: one stereo frame for every frame of the file.
    EXPECT_EQ(chunk->alen, frames * kStereoFrameBytes);
    const double seconds = double(chunk->alen / kStereoFrameBytes) / kRate;
    EXPECT_GE(seconds, effect.shortest);
    EXPECT_LE(seconds, effect.longest);

    const size_t count = chunk->alen / 2;
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = int16_t(chunk->abuf[2 * i] | chunk->abuf[2 * i + 1] << 8);
    int peak = 0;
    for (const int16_t sample : samples) peak = std::max(peak, std::abs(int(sample)));
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_GE(dbfs(peak), kQuietestPeak);
    EXPECT_LE(dbfs(peak), kLoudestPeak);
    for (const size_t i : {size_t(0), size_t(1), count - 2, count - 1})
        EXPECT_LE(std::abs(int(samples[i])), kSilentEnd) << "sample " << i;
    Mix_FreeChunk(chunk);
}

INSTANTIATE_TEST_SUITE_P(Effects, SoundContent, ::testing::ValuesIn(kEffects),
                         [](const ::testing::TestParamInfo<Effect>& info) {
                             return std::string(info.param.name);
                         });

TEST(SoundContentSet, EveryEffectIsItsOwnSound) {
    test_support::ScratchDirectory scratch;
    scratch.linkBuiltData();
    archive::openArchives();
    std::vector<std::vector<uint8_t>> files;
    for (const Effect& effect : kEffects) {
        const archive::ResourceBuffer file =
            archive::loadResource(archive::ARCHIVE_SOUND, effect.name, "wav");
        ASSERT_TRUE(file) << effect.name;
        files.emplace_back(file.bytes.get(), file.bytes.get() + file.size);
    }
    archive::closeArchives();
    for (size_t a = 0; a < files.size(); ++a) {
        for (size_t b = a + 1; b < files.size(); ++b)
            EXPECT_NE(files[a], files[b]) << kEffects[a].name << " and " << kEffects[b].name;
    }
}

}  // namespace
