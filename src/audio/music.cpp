// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The hook, once per mixing buffer (1024 frames at 22050 Hz, about 46 ms):
// 1. ramp: while the current volume differs from the target and is above 0, it moves by
//    the ramp step and becomes the module's master volume;
// 2. render: above volume 0, libmodplug writes the buffer; a full buffer ends the call;
// 3. at the end of the module, or at volume 0, one play is used up (unless it repeats for
//    ever); with plays left and a volume above 0 the module is rewound and continues with
//    the next buffer, the rest of this one staying as the mixer gave it (silence);
// 4. otherwise the hook removes itself and forgets the current module. The module stays
//    allocated until the game calls stopMusic for it.
// A fade-in from 1 to 128 thus takes 127 buffers, and a fade-out from 127 reaches 0 after
// 127 buffers and ends the music there.
//
// Volume 0 means silence: nothing is rendered, and the music ends at the first hook call.
// Fades respect that: a fade-in towards a target of 0 does not start at 1 (it would climb
// past the target for ever) but at 0, and a fade-out starts at most one below the target
// but never below 0 (from -1 it would never reach 0 and the module would play on). The
// volume is kept within 0..128 whatever is asked.
//
// Threads: the hook runs on SDL's audio thread and touches only `music` and the module it
// was given. The main thread changes the shared fields through atomics; the hook's own
// changes (a ramp step, a play used up, the module forgotten) are compare-and-swap, so a
// value the main thread writes meanwhile is never overwritten with a stale one. The main
// thread's libmodplug calls that could meet a render (global settings, a load, which sets
// the global mixer up from them, master volume) and its changes of the volume together with
// the ramp step run under SDL's audio lock, which the hook runs inside of, so the hook sees
// either all of such a change or none of it.

#include "audio/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <string>

#include "archive/archive.h"
#include "audio/sound.h"

namespace audio {

MusicState music;

namespace {

constexpr int kSampleBits = 16;
constexpr auto kRelaxed = std::memory_order_relaxed;

int32_t clampVolume(int32_t volume) { return std::clamp(volume, int32_t(0), kMusicMaxVolume); }

// Uses up one play, unless the module repeats for ever; returns the plays then left.
int32_t usePlay() {
    int32_t plays = music.playsLeft.load(kRelaxed);
    while (plays > 0 && !music.playsLeft.compare_exchange_weak(plays, plays - 1, kRelaxed)) {}
    return plays > 0 ? plays - 1 : plays;
}

void hookCallback(void* module, Uint8* stream, int byteCount) {
    musicHook(module, stream, byteCount);
}

MixOptions mixOptions;  // main thread only: read when a module is loaded or started

// applyMixSettings for a caller that holds the audio lock.
void applyMixSettingsLocked() {
    const MixOptions& mix = mixOptions;
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mFlags = mix.flags;
    settings.mResamplingMode = mix.resamplingMode;
    settings.mReverbDepth = mix.reverbDepth;
    settings.mReverbDelay = mix.reverbDelay;
    settings.mBassAmount = mix.bassAmount;
    settings.mBassRange = mix.bassRange;
    settings.mSurroundDepth = mix.surroundDepth;
    settings.mSurroundDelay = mix.surroundDelay;
    settings.mFrequency = audioFormat.frequency;
    settings.mBits = kSampleBits;
    settings.mChannels = audioFormat.channels;
    ModPlug_SetSettings(&settings);
}

}  // namespace

void setMixOptions(const MixOptions& options) { mixOptions = options; }

void applyMixSettings() {
    SDL_LockAudio();
    applyMixSettingsLocked();
    SDL_UnlockAudio();
}

ModPlugFile* loadMusic(MusicId id) {
    if (id < 0 || id >= kMusicCount) return nullptr;
    const std::string name(kMusic[size_t(id)].name);
    archive::ResourceBuffer file =
        archive::loadResource(archive::ARCHIVE_MUSIC, name.c_str(), "xm");
    if (!file) return nullptr;
    music.playsLeft.store(kPlayForever, kRelaxed);
    // Loading sets libmodplug's global mixer up from the settings, which a render reads.
    SDL_LockAudio();
    applyMixSettingsLocked();
    ModPlugFile* module = ModPlug_Load(file.bytes.get(), file.size);
    SDL_UnlockAudio();
    return module;
}

void startMusic(ModPlugFile* module, int32_t plays) {
    if (!module) return;
    music.playsLeft.store(plays, kRelaxed);
    applyMixSettings();
    ModPlug_SetMasterVolume(module, uint32_t(music.currentVolume.load(kRelaxed)));
    ModPlug_Seek(module, 0);
    // Recorded before the hook goes in, so a hook that ends at once leaves no stale module.
    music.currentModule.store(module, kRelaxed);
    Mix_HookMusic(hookCallback, module);
}

void startMusicFadeIn(ModPlugFile* module, int32_t plays) {
    // Also without a module: the next start begins from the bottom of the ramp.
    SDL_LockAudio();
    music.currentVolume.store(std::min(int32_t(1), music.targetVolume.load(kRelaxed)), kRelaxed);
    music.rampStep.store(1, kRelaxed);
    SDL_UnlockAudio();
    startMusic(module, plays);
}

void fadeOutMusic() {
    // One step for the hook: a call between the two stores would ramp the new volume the
    // old way, back up to the target, and the music would play on.
    SDL_LockAudio();
    music.currentVolume.store(std::max(music.targetVolume.load(kRelaxed) - 1, int32_t(0)),
                              kRelaxed);
    music.rampStep.store(-1, kRelaxed);
    SDL_UnlockAudio();
}

void setMusicVolume(int32_t volume) {
    volume = clampVolume(volume);
    SDL_LockAudio();
    if (ModPlugFile* module = music.currentModule.load(kRelaxed))
        ModPlug_SetMasterVolume(module, uint32_t(volume));
    music.targetVolume.store(volume, kRelaxed);
    music.currentVolume.store(volume, kRelaxed);
    SDL_UnlockAudio();
}

void stopMusic(ModPlugFile* module) {
    if (!module) return;
    Mix_HookMusic(nullptr, nullptr);
    music.currentModule.store(nullptr, kRelaxed);
    ModPlug_Unload(module);
}

void musicHook(void* userData, uint8_t* stream, int byteCount) {
    ModPlugFile* module = static_cast<ModPlugFile*>(userData);

    int32_t volume = music.currentVolume.load(kRelaxed);
    if (volume != music.targetVolume.load(kRelaxed) && volume > 0) {
        const int32_t next = clampVolume(volume + music.rampStep.load(kRelaxed));
        if (music.currentVolume.compare_exchange_strong(volume, next, kRelaxed)) volume = next;
        ModPlug_SetMasterVolume(module, uint32_t(volume));
    }

    if (volume > 0 && ModPlug_Read(module, stream, byteCount) == byteCount) return;

    if (usePlay() != 0 && volume > 0) {
        ModPlug_Seek(module, 0);
        return;
    }
    Mix_HookMusic(nullptr, nullptr);
    ModPlugFile* expected = module;
    music.currentModule.compare_exchange_strong(expected, nullptr, kRelaxed);
}

}  // namespace audio
