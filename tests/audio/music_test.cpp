// The music player, driven by calling its hook directly with a buffer while the mixer's
// own calls are paused, on a tiny module built here: one pattern of eight rows that plays
// a looped square wave for about 3.5 mixing buffers. One test lets the real audio thread
// call the hook.

#include "audio/music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "archive/archive.h"
#include "audio/sound.h"
#include "persist/config.h"
#include "support/test_support.h"

namespace {

using audio::music;

constexpr int kBufferBytes = audio::kMixChunkSize * audio::kMixChannels * 2;
constexpr uint8_t kMarker = 0x5A;  // what the stream holds before a hook call
constexpr int kEnoughCalls = 1000;
constexpr int kTailBytes = 64;  // the module ends well before the end of its last buffer

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, uint16_t(v));
    put16(out, uint16_t(v >> 16));
}
void putText(std::vector<uint8_t>& out, const std::string& text, size_t size) {
    std::string padded = text;
    padded.resize(size, '\0');
    out.insert(out.end(), padded.begin(), padded.end());
}
void putZeros(std::vector<uint8_t>& out, size_t count) { out.insert(out.end(), count, 0); }

// An XM 1.04 file: 2 channels, one pattern of 8 rows at speed 1 and 125 BPM (20 ms a row),
// a C-4 on the first row, one instrument with one looped 8-bit square-wave sample.
std::vector<uint8_t> tinyModule() {
    constexpr int kRows = 8, kChannels = 2, kWaveFrames = 32;
    std::vector<uint8_t> xm;
    putText(xm, "Extended Module: ", 17);
    putText(xm, "hook test", 20);
    xm.push_back(0x1A);
    putText(xm, "trolk tests", 20);
    put16(xm, 0x0104);
    put32(xm, 276);      // header size
    put16(xm, 1);        // song length
    put16(xm, 0);        // restart position
    put16(xm, kChannels);
    put16(xm, 1);        // patterns
    put16(xm, 1);        // instruments
    put16(xm, 1);        // linear frequencies
    put16(xm, 1);        // speed
    put16(xm, 125);      // BPM
    putZeros(xm, 256);   // order table: pattern 0

    const std::vector<uint8_t> firstRow = {49, 1, 0x50, 0, 0, 0x80};  // C-4, full volume
    put32(xm, 9);
    xm.push_back(0);
    put16(xm, kRows);
    put16(xm, uint16_t(firstRow.size() + (kRows - 1) * kChannels));
    xm.insert(xm.end(), firstRow.begin(), firstRow.end());
    xm.insert(xm.end(), (kRows - 1) * kChannels, 0x80);

    put32(xm, 263);
    putText(xm, "square", 22);
    xm.push_back(0);
    put16(xm, 1);           // samples
    put32(xm, 40);          // sample header size
    putZeros(xm, 96 + 48 + 48 + 1 + 1 + 3 + 3 + 1 + 1 + 4 + 2 + 22);  // keymap .. reserved

    put32(xm, kWaveFrames);  // length in bytes (8-bit)
    put32(xm, 0);            // loop start
    put32(xm, kWaveFrames);  // loop length
    xm.push_back(64);        // volume
    xm.push_back(0);         // finetune
    xm.push_back(1);         // forward loop, 8-bit
    xm.push_back(128);       // panning
    xm.push_back(0);         // relative note
    xm.push_back(0);         // reserved
    putText(xm, "square", 22);
    int8_t previous = 0;
    for (int i = 0; i < kWaveFrames; ++i) {
        const int8_t value = i < kWaveFrames / 2 ? 90 : -90;
        xm.push_back(uint8_t(value - previous));
        previous = value;
    }
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
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(audio::openAudio(audio::kMixFrequency, audio::kMixFormat, audio::kMixChannels,
                                   audio::kMixChunkSize),
                  0)
            << SDL_GetError();
        pauseMixer(true);
        resetMusicState();
        persist::mixSettings = {};
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

    // One hook call on a buffer filled with the marker.
    void callHook() {
        std::fill(std::begin(stream), std::end(stream), kMarker);
        audio::musicHook(module, stream, kBufferBytes);
    }
    bool streamUntouched() const {
        return std::all_of(std::begin(stream), std::end(stream), [](uint8_t b) { return b == kMarker; });
    }
    // Calls the hook until it removes itself; the number of calls, or kEnoughCalls.
    int callsUntilUnhooked() {
        int calls = 0;
        while (hooked() && calls < kEnoughCalls) {
            callHook();
            ++calls;
        }
        return calls;
    }
    int volume() const { return music.currentVolume.load(); }

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

TEST_F(MusicTest, FadeOutEndsTheMusicWhenTheVolumeReachesZero) {
    audio::startMusic(module, audio::kPlayForever);
    callHook();
    audio::fadeOutMusic();
    EXPECT_EQ(volume(), 127);
    for (int call = 1; call < 127; ++call) callHook();
    EXPECT_EQ(volume(), 1);
    EXPECT_TRUE(hooked());
    callHook();
    EXPECT_EQ(volume(), 0);
    EXPECT_TRUE(streamUntouched());
    EXPECT_FALSE(hooked());
    EXPECT_EQ(music.currentModule.load(), nullptr);
}

TEST_F(MusicTest, AFadeOutTurnsAFadeInAroundAtOnce) {
    audio::startMusicFadeIn(module, audio::kPlayForever);
    for (int call = 0; call < 10; ++call) callHook();
    EXPECT_EQ(volume(), 11);
    audio::fadeOutMusic();
    callHook();
    EXPECT_EQ(volume(), 126);
}

TEST_F(MusicTest, RepeatsAsOftenAsAskedThenStopsByItself) {
    audio::startMusic(module, 1);
    const int callsPerPlay = callsUntilUnhooked();
    ASSERT_GE(callsPerPlay, 2);
    ASSERT_LT(callsPerPlay, kEnoughCalls);
    // Behind the end only silence: no second play sneaks into the last buffer.
    EXPECT_TRUE(std::all_of(std::end(stream) - kTailBytes, std::end(stream),
                            [](uint8_t b) { return b == 0 || b == kMarker; }));
    EXPECT_EQ(music.currentModule.load(), nullptr);

    for (int plays : {2, 3}) {
        audio::startMusic(module, plays);
        callHook();
        EXPECT_FALSE(streamUntouched()) << "the module renders into the stream";
        EXPECT_EQ(1 + callsUntilUnhooked(), plays * callsPerPlay) << plays << " plays";
        EXPECT_EQ(music.playsLeft.load(), 0);
    }

    audio::startMusic(module, audio::kPlayForever);
    for (int call = 0; call < 10 * callsPerPlay; ++call) callHook();
    EXPECT_TRUE(hooked());
    EXPECT_EQ(music.playsLeft.load(), audio::kPlayForever);
}

TEST_F(MusicTest, VolumeChangesReachOnlyTheCurrentModule) {
    audio::startMusic(module, audio::kPlayForever);
    audio::setMusicVolume(90);
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 90u);

    audio::startMusic(module, 1);
    callsUntilUnhooked();
    audio::setMusicVolume(40);  // no current module: nothing audible changes
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 90u);
    EXPECT_EQ(music.targetVolume.load(), 40);
    EXPECT_EQ(volume(), 40);
    audio::startMusic(module, 1);
    EXPECT_EQ(ModPlug_GetMasterVolume(module), 40u);
}

TEST_F(MusicTest, AtVolumeZeroNothingIsRenderedAndTheMusicEnds) {
    struct Case {
        const char* what;
        void (*start)(ModPlugFile*);
    } cases[] = {
        {"start", [](ModPlugFile* m) {
             audio::setMusicVolume(0);
             audio::startMusic(m, audio::kPlayForever);
         }},
        {"fade-in", [](ModPlugFile* m) {
             audio::setMusicVolume(0);
             audio::startMusicFadeIn(m, audio::kPlayForever);
         }},
        {"fade-out", [](ModPlugFile* m) {
             audio::setMusicVolume(0);
             audio::startMusic(m, audio::kPlayForever);
             audio::fadeOutMusic();
         }},
        {"turned down while playing", [](ModPlugFile* m) {
             audio::startMusic(m, audio::kPlayForever);
             audio::setMusicVolume(0);
         }},
    };
    for (const Case& c : cases) {
        resetMusicState();
        c.start(module);
        callHook();
        EXPECT_TRUE(streamUntouched()) << c.what;
        EXPECT_FALSE(hooked()) << c.what;
        EXPECT_EQ(volume(), 0) << c.what;
        EXPECT_EQ(music.currentModule.load(), nullptr) << c.what;
    }
}

TEST_F(MusicTest, StopMusicAfterTheHookEndedItselfStillReleases) {
    audio::startMusic(module, 1);
    callsUntilUnhooked();
    audio::stopMusic(module);
    module = nullptr;
    EXPECT_FALSE(hooked());
    audio::stopMusic(nullptr);
    audio::startMusic(nullptr, 1);
    audio::startMusicFadeIn(nullptr, 1);
    EXPECT_FALSE(hooked());
    EXPECT_EQ(volume(), audio::kMusicMaxVolume);
}

TEST_F(MusicTest, TheMixerCallsTheHookOnItsOwnThread) {
    audio::startMusicFadeIn(module, audio::kPlayForever);
    pauseMixer(false);
    for (int waited = 0; waited < 3000 && volume() < 4; waited += 10) SDL_Delay(10);
    EXPECT_GE(volume(), 4);
    audio::stopMusic(module);
    module = nullptr;
    EXPECT_FALSE(hooked());
}

TEST_F(MusicTest, MixingSettingsGoToLibmodplug) {
    persist::mixSettings = {persist::MIX_REVERB | persist::MIX_SURROUND, 3, 11, 44, 22, 33, 55, 6};
    audio::audioFormat.frequency = 44100;
    audio::audioFormat.channels = 1;
    audio::applyMixSettings();
    ModPlug_Settings s;
    ModPlug_GetSettings(&s);
    audio::audioFormat = {};
    persist::mixSettings = {};
    audio::applyMixSettings();
    EXPECT_EQ(s.mFlags, persist::MIX_REVERB | persist::MIX_SURROUND);
    EXPECT_EQ(s.mResamplingMode, 3);
    EXPECT_EQ(s.mReverbDepth, 11);
    EXPECT_EQ(s.mReverbDelay, 44);
    EXPECT_EQ(s.mBassAmount, 22);
    EXPECT_EQ(s.mBassRange, 33);
    EXPECT_EQ(s.mSurroundDepth, 55);
    EXPECT_EQ(s.mSurroundDelay, 6);
    EXPECT_EQ(s.mFrequency, 44100);
    EXPECT_EQ(s.mChannels, 1);
    EXPECT_EQ(s.mBits, 16);
}

TEST(LoadMusic, TakesModulesFromTheMusicArchive) {
    test_support::ScratchDirectory scratch;
    std::filesystem::create_directory("data");
    test_support::writeArchive("data/music.zda", {{"sceney.xm", tinyModule()}});
    archive::openArchives();
    music.playsLeft = 3;
    ModPlugFile* loaded = audio::loadMusic(audio::MUSIC_SCENEY);
    EXPECT_NE(loaded, nullptr);
    EXPECT_EQ(music.playsLeft.load(), audio::kPlayForever);
    EXPECT_EQ(audio::loadMusic(audio::MUSIC_TURBOCHIP), nullptr);
    EXPECT_EQ(audio::loadMusic(audio::MusicId(audio::kMusicCount)), nullptr);
    audio::stopMusic(loaded);
    archive::closeArchives();
}

}  // namespace
