// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes Extended Modules (XM 1.04) that libmodplug and libmikmod both load. A module is
// held here as plain records (song, patterns of cells, instruments with their samples)
// and turned into the file's bytes in one pass: the 336-byte song header, every pattern
// with its 9-byte header and packed cells, every instrument with its 263-byte header,
// its 40-byte sample headers and its delta-coded sample data. All numbers are
// little-endian. libmodplug refuses files under 512 bytes; a module has at least one
// instrument with one sample, and those headers alone carry the smallest file past that
// (336 + 9 + 1 + 263 + 40 + 1 bytes). The same module always gives the same bytes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace xm {

constexpr int kSongHeaderSize = 276;  // counted from offset 60
constexpr int kPatternOffset = 60 + kSongHeaderSize;
constexpr uint16_t kVersion = 0x0104;
constexpr int kPatternHeaderSize = 9;
constexpr int kInstrumentHeaderSize = 263;
constexpr int kSampleHeaderSize = 40;
constexpr size_t kMinimumFileSize = 512;  // libmodplug's floor
constexpr int kNameSize = 20;             // module and tracker names
constexpr int kInstrumentNameSize = 22;   // instrument and sample names
constexpr int kMaxChannels = 32;
constexpr int kMaxPatterns = 240;
constexpr int kMaxOrders = 256;
constexpr int kMaxRows = 256;
constexpr int kMaxInstruments = 128;
constexpr int kMaxSamplesPerInstrument = 16;
constexpr int kMaxEnvelopePoints = 12;
constexpr int kMaxVolume = 64;
constexpr int kNoteCount = 96;  // notes 1..96, C-0 to B-7
constexpr uint8_t kNoteKeyOff = 97;
constexpr int kMinBpm = 32;
constexpr int kMaxBpm = 255;
constexpr int kMaxSpeed = 31;
constexpr int kMinLoopFrames = 4;      // shorter loops are dropped by libmodplug
constexpr uint8_t kPackedCell = 0x80;  // first byte of a packed cell

// One channel of one row. Zero in a field means "nothing there".
struct Cell {
    uint8_t note = 0;        // 1..96, or kNoteKeyOff
    uint8_t instrument = 0;  // 1..instrument count
    uint8_t volume = 0;      // volume column byte (0x10..0x50 sets volume 0..64)
    uint8_t effect = 0;      // effect number (0 arpeggio .. 35)
    uint8_t parameter = 0;   // effect parameter
    bool operator==(const Cell&) const = default;
};

struct Pattern {
    int rows = 64;            // 1..256
    std::vector<Cell> cells;  // rows x channels, row by row
};

enum LoopType : uint8_t { LOOP_NONE = 0, LOOP_FORWARD = 1, LOOP_PINGPONG = 2 };

struct Sample {
    std::string name;
    std::vector<int16_t> frames;  // mono sample values at full 16-bit scale
    bool sixteenBit = true;       // false stores the upper byte of each frame only
    LoopType loop = LOOP_NONE;
    uint32_t loopStart = 0;       // frames
    uint32_t loopLength = 0;      // frames
    uint8_t volume = kMaxVolume;  // 0..64
    int8_t finetune = 0;          // 1/128 semitone
    uint8_t panning = 128;        // 0 left .. 255 right
    int8_t relativeNote = 0;      // semitones; 0 plays C-4 at 8363 Hz
};

struct EnvelopePoint {
    uint16_t tick = 0;   // ticks from the note's start, rising from point to point
    uint16_t value = 0;  // 0..64
};

enum EnvelopeFlag : uint8_t { ENVELOPE_ON = 1, ENVELOPE_SUSTAIN = 2, ENVELOPE_LOOP = 4 };

struct Envelope {
    std::vector<EnvelopePoint> points;  // at most 12; the envelope is on when any exist
    int sustainPoint = -1;              // index, or -1 for none
    int loopStart = -1;                 // indices, or -1 for no loop
    int loopEnd = -1;
};

struct Instrument {
    std::string name;
    std::vector<Sample> samples;                  // 1..16
    std::array<uint8_t, kNoteCount> keymap = {};  // sample index for every note
    Envelope volumeEnvelope;
    Envelope panningEnvelope;
    uint8_t vibratoType = 0;  // 0 sine, 1 square, 2 ramp down, 3 ramp up
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
    uint16_t fadeout = 0;  // volume fade per tick after key-off
};

struct Module {
    std::string name;                      // at most 20 characters
    std::string tracker = "TROLK xmsong";  // at most 20 characters
    int channels = 4;                      // 1..32
    bool linearFrequencies = true;
    int speed = 6;                        // ticks per row, 1..31
    int bpm = 125;                        // 32..255; one tick lasts 2.5 / bpm seconds
    int restartPosition = 0;              // order index
    std::vector<uint8_t> orders;          // pattern numbers, 1..256 entries
    std::vector<Pattern> patterns;        // 1..240
    std::vector<Instrument> instruments;  // 1..128
};

// The packed cell stream of one pattern: a cell with all five fields is written as they
// are; any other cell as a mask byte (0x80 | one bit per present field) and its fields.
std::vector<uint8_t> packPattern(const Pattern& pattern, int channels);
// Delta coding: each stored value is the sample minus the one before it, wrapping.
std::vector<uint8_t> deltaEncode8(const std::vector<int8_t>& values);
std::vector<uint8_t> deltaEncode16(const std::vector<int16_t>& values);  // little-endian

// Checks every limit the loaders rely on; false with the first fault found.
bool validateModule(const Module& module, std::string& error);
// The whole file. The module must pass validateModule.
std::vector<uint8_t> writeModule(const Module& module);

// Volume column byte that sets a volume of 0..64.
constexpr uint8_t volumeColumn(int volume) { return uint8_t(0x10 + volume); }

}  // namespace xm
