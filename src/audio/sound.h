// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The thirteen sound effects, played fire-and-forget on the first free mixer channel, and
// the opening of the audio device. No SDL type shows here: the world rules play sounds
// through this header, and programs that must stay silent (the level bot, the renderers)
// link the silent implementation of it instead of the mixer one.

#include <array>
#include <cstdint>
#include <string_view>

namespace audio {

enum SoundId : int {
    SOUND_KLONK = 0,    // a block bumped from below; a menu step
    SOUND_KRACK = 1,    // a brick breaks
    SOUND_AJ = 2,       // the hero's cry
    SOUND_BLUBB = 3,    // a blob squashed
    SOUND_JIPIE = 4,    // a cheer: level done, menu confirmations
    SOUND_CHEW = 5,     // an item taken
    SOUND_KNIRK = 6,    // a checkpoint
    SOUND_TADA = 7,     // an extra life
    SOUND_TRDOOR = 8,   // a trap door shuts
    SOUND_BOINK = 9,    // a spike trap springs
    SOUND_BAT = 10,     // a bat stomped
    SOUND_KLACK = 11,   // a hat guy stomped; the exit door opens
    SOUND_SPLASH = 12,  // into the water
};

constexpr int kSoundCount = 13;

// Each effect and its entry in the sound archive (a WAV file of that base name).
struct SoundKind {
    SoundId id;
    std::string_view name;
};

constexpr std::array<SoundKind, kSoundCount> kSounds = {{
    {SOUND_KLONK, "klonk"},
    {SOUND_KRACK, "krack"},
    {SOUND_AJ, "aj"},
    {SOUND_BLUBB, "blubb"},
    {SOUND_JIPIE, "jipie"},
    {SOUND_CHEW, "chew"},
    {SOUND_KNIRK, "knirk"},
    {SOUND_TADA, "tada"},
    {SOUND_TRDOOR, "trdoor"},
    {SOUND_BOINK, "boink"},
    {SOUND_BAT, "bat"},
    {SOUND_KLACK, "klack"},
    {SOUND_SPLASH, "splash"},
}};
static_assert([] {
    for (int id = 0; id < kSoundCount; ++id)
        if (kSounds[size_t(id)].id != id) return false;
    return true;
}());

constexpr int kMixFrequency = 22050;
constexpr uint16_t kMixFormat = 0x8010;  // signed 16-bit little-endian
constexpr int kMixChannels = 2;
constexpr int kMixChunkSize = 1024;
constexpr int kMixingChannels = 16;

// The frequency and output channel count asked for when the device was opened; the music
// player takes them for its settings.
struct AudioFormat {
    int frequency = kMixFrequency;
    int channels = kMixChannels;
};

extern AudioFormat audioFormat;
// How often each effect was asked for since start-up (a count the tests read).
extern std::array<int, kSoundCount> soundsPlayed;

// Opens the mixer: 0 on success, -1 on failure. Records the asked-for format either way.
[[nodiscard]] int openAudio(int frequency, uint16_t format, int channels, int chunkSize);
// Gives the mixer that many channels for effects.
void allocateMixingChannels(int count);
// Loads all thirteen effects from the sound archive; a missing or undecodable one is fatal.
void loadSounds();
// Starts the effect on the first free channel; dropped when all are busy.
void playSound(SoundId id);
// Releases one effect.
void freeSound(SoundId id);
// Sets the volume (0..128) of every mixing channel.
void setEffectVolume(int volume);
// Closes the mixer.
void closeAudio();

}  // namespace audio
