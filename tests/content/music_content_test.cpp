// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every module the game asks for is in data/music.zda and plays through libmodplug the way
// the music player drives it: loaded from the archive, mixed at 16 bits, 2 channels,
// 22050 Hz with linear resampling and the default mixing flags, master volume 128, played
// once (loop count 0) to its end. Each must last as long as its use needs, sound all the
// way through, stay below full scale, end where libmodplug says it ends, and start again
// the same way after the rewind that repeats it.

#include "archive/archive.h"
#include "support/test_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <libmodplug/modplug.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kChannels = 2;
constexpr int kMasterVolume = 128;  // the game's default music volume
constexpr int kDefaultMixFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION;
constexpr int kFilterSettleFrames = 64;  // the noise filter forgets an earlier song by then
constexpr int kChunkBytes = 4096;        // one mixing buffer of the music hook
constexpr int kPeakLimit = 31000;        // about -0.5 dBFS
constexpr int kQuietWindowFrames = 2 * kRate;
constexpr double kQuietRms = 60.0;       // below this a two-second stretch counts as silent
constexpr double kLengthSlack = 1.5;     // libmodplug counts whole ms per row, whole seconds in all
constexpr double kQuietestSong = -30.0;  // dBFS over the whole module

struct Track {
    const char* name;
    double shortest;  // seconds
    double longest;
};

// The game's module table, with the length each use needs; the game-over piece is short.
constexpr std::array<Track, 18> kTracks = {{
    {"turbochip", 45, 120},
    {"sceney", 20, 45},
    {"welcome_home", 45, 120},
    {"zennypocket", 45, 120},
    {"bollockNES", 45, 120},
    {"brewed", 45, 120},
    {"chipattack", 45, 120},
    {"fantastic_times", 45, 120},
    {"fast_quest", 45, 120},
    {"fuelship", 45, 120},
    {"her_cloud", 45, 120},
    {"mias_song", 45, 120},
    {"oldendays", 45, 120},
    {"picking_a_mushroom", 45, 120},
    {"reentry_overture", 45, 120},
    {"release", 45, 120},
    {"rocking_on_your_dime", 45, 120},
    {"tired_tiger", 45, 120},
}};

// Names the case by its module in test output.
void PrintTo(const Track& track, std::ostream* out) { *out << track.name; }

double rms(const std::vector<int16_t>& sound, size_t from, size_t count) {
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i) sum += double(sound[i]) * sound[i];
    return std::sqrt(sum / double(count));
}

double dbfs(double level) { return 20.0 * std::log10(std::max(level, 1.0) / 32768.0); }

std::vector<int16_t> renderToEnd(ModPlugFile* module) {
    std::vector<int16_t> sound;
    std::vector<int16_t> chunk(kChunkBytes / 2);
    int got;
    while ((got = ModPlug_Read(module, chunk.data(), kChunkBytes)) > 0) {
        sound.insert(sound.end(), chunk.begin(), chunk.begin() + got / 2);
        if (got < kChunkBytes) break;
    }
    return sound;
}

class MusicModule : public ::testing::TestWithParam<Track> {
  protected:
    void SetUp() override {
        scratch.linkBuiltData();
        archive::openArchives();
    }
    void TearDown() override { archive::closeArchives(); }
    test_support::ScratchDirectory scratch;
};

TEST_P(MusicModule, PlaysThroughAtItsLengthAudiblyAndBelowFullScale) {
    const Track& track = GetParam();
    archive::ResourceBuffer buffer =
        archive::loadResource(archive::ARCHIVE_MUSIC, track.name, "xm");
    ASSERT_TRUE(buffer) << track.name << ".xm is missing from data/music.zda";

    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mFlags = kDefaultMixFlags;
    settings.mChannels = kChannels;
    settings.mBits = 16;
    settings.mFrequency = kRate;
    settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile* module = ModPlug_Load(buffer.bytes.get(), buffer.size);
    ASSERT_NE(module, nullptr) << track.name << " does not load";
    ModPlug_SetMasterVolume(module, kMasterVolume);

    const std::vector<int16_t> sound = renderToEnd(module);
    const size_t frames = sound.size() / kChannels;
    const double seconds = double(frames) / kRate;
    const double reported = ModPlug_GetLength(module) / 1000.0;
    int peak = 0;
    for (int16_t s : sound) peak = std::max(peak, std::abs(int(s)));
    std::printf("%-22s %6.2f s (libmodplug %3.0f s), peak %5.1f dBFS, rms %5.1f dBFS\n", track.name,
                seconds, reported, dbfs(peak), dbfs(rms(sound, 0, sound.size())));

    EXPECT_GE(seconds, track.shortest) << track.name;
    EXPECT_LE(seconds, track.longest) << track.name;
    EXPECT_NEAR(seconds, reported, kLengthSlack) << track.name;
    EXPECT_LT(peak, kPeakLimit) << track.name << " comes too close to clipping";
    EXPECT_GT(dbfs(rms(sound, 0, sound.size())), kQuietestSong) << track.name << " is too quiet";

    // Sound all the way through, the last stretch included: the end leads back into the
    // start without a silent gap of its own.
    const size_t window = size_t(kQuietWindowFrames) * kChannels;
    for (size_t at = 0; at + window <= sound.size(); at += window / 2)
        EXPECT_GT(rms(sound, at, window), kQuietRms)
            << track.name << " is silent around " << double(at) / kChannels / kRate << " s";
    ASSERT_GE(sound.size(), window);
    EXPECT_GT(rms(sound, sound.size() - window, window), kQuietRms) << track.name << " fades out";

    // The game repeats a module by rewinding it at its end: it starts again as before. The
    // player's noise filter is one for the whole process and still holds the end of the song,
    // so the first few samples may differ; from then on they are the same.
    ModPlug_Seek(module, 0);
    std::vector<int16_t> again(kRate * kChannels);
    ASSERT_EQ(ModPlug_Read(module, again.data(), int(again.size() * 2)), int(again.size() * 2));
    const size_t settled = size_t(kFilterSettleFrames) * kChannels;
    EXPECT_TRUE(std::equal(again.begin() + settled, again.end(), sound.begin() + settled))
        << track.name;
    ModPlug_Unload(module);
}

INSTANTIATE_TEST_SUITE_P(AllEighteen, MusicModule, ::testing::ValuesIn(kTracks),
                         [](const ::testing::TestParamInfo<Track>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
