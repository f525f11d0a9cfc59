// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The music player, its hook called directly with a buffer while the mixer's own calls are
// paused, on a tiny module built here (eight rows of a looped square wave, about seven
// mixing buffers long). One test lets the mixer's thread call the hook.

#include "audio/music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "archive/archive.h"
#include "audio/sound.h"
#include "persist/config.h"
#include "support/test_support.h"

namespace {

using audio::music;

constexpr int kBufferBytes = audio::kMixChunkSize * audio::kMixChannels * 2;
constexpr uint8_t kMarker = 0x5A;  // what the stream holds before each hook call
constexpr int kEnoughCalls = 1000;

// Appends a little-endian number of `size` bytes, or a zero-padded text.
void put(std::vector<uint8_t>& xm, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) xm.push_back(uint8_t(value >> (8 * i)));
}
void put(std::vector<uint8_t>& xm, const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) xm.push_back(i < text.size() ? uint8_t(text[i]) : 0);
}

// XM 1.04, 2 channels, one pattern of 8 rows at speed 1 and 125 BPM with a C-4 on the
// first row; one instrument with one forward-looped 8-bit square wave of 32 frames.
std::vector<uint8_t> tinyModule() {
    std::vector<uint8_t> xm;
    put(xm, "Extended Module: ", 17);
    put(xm, "hook test", 20);
    put(xm, 0x1A, 1);
    put(xm, "trolk tests", 20);
    put(xm, 0x0104, 2);  // version
    put(xm, 276, 4);     // header size
    // song length, restart, channels, patterns, instruments, flags, speed, BPM; the orders
    for (uint32_t field : {1u, 0u, 2u, 1u, 1u, 1u, 1u, 125u}) put(xm, field, 2);
    put(xm, "", 256);

    const std::vector<uint8_t> cells = {49, 1, 0x50, 0, 0, 0x80};  // C-4 at full volume
    put(xm, 9, 4);
    put(xm, 0, 1);
    put(xm, 8, 2);
    put(xm, uint32_t(cells.size() + 7 * 2), 2);
    xm.insert(xm.end(), cells.begin(), cells.end());
    xm.insert(xm.end(), 7 * 2, 0x80);  // seven empty rows

    put(xm, 263, 4);
    put(xm, "square", 22);
    put(xm, 0, 1);
    put(xm, 1, 2);                                       // one sample
    put(xm, 40, 4);                                      // sample header size
    put(xm, "", 96 + 48 + 48 + 2 + 6 + 2 + 4 + 2 + 22);  // keymap to the reserved bytes

    constexpr int kFrames = 32;
    put(xm, kFrames, 4);  // length, loop start, loop length in bytes
    put(xm, 0, 4);
    put(xm, kFrames, 4);
    for (uint32_t field : {64u, 0u, 1u, 128u, 0u, 0u}) put(xm, field, 1);  // forward loop
    put(xm, "square", 22);
    for (int i = 0; i < kFrames; ++i)  // delta-coded: +90 then -90
        xm.push_back(uint8_t(i == 0 ? 90 : i == kFrames / 2 ? -180 : 0));
    return xm;
}

void resetMusicState() {
    music.currentModule = nullptr;
    music.targetVolume = audio::kMusicMaxVolume;
    music.currentVolume = audio::kMusicMaxVolume;
    music.rampStep = 0;
    music.playsLeft = audio::kPlayForever;
}

class MusicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(audio::openAudio(audio::kMixFrequency, audio::kMixFormat, audio::kMixChannels,
                                   audio::kMixChunkSize),
                  0)
            << SDL_GetError();
        pauseMixer(true);
        resetMusicState();
        audio::applyMixSettings();
        const std::vector<uint8_t> bytes = tinyModule();
        module = ModPlug_Load(bytes.data(), int(bytes.size()));
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        audio::stopMusic(module);
        resetMusicState();
        pauseMixer(false);
        audio::closeAudio();
    }

    // Paused, the mixer stops calling the hook; the lock waits out a call under way.
    static void pauseMixer(bool paused) {
        SDL_PauseAudio(paused ? 1 : 0);
        SDL_LockAudio();
        SDL_UnlockAudio();
    }
    static bool hooked() { return Mix_GetMusicHookData() != nullptr; }
    static int volume() { return music.currentVolume.load(); }

    void callHook() {
        std::fill(std::begin(stream), std::end(stream), kMarker);
        audio::musicHook(module, stream, kBufferBytes);
    }
    bool streamHolds(uint8_t a, uint8_t b, int fromEnd = kBufferBytes) const {
        return std::all_of(std::end(stream) - fromEnd, std::end(stream),
                           [&](uint8_t x) { return x == a || x == b; });
    }
    // Calls the hook until it removes itself; the number of calls.
    int callsUntilUnhooked() {
        int calls = 0;
        for (; hooked() && calls < kEnoughCalls; ++calls) callHook();
        return calls;
    }

    ModPlugFile* module = nullptr;
    uint8_t stream[kBufferBytes];
};

TEST_F(MusicTest, FadeInClimbsOneStepPerBufferToTheTarget) {
    for (int target : {128, 50, 1}) {
        audio::setMusicVolume(target);
        audio::startMusicFadeIn(module, audio::kPlayForever);
        EXPECT_EQ(volume(), 1);
        for (int call = 1; call <= target + 5; ++call) {
            callHook();
            ASSERT_EQ(volume(), std::min(1 + call, target)) << "target " << target;
            ASSERT_EQ(int(ModPlug_GetMasterVolume(module)), volume());
        }
        EXPECT_TRUE(hooked());
    }
}

TEST_F(MusicTest, FadeOutTurnsAFadeInAroundAndEndsTheMusicAtZero) {
    audio::startMusicFadeIn(module, audio::kPlayForever);
    for (int call = 0; call < 10; ++call) callHook();
    EXPECT_EQ(volume(), 11);
    audio::fadeOutMusic();
    EXPECT_EQ(volume(), 127);
    for (int call = 1; call < 127; ++call) callHook();
    EXPECT_EQ(volume(), 1);
    EXPECT_TRUE(hooked());
    callHook();
    EXPECT_EQ(volume(), 0);
    EXPECT_TRUE(streamHolds(kMarker, kMarker));  // nothing rendered at 0
    EXPECT_FALSE(hooked());
    EXPECT_EQ(music.currentModule.load(), nullptr);
}

TEST_F(MusicTest, RepeatsAsOftenAsAskedThenStopsByItself) {
    audio::startMusic(module, 1);
    const int callsPerPlay = callsUntilUnhooked();
    ASSERT_GE(callsPerPlay, 2);
    ASSERT_LT(callsPerPlay, kEnoughCalls);
    EXPECT_TRUE(streamHolds(0, kMarker, 64));  // no second play sneaks into the last buffer
    EXPECT_EQ(music.currentModule.load(), nullptr);

    for (int plays : {2, 3}) {
        audio::startMusic(module, plays);
        callHook();
        EXPECT_FALSE(streamHolds(0, kMarker)) << "the module renders into the stream";
        EXPECT_EQ(1 + callsUntilUnhooked(), plays * callsPerPlay) << plays << " plays";
    }

    audio::startMusic(module, audio::kPlayForever);
    for (int call = 0; call < 10 * callsPerPlay; ++call) callHook();
    EXPECT_TRUE(hooked());

    audio::stopMusic(module);  // also after the hook has ended by itself
    module = nullptr;
    EXPECT_FALSE(hooked());
}

TEST_F(MusicTest, VolumeChangesReachOnlyTheCurrentModule) {
    audio::startMusic(module, audio::kPlayForever);
    audio::setMusicVolume(90);
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 90u);

    audio::startMusic(module, 1);
    callsUntilUnhooked();
    audio::setMusicVolume(40);  // no current module: nothing audible changes
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 90u);
    audio::startMusic(module, 1);
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 40u);

    // A level without music: its fade-in still sets the ramp up from 1, and the next start
    // carries on from there.
    audio::startMusic(nullptr, 1);
    EXPECT_EQ(volume(), 40);
    audio::startMusicFadeIn(nullptr, 1);
    EXPECT_EQ(volume(), 1);
    EXPECT_EQ(music.rampStep.load(), 1);
    audio::startMusic(module, audio::kPlayForever);
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 1u);
    callHook();
    EXPECT_EQ(volume(), 2);
}

// The hook runs under the audio lock; a change of the volume and of the ramp made while it
// runs would be seen half by it. Each change waits for the lock, held here by the test.
TEST_F(MusicTest, VolumeChangesWaitForTheAudioLock) {
    const struct {
        const char* what;
        void (*change)();
        int volumeAfter;
    } cases[] = {
        {"fade-out", [] { audio::fadeOutMusic(); }, 127},
        {"fade-in without a module", [] { audio::startMusicFadeIn(nullptr, 1); }, 1},
        {"new volume", [] { audio::setMusicVolume(60); }, 60},
    };
    for (const auto& c : cases) {
        resetMusicState();
        audio::startMusic(module, audio::kPlayForever);
        SDL_LockAudio();
        std::thread changer(c.change);
        bool changedMeanwhile = false;
        for (int waited = 0; waited < 100 && !changedMeanwhile; ++waited) {
            SDL_Delay(1);
            changedMeanwhile = volume() != 128;
        }
        SDL_UnlockAudio();
        changer.join();
        EXPECT_FALSE(changedMeanwhile) << c.what;
        EXPECT_EQ(volume(), c.volumeAfter) << c.what;
    }
}

TEST_F(MusicTest, AtVolumeZeroNothingIsRenderedAndTheMusicEnds) {
    // Volume 0 set before or after a plain start, a fade-in, or a start and a fade-out.
    for (int way = 0; way < 6; ++way) {
        resetMusicState();
        if (way < 3) audio::setMusicVolume(0);
        if (way % 3 == 1) audio::startMusicFadeIn(module, audio::kPlayForever);
        else audio::startMusic(module, audio::kPlayForever);
        if (way % 3 == 2) audio::fadeOutMusic();
        if (way >= 3) audio::setMusicVolume(0);
        callHook();
        EXPECT_TRUE(streamHolds(kMarker, kMarker)) << way;
        EXPECT_FALSE(hooked()) << way;
        EXPECT_EQ(volume(), 0) << way;
        EXPECT_EQ(music.currentModule.load(), nullptr) << way;
    }
}

TEST_F(MusicTest, TheMixerCallsTheHookOnItsOwnThread) {
    audio::startMusicFadeIn(module, audio::kPlayForever);
    pauseMixer(false);
    for (int waited = 0; waited < 3000 && volume() < 4; waited += 10) SDL_Delay(10);
    EXPECT_GE(volume(), 4);
}

TEST(LoadMusic, TakesModulesFromTheMusicArchive) {
    test_support::ScratchDirectory scratch;
    std::filesystem::create_directory("data");
    test_support::writeArchive("data/music.zda", {{"sceney.xm", tinyModule()}});
    archive::openArchives();
    music.playsLeft = 3;
    ModPlugFile* loaded = audio::loadMusic(audio::MUSIC_SCENEY);
    EXPECT_NE(loaded, nullptr);
    EXPECT_EQ(music.playsLeft.load(), -1);  // -1: repeat without end
    EXPECT_EQ(audio::loadMusic(audio::MUSIC_TURBOCHIP), nullptr);
    EXPECT_EQ(audio::loadMusic(audio::MusicId(18)), nullptr);  // eighteen modules: 0..17
    audio::stopMusic(loaded);
    archive::closeArchives();
}

}  // namespace
