// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The effects through SDL_mixer. Each effect is decoded once into a chunk that holds its
// own converted samples, so the archive buffer is freed at once.

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

#include "archive/archive.h"
#include "audio/sound.h"
#include "platform/fatal.h"

namespace audio {

AudioFormat audioFormat;
std::array<int, kSoundCount> soundsPlayed{};

namespace {

std::array<Mix_Chunk*, kSoundCount> chunks{};

}  // namespace

int openAudio(int frequency, uint16_t format, int channels, int chunkSize) {
    const int result = Mix_OpenAudio(frequency, format, channels, chunkSize);
    audioFormat = {frequency, channels};
    return result;
}

void allocateMixingChannels(int count) { Mix_AllocateChannels(count); }

void loadSounds() {
    for (const SoundKind& sound : kSounds) {
        const SoundId id = sound.id;
        const std::string name(sound.name);
        archive::ResourceBuffer file =
            archive::loadResource(archive::ARCHIVE_SOUND, name.c_str(), "wav");
        if (!file) platform::fatalError("Can't load sound file", name.c_str());
        SDL_RWops* stream = SDL_RWFromMem(file.bytes.get(), file.size);
        chunks[id] = Mix_LoadWAV_RW(stream, 0);
        SDL_FreeRW(stream);
        if (!chunks[id]) platform::fatalError("Unable to load sound", SDL_GetError());
    }
}

void playSound(SoundId id) {
    ++soundsPlayed[id];
    if (chunks[id]) Mix_PlayChannelTimed(-1, chunks[id], 0, -1);
}

void freeSound(SoundId id) {
    if (chunks[id]) Mix_FreeChunk(chunks[id]);
    chunks[id] = nullptr;
}

void setEffectVolume(int volume) { Mix_Volume(-1, volume); }

void closeAudio() { Mix_CloseAudio(); }

}  // namespace audio
