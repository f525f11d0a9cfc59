// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's settings: volume, the keyboard and joystick bindings of the seven game
// inputs, and the options of the module player. They live in trolk.cfg in the working
// directory, read once at start-up and written back in full at exit. The reader does not
// parse lines: it looks for every known key at every byte of the file, so it copes with any
// line ends, any order and any text it does not know.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/input.h"

namespace persist {

using KeyBindings = platform::KeyBindings;

// Each bindable input: the name its keys have in the file ("k_<name>=", "j_<name>=") and
// where its keyboard and joystick values go.
struct InputKeys {
    std::string_view name;
    int KeyBindings::*keyboard;
    int KeyBindings::*joystick;
};

// In the order of reading and writing.
constexpr auto kInputKeys = std::to_array<InputKeys>({
    {"jump", &KeyBindings::k_jump, &KeyBindings::j_jump},
    {"fire", &KeyBindings::k_fire, &KeyBindings::j_fire},
    {"start", &KeyBindings::k_start, &KeyBindings::j_start},
    {"up", &KeyBindings::k_up, &KeyBindings::j_up},
    {"down", &KeyBindings::k_down, &KeyBindings::j_down},
    {"left", &KeyBindings::k_left, &KeyBindings::j_left},
    {"right", &KeyBindings::k_right, &KeyBindings::j_right},
});

// Flag bits of MixSettings, the same as libmodplug's.
enum MixFlag : int {
    MIX_OVERSAMPLING = 1,
    MIX_NOISE_REDUCTION = 2,
    MIX_REVERB = 4,
    MIX_MEGABASS = 8,
    MIX_SURROUND = 16,
};

struct MixSettings {
    int flags = MIX_OVERSAMPLING | MIX_NOISE_REDUCTION;
    int resamplingMode = 1;  // 0 nearest, 1 linear, 2 spline, 3 FIR
    int reverbDepth = 0;     // 0..100
    int reverbDelay = 0;     // ms, 40..200 once read from a file
    int bassAmount = 0;      // 0..100
    int bassRange = 0;       // Hz, 10..100 once read from a file
    int surroundDepth = 0;   // 0..100
    int surroundDelay = 0;   // ms, 5..40 once read from a file
};

constexpr int kMaxVolume = 128;

extern KeyBindings keyBindings;
extern MixSettings mixSettings;
extern int volume;  // 0..128; the file holds a percentage

// Reads trolk.cfg (its first 64 KiB at most) into the settings; a missing or empty file, or
// a folder or anything else that is no regular file by that name, changes nothing. The caller
// remembers that it ran: the file is written back at exit only then.
void readConfig();
// Writes all 27 lines of trolk.cfg (see safe_file.h); false, with one line on standard error,
// when it cannot be written.
bool writeConfig();

// Applies the bytes of a configuration file to the settings, as readConfig does with the
// bytes of trolk.cfg; nothing is read beyond `size`.
void applyConfigText(const uint8_t* bytes, size_t size);
constexpr size_t kConfigTextBytes = 2048;  // room for the longest file writeConfig writes
// The 27 lines that writeConfig writes, into `text` of kConfigTextBytes; returns their length.
size_t formatConfig(char* text);

// "./<sub>/<base>.<ext>", or "./<base>.<ext>" without a sub-directory (null), in one shared
// buffer that the next call overwrites.
const char* dataFilePath(const char* subDirectory, const char* baseName, const char* extension);

}  // namespace persist
