// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The silent effects, for programs that play the world rules without a sound device: the
// level bot and the renderers. The play counts still run, so tools and tests can see which
// sounds the rules asked for.

#include "audio/sound.h"

namespace audio {

AudioFormat audioFormat;
std::array<int, kSoundCount> soundsPlayed{};

int openAudio(int frequency, uint16_t, int channels, int) {
    audioFormat = {frequency, channels};
    return 0;
}

void allocateMixingChannels(int) {}

void loadSounds() {}

void playSound(SoundId id) { ++soundsPlayed[id]; }

void freeSound(SoundId) {}

void setEffectVolume(int) {}

void closeAudio() {}

}  // namespace audio
