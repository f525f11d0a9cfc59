// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Any bytes as trolk.cfg.
//
// The reader must keep every setting in the range the rest of the game relies on (the
// volume, the resampling mode and the clamped mixing values), whatever the file holds. What
// it then writes back must read back to the same settings, and writing those gives the same
// file again, except for the volume, whose percentage may lose one step per round trip.

#include "persist/config.h"
#include "require.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void resetSettings() {
    persist::keyBindings = {};
    persist::mixSettings = {};
    persist::volume = persist::kMaxVolume;
}

bool sameSettings(const persist::KeyBindings& keys, const persist::MixSettings& mix) {
    const persist::MixSettings& m = persist::mixSettings;
    return std::memcmp(&keys, &persist::keyBindings, sizeof keys) == 0 && m.flags == mix.flags &&
           m.resamplingMode == mix.resamplingMode && m.reverbDepth == mix.reverbDepth &&
           m.reverbDelay == mix.reverbDelay && m.bassAmount == mix.bassAmount &&
           m.bassRange == mix.bassRange && m.surroundDepth == mix.surroundDepth &&
           m.surroundDelay == mix.surroundDelay;
}

void checkRanges() {
    const persist::MixSettings& m = persist::mixSettings;
    REQUIRE(persist::volume >= 0 && persist::volume <= persist::kMaxVolume);
    REQUIRE(m.resamplingMode >= 0 && m.resamplingMode <= 3);
    REQUIRE(m.reverbDepth >= 0 && m.reverbDepth <= 100);
    REQUIRE(m.reverbDelay == 0 || (m.reverbDelay >= 40 && m.reverbDelay <= 200));
    REQUIRE(m.bassAmount >= 0 && m.bassAmount <= 100);
    REQUIRE(m.bassRange == 0 || (m.bassRange >= 10 && m.bassRange <= 100));
    REQUIRE(m.surroundDepth >= 0 && m.surroundDepth <= 100);
    REQUIRE(m.surroundDelay == 0 || (m.surroundDelay >= 5 && m.surroundDelay <= 40));
    for (const persist::InputKeys& input : persist::kInputKeys)
        REQUIRE(persist::keyBindings.*input.joystick >= 0);
}

void apply(const char* text, size_t size) {
    resetSettings();
    persist::applyConfigText(reinterpret_cast<const uint8_t*>(text), size);
    checkRanges();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resetSettings();
    persist::applyConfigText(data, size);
    checkRanges();

    // Written once, the file holds values the reader takes as they are, so the second
    // round gives the same settings and the same text as the first.
    char first[persist::kConfigTextBytes];
    const size_t firstSize = persist::formatConfig(first);
    REQUIRE(firstSize > 0 && firstSize < persist::kConfigTextBytes);
    apply(first, firstSize);
    const persist::KeyBindings keys = persist::keyBindings;
    const persist::MixSettings mix = persist::mixSettings;
    char second[persist::kConfigTextBytes];
    const size_t secondSize = persist::formatConfig(second);
    apply(second, secondSize);
    REQUIRE(sameSettings(keys, mix));
    char third[persist::kConfigTextBytes];
    const size_t thirdSize = persist::formatConfig(third);
    const char* secondBody = std::strchr(second, '\n');
    const char* thirdBody = std::strchr(third, '\n');
    REQUIRE(secondBody && thirdBody);
    REQUIRE(std::strcmp(secondBody, thirdBody) == 0);  // all but the volume line
    (void)thirdSize;
    return 0;
}
