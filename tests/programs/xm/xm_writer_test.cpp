// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The writer against the XM format, byte for byte: the song header and its order table,
// pattern headers and packed cells, instrument and sample headers, delta-coded data in 8
// and 16 bits, the 512-byte floor; then libmodplug itself loads and plays what we wrote.

#include "xm_writer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <libmodplug/modplug.h>
#include <string>

namespace {

uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return u16(b, at) | uint32_t(u16(b, at + 2)) << 16;
}
std::string text(const std::vector<uint8_t>& b, size_t at, size_t size) {
    std::string s(reinterpret_cast<const char*>(b.data() + at), size);
    return s.substr(0, s.find('\0'));
}

// Undoes delta coding the way a loader does: a running sum.
std::vector<int8_t> decode8(const std::vector<uint8_t>& data) {
    std::vector<int8_t> out;
    uint8_t sum = 0;
    for (uint8_t d : data) out.push_back(int8_t(sum = uint8_t(sum + d)));
    return out;
}
std::vector<int16_t> decode16(const std::vector<uint8_t>& data) {
    std::vector<int16_t> out;
    uint16_t sum = 0;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        out.push_back(int16_t(sum = uint16_t(sum + u16(data, i))));
    return out;
}

xm::Sample loopedSample(size_t frames, bool sixteenBit) {
    xm::Sample s;
    s.name = "wave";
    s.sixteenBit = sixteenBit;
    for (size_t i = 0; i < frames; ++i)
        s.frames.push_back(int16_t(i < frames / 2 ? 12000 : -12000));
    s.loop = xm::LOOP_FORWARD;
    s.loopLength = uint32_t(frames);
    s.volume = 40;
    s.finetune = -3;
    s.panning = 100;
    s.relativeNote = 12;
    return s;
}

// Two channels, two patterns of 4 and 2 rows, orders 0 1 0, two instruments (8 and 16 bit).
xm::Module smallSong() {
    xm::Module m;
    m.name = "small song";
    m.channels = 2;
    m.speed = 5;
    m.bpm = 140;
    m.restartPosition = 1;
    m.orders = {0, 1, 0};
    xm::Pattern p;
    p.rows = 4;
    p.cells.assign(8, xm::Cell{});
    p.cells[0] = {49, 1, 0x30, 0x0C, 0x30};  // every field: written as it is
    p.cells[3] = {61, 2, 0, 0, 0};           // note and instrument only
    p.cells[4] = {0, 0, 0, 0x00, 0x37};      // arpeggio: effect 0 with a parameter
    p.cells[6] = {xm::kNoteKeyOff, 0, 0x20, 0, 0};
    m.patterns.push_back(p);
    xm::Pattern empty;
    empty.rows = 2;
    empty.cells.assign(4, xm::Cell{});
    m.patterns.push_back(empty);
    for (bool sixteen : {false, true}) {
        xm::Instrument in;
        in.name = sixteen ? "sixteen" : "eight";
        in.samples.push_back(loopedSample(sixteen ? 64 : 32, sixteen));
        in.volumeEnvelope.points = {{0, 64}, {10, 32}, {30, 0}};
        in.volumeEnvelope.sustainPoint = 1;
        in.fadeout = 300;
        in.vibratoDepth = 2;
        m.instruments.push_back(in);
    }
    return m;
}

TEST(XmWriter, SongHeaderFieldsSitAtTheirOffsets) {
    const xm::Module m = smallSong();
    std::string error;
    ASSERT_TRUE(xm::validateModule(m, error)) << error;
    const std::vector<uint8_t> b = xm::writeModule(m);
    EXPECT_EQ(text(b, 0, 17), "Extended Module: ");
    EXPECT_EQ(text(b, 17, 20), "small song");
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(text(b, 38, 20), m.tracker);
    EXPECT_EQ(u16(b, 58), 0x0104);
    EXPECT_EQ(u32(b, 60), 276u);
    EXPECT_EQ(u16(b, 64), 3);  // song length
    EXPECT_EQ(u16(b, 66), 1);  // restart position
    EXPECT_EQ(u16(b, 68), 2);  // channels
    EXPECT_EQ(u16(b, 70), 2);  // patterns
    EXPECT_EQ(u16(b, 72), 2);  // instruments
    EXPECT_EQ(u16(b, 74), 1);  // linear frequencies
    EXPECT_EQ(u16(b, 76), 5);
    EXPECT_EQ(u16(b, 78), 140);
    EXPECT_EQ(b[80], 0);
    EXPECT_EQ(b[81], 1);
    EXPECT_EQ(b[82], 0);
    for (size_t i = 83; i < 336; ++i) ASSERT_EQ(b[i], 0) << "order table byte " << i;
}

TEST(XmWriter, PatternsInstrumentsAndSamplesFollowInOrder) {
    const xm::Module m = smallSong();
    const std::vector<uint8_t> b = xm::writeModule(m);
    size_t at = 336;

    // Pattern 0: header, then its cells row by row.
    const std::vector<uint8_t> cells = {
        49,   1,    0x30, 0x0C, 0x30,  // row 0 channel 0: all five fields, no mask byte
        0x80,                          // row 0 channel 1: empty
        0x80,                          // row 1 channel 0
        0x83, 61,   2,                 // row 1 channel 1: note and instrument
        0x90, 0x37,                    // row 2 channel 0: parameter only
        0x80,                          // row 2 channel 1
        0x85, 97,   0x20,              // row 3 channel 0: key-off with a volume
        0x80};                         // row 3 channel 1
    EXPECT_EQ(u32(b, at), 9u);
    EXPECT_EQ(b[at + 4], 0);
    EXPECT_EQ(u16(b, at + 5), 4);
    ASSERT_EQ(u16(b, at + 7), cells.size());
    EXPECT_EQ(
        std::vector<uint8_t>(b.begin() + long(at) + 9, b.begin() + long(at + 9 + cells.size())),
        cells);
    at += 9 + cells.size();

    // Pattern 1: all empty, one 0x80 per cell.
    EXPECT_EQ(u16(b, at + 5), 2);
    ASSERT_EQ(u16(b, at + 7), 4);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(b[at + 9 + i], 0x80);
    at += 9 + 4;

    for (const xm::Instrument& in : m.instruments) {
        const xm::Sample& s = in.samples[0];
        const size_t width = s.sixteenBit ? 2 : 1;
        EXPECT_EQ(u32(b, at), 263u);
        EXPECT_EQ(text(b, at + 4, 22), in.name);
        EXPECT_EQ(b[at + 26], 0);
        EXPECT_EQ(u16(b, at + 27), 1);    // samples
        EXPECT_EQ(u32(b, at + 29), 40u);  // sample header size
        for (size_t k = 0; k < 96; ++k) ASSERT_EQ(b[at + 33 + k], 0);
        EXPECT_EQ(u16(b, at + 129 + 4), 10);  // second envelope point: tick, value
        EXPECT_EQ(u16(b, at + 129 + 6), 32);
        EXPECT_EQ(b[at + 225], 3);      // volume points
        EXPECT_EQ(b[at + 226], 0);      // panning points
        EXPECT_EQ(b[at + 227], 1);      // sustain point
        EXPECT_EQ(b[at + 233], 1 | 2);  // volume envelope on, with sustain
        EXPECT_EQ(b[at + 234], 0);
        EXPECT_EQ(b[at + 237], 2);         // vibrato depth
        EXPECT_EQ(u16(b, at + 239), 300);  // fadeout
        at += 263;

        EXPECT_EQ(u32(b, at), s.frames.size() * width);
        EXPECT_EQ(u32(b, at + 4), 0u);
        EXPECT_EQ(u32(b, at + 8), s.frames.size() * width);
        EXPECT_EQ(b[at + 12], 40);
        EXPECT_EQ(int8_t(b[at + 13]), -3);
        EXPECT_EQ(b[at + 14], s.sixteenBit ? 0x11 : 0x01);
        EXPECT_EQ(b[at + 15], 100);
        EXPECT_EQ(int8_t(b[at + 16]), 12);
        EXPECT_EQ(b[at + 17], 0);
        EXPECT_EQ(text(b, at + 18, 22), "wave");
        at += 40;

        const std::vector<uint8_t> data(b.begin() + long(at),
                                        b.begin() + long(at + s.frames.size() * width));
        if (s.sixteenBit) {
            EXPECT_EQ(decode16(data), s.frames);
        } else {
            const std::vector<int8_t> decoded = decode8(data);
            for (size_t i = 0; i < s.frames.size(); ++i) ASSERT_EQ(decoded[i], s.frames[i] >> 8);
        }
        at += data.size();
    }
    EXPECT_EQ(at, b.size());
}

TEST(XmWriter, DeltaCodingWrapsInBothWidths) {
    const std::vector<int8_t> bytes = {0, 10, 5, -128, 127, 127, -1};
    const std::vector<uint8_t> d8 = xm::deltaEncode8(bytes);
    EXPECT_EQ(d8[0], 0);
    EXPECT_EQ(d8[2], uint8_t(-5));
    EXPECT_EQ(d8[4], 255);  // -128 to 127 wraps
    EXPECT_EQ(d8[5], 0);
    EXPECT_EQ(decode8(d8), bytes);

    const std::vector<int16_t> words = {1000, -1000, 32767, -32768, 0};
    const std::vector<uint8_t> d16 = xm::deltaEncode16(words);
    ASSERT_EQ(d16.size(), 10u);
    EXPECT_EQ(d16[0], 0xE8);  // 1000, low byte first
    EXPECT_EQ(d16[1], 0x03);
    EXPECT_EQ(u16(d16, 2), uint16_t(-2000));
    EXPECT_EQ(u16(d16, 6), 1);  // -32768 after 32767 wraps to +1
    EXPECT_EQ(decode16(d16), words);
}

TEST(XmWriter, SmallestModuleIsStillLongEnoughForLibmodplug) {
    xm::Module m;
    m.channels = 1;
    m.orders = {0};
    xm::Pattern p;
    p.rows = 1;
    p.cells.assign(1, xm::Cell{});
    m.patterns.push_back(p);
    xm::Instrument in;
    in.samples.push_back(loopedSample(4, false));
    m.instruments.push_back(in);
    const std::vector<uint8_t> b = xm::writeModule(m);
    EXPECT_GE(b.size(), xm::kMinimumFileSize);
    ModPlugFile* file = ModPlug_Load(b.data(), int(b.size()));
    EXPECT_NE(file, nullptr);
    if (file) ModPlug_Unload(file);
}

TEST(XmWriter, ValidationRejectsWhatLoadersDrop) {
    struct Case {
        const char* fault;
        void (*spoil)(xm::Module&);
    };
    const Case cases[] = {
        {"bpm below 32", [](xm::Module& m) { m.bpm = 31; }},
        {"speed 0", [](xm::Module& m) { m.speed = 0; }},
        {"33 channels", [](xm::Module& m) { m.channels = 33; }},
        {"order of a missing pattern", [](xm::Module& m) { m.orders.push_back(2); }},
        {"restart past the orders", [](xm::Module& m) { m.restartPosition = 3; }},
        {"note 98", [](xm::Module& m) { m.patterns[0].cells[0].note = 98; }},
        {"missing instrument", [](xm::Module& m) { m.patterns[0].cells[0].instrument = 3; }},
        {"cells not rows x channels", [](xm::Module& m) { m.patterns[0].cells.pop_back(); }},
        {"loop of 3 frames", [](xm::Module& m) { m.instruments[0].samples[0].loopLength = 3; }},
        {"loop past the end", [](xm::Module& m) { m.instruments[0].samples[0].loopStart = 1; }},
        {"sample volume 65", [](xm::Module& m) { m.instruments[0].samples[0].volume = 65; }},
        {"envelope ticks falling",
         [](xm::Module& m) { m.instruments[0].volumeEnvelope.points[2].tick = 5; }},
        {"envelope value 65",
         [](xm::Module& m) { m.instruments[0].volumeEnvelope.points[1].value = 65; }},
        {"sustain past the points",
         [](xm::Module& m) { m.instruments[0].volumeEnvelope.sustainPoint = 3; }},
        {"instrument without samples", [](xm::Module& m) { m.instruments[1].samples.clear(); }},
        {"keymap naming sample 1 of 1", [](xm::Module& m) { m.instruments[0].keymap[10] = 1; }},
        {"name of 21 characters", [](xm::Module& m) { m.name = std::string(21, 'x'); }},
    };
    for (const Case& c : cases) {
        xm::Module m = smallSong();
        c.spoil(m);
        std::string error;
        EXPECT_FALSE(xm::validateModule(m, error)) << c.fault;
    }
}

TEST(XmWriter, LibmodplugPlaysTheSongForItsWholeLength) {
    const std::vector<uint8_t> b = xm::writeModule(smallSong());
    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mChannels = 2;
    settings.mBits = 16;
    settings.mFrequency = 22050;
    settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile* file = ModPlug_Load(b.data(), int(b.size()));
    ASSERT_NE(file, nullptr);
    // 10 rows of 5 ticks at 140 bpm, a tick lasting 2.5 / 140 s.
    const double seconds = 10 * 5 * 2.5 / 140;
    EXPECT_EQ(ModPlug_GetLength(file), 1000);  // whole seconds, rounded
    int16_t chunk[2048];
    long frames = 0;
    int peak = 0;
    int got;
    while ((got = ModPlug_Read(file, chunk, sizeof chunk)) > 0) {
        frames += got / 4;
        for (int i = 0; i < got / 2; ++i) peak = std::max(peak, std::abs(int(chunk[i])));
    }
    ModPlug_Unload(file);
    // libmodplug lets the last row ring out for a moment before it reports the end.
    EXPECT_GE(frames / 22050.0, seconds);
    EXPECT_LE(frames / 22050.0, seconds + 0.2);
    EXPECT_GT(peak, 1000);  // the note on the first row sounds
}

}  // namespace
