// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The music player: XM modules from the music archive, rendered by libmodplug straight
// into SDL_mixer's stream through the music hook. On top of libmodplug it adds its own
// repetition (a module plays a given number of times, or for ever, by seeking back to its
// start when it ends), a volume ramp for fading in and out (one step per mixing buffer),
// and the mixing options of the configuration file.
//
// The hook runs on SDL's audio thread and touches nothing but the record below and the
// module it was given; the fields it shares with the main thread are atomics.

#include <libmodplug/modplug.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

namespace audio {

enum MusicId : int {
    MUSIC_TURBOCHIP = 0,  // the title
    MUSIC_SCENEY = 1,     // game over, and the test map
    MUSIC_WELCOME_HOME = 2,
    MUSIC_ZENNYPOCKET = 3,
    MUSIC_BOLLOCKNES = 4,
    MUSIC_BREWED = 5,
    MUSIC_CHIPATTACK = 6,
    MUSIC_FANTASTIC_TIMES = 7,
    MUSIC_FAST_QUEST = 8,
    MUSIC_FUELSHIP = 9,
    MUSIC_HER_CLOUD = 10,
    MUSIC_MIAS_SONG = 11,
    MUSIC_OLDENDAYS = 12,
    MUSIC_PICKING_A_MUSHROOM = 13,
    MUSIC_REENTRY_OVERTURE = 14,
    MUSIC_RELEASE = 15,
    MUSIC_ROCKING_ON_YOUR_DIME = 16,
    MUSIC_TIRED_TIGER = 17,
};

constexpr int kMusicCount = 18;

// Each tune and its entry in the music archive (an XM module of that base name).
struct MusicKind {
    MusicId id;
    std::string_view name;
};

constexpr std::array<MusicKind, kMusicCount> kMusic = {{
    {MUSIC_TURBOCHIP, "turbochip"},
    {MUSIC_SCENEY, "sceney"},
    {MUSIC_WELCOME_HOME, "welcome_home"},
    {MUSIC_ZENNYPOCKET, "zennypocket"},
    {MUSIC_BOLLOCKNES, "bollockNES"},
    {MUSIC_BREWED, "brewed"},
    {MUSIC_CHIPATTACK, "chipattack"},
    {MUSIC_FANTASTIC_TIMES, "fantastic_times"},
    {MUSIC_FAST_QUEST, "fast_quest"},
    {MUSIC_FUELSHIP, "fuelship"},
    {MUSIC_HER_CLOUD, "her_cloud"},
    {MUSIC_MIAS_SONG, "mias_song"},
    {MUSIC_OLDENDAYS, "oldendays"},
    {MUSIC_PICKING_A_MUSHROOM, "picking_a_mushroom"},
    {MUSIC_REENTRY_OVERTURE, "reentry_overture"},
    {MUSIC_RELEASE, "release"},
    {MUSIC_ROCKING_ON_YOUR_DIME, "rocking_on_your_dime"},
    {MUSIC_TIRED_TIGER, "tired_tiger"},
}};
static_assert([] {
    for (int id = 0; id < kMusicCount; ++id)
        if (kMusic[size_t(id)].id != id) return false;
    return true;
}());

constexpr int32_t kMusicMaxVolume = 128;
constexpr int32_t kPlayForever = -1;  // plays left: repeat without end

// The module player's mixing options, as the settings file gives them: libmodplug's flag bits
// (1 oversampling, 2 noise reduction, 4 reverb, 8 mega bass, 16 surround) and its values.
struct MixOptions {
    int flags = 1 | 2;       // oversampling and noise reduction
    int resamplingMode = 1;  // 0 nearest, 1 linear, 2 spline, 3 FIR
    int reverbDepth = 0;     // 0..100
    int reverbDelay = 0;     // ms
    int bassAmount = 0;      // 0..100
    int bassRange = 0;       // Hz
    int surroundDepth = 0;   // 0..100
    int surroundDelay = 0;   // ms
};

// Shared between the main thread and the hook. Volumes are 0..128 and are given to
// libmodplug as the module's master volume.
struct MusicState {
    std::atomic<ModPlugFile*> currentModule{nullptr};     // the module the hook renders
    std::atomic<int32_t> targetVolume{kMusicMaxVolume};   // where the ramp heads
    std::atomic<int32_t> currentVolume{kMusicMaxVolume};  // applied now
    std::atomic<int32_t> rampStep{0};  // added per hook call while ramping: +1 in, -1 out
    std::atomic<int32_t> playsLeft{kPlayForever};  // including the current play; -1 for ever
};

extern MusicState music;

// Loads module `id` from the music archive (plays left -1, mixing settings applied);
// null when it is missing or libmodplug refuses it. Nothing starts playing.
[[nodiscard]] ModPlugFile* loadMusic(MusicId id);
// Plays `module` from its start `plays` times (-1 for ever) at the current volume, through
// the hook. Does nothing for null.
void startMusic(ModPlugFile* module, int32_t plays);
// As startMusic, ramping the volume up from 1 to the target volume. Without a module the
// volume is set to 1 and the ramp upwards all the same, for the next start to carry on.
void startMusicFadeIn(ModPlugFile* module, int32_t plays);
// Ramps the volume down from just below the target; the music ends by itself at 0.
void fadeOutMusic();
// Sets the target and the current volume (0..128) at once, and the current module's.
void setMusicVolume(int32_t volume);
// Removes the hook, forgets the current module and releases `module`. Does nothing for null.
void stopMusic(ModPlugFile* module);
// The hook given to Mix_HookMusic: ramps, renders `byteCount` bytes of 16-bit samples into
// `stream` and repeats or ends the module. `module` is the ModPlugFile being played.
void musicHook(void* module, uint8_t* stream, int byteCount);
// Takes these mixing options for the modules loaded and started from now on.
void setMixOptions(const MixOptions& options);
// Copies the mixing options and the device format into libmodplug.
void applyMixSettings();

}  // namespace audio
