// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading: every known key is looked for at every byte position of the file, so line ends,
// order and foreign text do not matter, and a key found inside a longer word counts too
// ("foo_k_jump=100" binds jump). Numbers follow atoi: white space, a sign, digits; nothing
// there reads as 0. A value is only read when at least one byte follows its key. The
// bindings of one input stop being searched once both its keyboard and joystick value are
// known; the other settings take their last occurrence, and flags can only be switched
// on. Keyboard values are kept only for the keys a player can type as themselves (letters,
// digits and a few signs), so the arrows, return and the like only come from the defaults.
//
// Writing: 27 lines in a fixed order, the volume as a percentage, letter keys as letters.

#include "persist/config.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "persist/safe_file.h"

namespace persist {

KeyBindings keyBindings;
MixSettings mixSettings;
int volume = kMaxVolume;

namespace {

constexpr size_t kPathBufferBytes = 512;
char pathBuffer[kPathBufferBytes];

constexpr int kNotFound = -1;
constexpr int kPercent = 100;
// The search for the settings stops 8 bytes before the end of the file.
constexpr size_t kSettingSearchMargin = 8;

enum class SettingRule { Volume, Flag, Resampling, Clamp };

struct SettingKey {
    std::string_view key;
    SettingRule rule;
    int flag;                 // Flag: the bit to set
    int MixSettings::*field;  // Resampling, Clamp: where the value goes
    int low, high;            // Clamp: bounds
};

// Tested in this order at every position; the first that lies there is applied.
constexpr auto kSettingKeys = std::to_array<SettingKey>({
    {"volume=", SettingRule::Volume, 0, nullptr, 0, 0},
    {"mpFlagsOVERSAMPLING=", SettingRule::Flag, MIX_OVERSAMPLING, nullptr, 0, 0},
    {"mpFlagsNOISE_REDUCTION=", SettingRule::Flag, MIX_NOISE_REDUCTION, nullptr, 0, 0},
    {"mpFlagsREVERB=", SettingRule::Flag, MIX_REVERB, nullptr, 0, 0},
    {"mpFlagsMEGABASS=", SettingRule::Flag, MIX_MEGABASS, nullptr, 0, 0},
    {"mpFlagsSURROUND=", SettingRule::Flag, MIX_SURROUND, nullptr, 0, 0},
    {"mpResamplingMode=", SettingRule::Resampling, 0, &MixSettings::resamplingMode, 0, 3},
    {"mpReverbDepth=", SettingRule::Clamp, 0, &MixSettings::reverbDepth, 0, 100},
    {"mpReverbDelay=", SettingRule::Clamp, 0, &MixSettings::reverbDelay, 40, 200},
    {"mpBassAmount=", SettingRule::Clamp, 0, &MixSettings::bassAmount, 0, 100},
    {"mpBassRange=", SettingRule::Clamp, 0, &MixSettings::bassRange, 10, 100},
    {"mpSurroundDepth=", SettingRule::Clamp, 0, &MixSettings::surroundDepth, 0, 100},
    {"mpSurroundDelay=", SettingRule::Clamp, 0, &MixSettings::surroundDelay, 5, 40},
});
constexpr int kDefaultResamplingMode = 1;

bool isSpace(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isLowerLetter(int c) { return c >= 'a' && c <= 'z'; }

// atoi over [at, end): never reads past the end, and saturates where atoi would overflow.
int readNumber(const uint8_t* at, const uint8_t* end) {
    while (at < end && isSpace(*at)) ++at;
    bool negative = false;
    if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';
    int64_t value = 0;
    for (; at < end && *at >= '0' && *at <= '9'; ++at)
        value = std::min<int64_t>(value * 10 + (*at - '0'), int64_t(INT_MAX) + 1);
    return int(std::clamp<int64_t>(negative ? -value : value, INT_MIN, INT_MAX));
}

// The bytes of a configuration file.
struct ConfigText {
    const uint8_t* bytes;
    size_t size;
};

// True when `key` lies at p and at least one byte follows it.
bool keyAt(const ConfigText& file, size_t p, std::string_view key) {
    return p + key.size() < file.size && std::memcmp(file.bytes + p, key.data(), key.size()) == 0;
}

// Keys a player can bind from the file: letters, digits, space and # * , : ; < >.
bool isBindableKey(int code) {
    if (isLowerLetter(code) || (code >= '0' && code <= '9')) return true;
    switch (code) {
    case ' ':
    case '#':
    case '*':
    case ',':
    case ':':
    case ';':
    case '<':
    case '>': return true;
    default: return false;
    }
}

void readBindings(const ConfigText& file) {
    const uint8_t* end = file.bytes + file.size;
    for (const InputKeys& input : kInputKeys) {
        char keyboardKey[16];
        char joystickKey[16];
        std::snprintf(keyboardKey, sizeof keyboardKey, "k_%s=", input.name.data());
        std::snprintf(joystickKey, sizeof joystickKey, "j_%s=", input.name.data());
        const size_t length = std::strlen(keyboardKey);
        int keyboardValue = kNotFound;
        int joystickValue = kNotFound;
        if (file.size > length) {
            for (size_t p = 0; p < file.size - length; ++p) {
                if (keyboardValue >= 0 && joystickValue >= 0) break;
                const uint8_t* value = file.bytes + p + length;
                if (keyAt(file, p, keyboardKey))
                    keyboardValue = isLowerLetter(*value) ? *value : readNumber(value, end);
                else if (keyAt(file, p, joystickKey)) joystickValue = readNumber(value, end);
            }
        }
        if (isBindableKey(keyboardValue)) keyBindings.*input.keyboard = keyboardValue;
        if (joystickValue >= 0) keyBindings.*input.joystick = joystickValue;
    }
}

void applySetting(const SettingKey& setting, int value) {
    switch (setting.rule) {
    case SettingRule::Volume:
        volume = value < 0 || value > kPercent ? kMaxVolume : value * kMaxVolume / kPercent;
        break;
    case SettingRule::Flag:
        if (value == 1) mixSettings.flags |= setting.flag;
        break;
    case SettingRule::Resampling:
        mixSettings.*setting.field =
            value < setting.low || value > setting.high ? kDefaultResamplingMode : value;
        break;
    case SettingRule::Clamp:
        mixSettings.*setting.field = std::clamp(value, setting.low, setting.high);
        break;
    }
}

void readSettings(const ConfigText& file) {
    if (file.size <= kSettingSearchMargin) return;
    const uint8_t* end = file.bytes + file.size;
    for (size_t p = 0; p < file.size - kSettingSearchMargin; ++p) {
        for (const SettingKey& setting : kSettingKeys) {
            if (!keyAt(file, p, setting.key)) continue;
            applySetting(setting, readNumber(file.bytes + p + setting.key.size(), end));
            break;
        }
    }
}

// Appends one formatted line; the buffer is sized for the longest possible file.
template <class... Args>
void appendLine(char* text, size_t& used, const char* format, Args... args) {
    const int n = std::snprintf(text + used, kConfigTextBytes - used, format, args...);
    if (n > 0) used = std::min(kConfigTextBytes - 1, used + size_t(n));
}

int flagBit(int flag) { return (mixSettings.flags & flag) ? 1 : 0; }

}  // namespace

const char* dataFilePath(const char* subDirectory, const char* baseName, const char* extension) {
    if (subDirectory)
        std::snprintf(pathBuffer, sizeof pathBuffer, "%s%s%c%s.%s", "./", subDirectory, '/',
                      baseName, extension);
    else std::snprintf(pathBuffer, sizeof pathBuffer, "%s%s.%s", "./", baseName, extension);
    return pathBuffer;
}

void readConfig() {
    const FileBytes file = readWholeFile(dataFilePath(nullptr, "trolk", "cfg"));
    if (!file) return;
    applyConfigText(file.bytes.get(), file.size);
}

void applyConfigText(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0) return;
    const ConfigText file{bytes, size};
    readBindings(file);
    readSettings(file);
}

size_t formatConfig(char* text) {
    size_t used = 0;
    appendLine(text, used, "volume=%d\n", volume * kPercent / kMaxVolume);
    for (const InputKeys& input : kInputKeys)
        appendLine(text, used, "j_%s=%d\n", input.name.data(), keyBindings.*input.joystick);
    for (const InputKeys& input : kInputKeys) {
        const int key = keyBindings.*input.keyboard;
        if (isLowerLetter(key)) appendLine(text, used, "k_%s=%c\n", input.name.data(), key);
        else appendLine(text, used, "k_%s=%d\n", input.name.data(), key);
    }
    const MixSettings& mix = mixSettings;
    appendLine(text, used, "mpFlagsOVERSAMPLING=%d\n", flagBit(MIX_OVERSAMPLING));
    appendLine(text, used, "mpResamplingMode=%d\n", mix.resamplingMode);
    appendLine(text, used, "mpFlagsNOISE_REDUCTION=%d\n", flagBit(MIX_NOISE_REDUCTION));
    appendLine(text, used, "mpFlagsREVERB=%d\n", flagBit(MIX_REVERB));
    appendLine(text, used, "mpReverbDepth=%d\n", mix.reverbDepth);
    appendLine(text, used, "mpReverbDelay=%d\n", mix.reverbDelay);
    appendLine(text, used, "mpFlagsMEGABASS=%d\n", flagBit(MIX_MEGABASS));
    appendLine(text, used, "mpBassAmount=%d\n", mix.bassAmount);
    appendLine(text, used, "mpBassRange=%d\n", mix.bassRange);
    appendLine(text, used, "mpFlagsSURROUND=%d\n", flagBit(MIX_SURROUND));
    appendLine(text, used, "mpSurroundDepth=%d\n", mix.surroundDepth);
    appendLine(text, used, "mpSurroundDelay=%d\n", mix.surroundDelay);
    return used;
}

bool writeConfig() {
    char text[kConfigTextBytes];
    const size_t used = formatConfig(text);
    return writeFileSafely(dataFilePath(nullptr, "trolk", "cfg"),
                           reinterpret_cast<const uint8_t*>(text), used);
}

}  // namespace persist
