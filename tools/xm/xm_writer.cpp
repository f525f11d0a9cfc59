// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xm_writer.h"

#include <algorithm>

namespace xm {

namespace {

constexpr char kSignature[] = "Extended Module: ";
constexpr uint8_t kSignatureEnd = 0x1A;
constexpr uint8_t kSixteenBitFlag = 0x10;
constexpr size_t kCellFields = 5;

void putU8(std::vector<uint8_t>& out, uint8_t v) { out.push_back(v); }
void putU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
// A text field of fixed size, cut or padded with zero bytes.
void putText(std::vector<uint8_t>& out, const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) out.push_back(i < text.size() ? uint8_t(text[i]) : 0);
}

void putEnvelopePoints(std::vector<uint8_t>& out, const Envelope& envelope) {
    for (int i = 0; i < kMaxEnvelopePoints; ++i) {
        const bool used = size_t(i) < envelope.points.size();
        putU16(out, used ? envelope.points[size_t(i)].tick : 0);
        putU16(out, used ? envelope.points[size_t(i)].value : 0);
    }
}

uint8_t envelopeIndex(int index) { return index < 0 ? 0 : uint8_t(index); }

uint8_t envelopeType(const Envelope& envelope) {
    if (envelope.points.empty()) return 0;
    uint8_t type = ENVELOPE_ON;
    if (envelope.sustainPoint >= 0) type |= ENVELOPE_SUSTAIN;
    if (envelope.loopStart >= 0) type |= ENVELOPE_LOOP;
    return type;
}

uint32_t bytesPerFrame(const Sample& sample) { return sample.sixteenBit ? 2 : 1; }

void putInstrument(std::vector<uint8_t>& out, const Instrument& instrument) {
    const size_t start = out.size();
    putU32(out, kInstrumentHeaderSize);
    putText(out, instrument.name, kInstrumentNameSize);
    putU8(out, 0);  // instrument type
    putU16(out, uint16_t(instrument.samples.size()));
    putU32(out, kSampleHeaderSize);
    out.insert(out.end(), instrument.keymap.begin(), instrument.keymap.end());
    putEnvelopePoints(out, instrument.volumeEnvelope);
    putEnvelopePoints(out, instrument.panningEnvelope);
    putU8(out, uint8_t(instrument.volumeEnvelope.points.size()));
    putU8(out, uint8_t(instrument.panningEnvelope.points.size()));
    for (const Envelope* envelope : {&instrument.volumeEnvelope, &instrument.panningEnvelope}) {
        putU8(out, envelopeIndex(envelope->sustainPoint));
        putU8(out, envelopeIndex(envelope->loopStart));
        putU8(out, envelopeIndex(envelope->loopEnd));
    }
    putU8(out, envelopeType(instrument.volumeEnvelope));
    putU8(out, envelopeType(instrument.panningEnvelope));
    putU8(out, instrument.vibratoType);
    putU8(out, instrument.vibratoSweep);
    putU8(out, instrument.vibratoDepth);
    putU8(out, instrument.vibratoRate);
    putU16(out, instrument.fadeout);
    out.resize(start + kInstrumentHeaderSize, 0);  // reserved tail

    for (const Sample& sample : instrument.samples) {
        const uint32_t width = bytesPerFrame(sample);
        putU32(out, uint32_t(sample.frames.size()) * width);
        putU32(out, sample.loop == LOOP_NONE ? 0 : sample.loopStart * width);
        putU32(out, sample.loop == LOOP_NONE ? 0 : sample.loopLength * width);
        putU8(out, sample.volume);
        putU8(out, uint8_t(sample.finetune));
        putU8(out, uint8_t(sample.loop | (sample.sixteenBit ? kSixteenBitFlag : 0)));
        putU8(out, sample.panning);
        putU8(out, uint8_t(sample.relativeNote));
        putU8(out, 0);  // reserved: 0xAD would mean ADPCM to libmodplug
        putText(out, sample.name, kInstrumentNameSize);
    }
    for (const Sample& sample : instrument.samples) {
        std::vector<uint8_t> data;
        if (sample.sixteenBit) {
            data = deltaEncode16(sample.frames);
        } else {
            std::vector<int8_t> bytes(sample.frames.size());
            std::transform(sample.frames.begin(), sample.frames.end(), bytes.begin(),
                           [](int16_t v) { return int8_t(v >> 8); });
            data = deltaEncode8(bytes);
        }
        out.insert(out.end(), data.begin(), data.end());
    }
}

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

bool validEnvelope(const Envelope& envelope, std::string& error, const std::string& where) {
    const int count = int(envelope.points.size());
    if (count > kMaxEnvelopePoints) return fail(error, where + ": more than 12 envelope points");
    for (int i = 0; i < count; ++i) {
        const EnvelopePoint& point = envelope.points[size_t(i)];
        if (point.value > kMaxVolume) return fail(error, where + ": envelope value above 64");
        if (i == 0 && point.tick != 0) return fail(error, where + ": envelope must start at 0");
        if (i > 0 && point.tick <= envelope.points[size_t(i) - 1].tick)
            return fail(error, where + ": envelope ticks must rise");
    }
    if (envelope.sustainPoint >= count)
        return fail(error, where + ": envelope sustain point out of range");
    if ((envelope.loopStart >= 0) != (envelope.loopEnd >= 0) || envelope.loopEnd >= count ||
        envelope.loopStart > envelope.loopEnd)
        return fail(error, where + ": bad envelope loop");
    return true;
}

bool validSample(const Sample& sample, std::string& error, const std::string& where) {
    if (sample.frames.empty()) return fail(error, where + ": empty sample");
    if (sample.volume > kMaxVolume) return fail(error, where + ": sample volume above 64");
    if (sample.name.size() > size_t(kInstrumentNameSize))
        return fail(error, where + ": sample name longer than 22 characters");
    if (sample.loop > LOOP_PINGPONG) return fail(error, where + ": unknown loop type");
    if (sample.loop != LOOP_NONE) {
        if (sample.loopLength < uint32_t(kMinLoopFrames))
            return fail(error, where + ": loop shorter than 4 frames");
        if (uint64_t(sample.loopStart) + sample.loopLength > sample.frames.size())
            return fail(error, where + ": loop runs past the end of the sample");
    }
    return true;
}

}  // namespace

std::vector<uint8_t> packPattern(const Pattern& pattern, int channels) {
    std::vector<uint8_t> out;
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < channels; ++channel) {
            const Cell& cell = pattern.cells[size_t(row * channels + channel)];
            const uint8_t fields[kCellFields] = {cell.note, cell.instrument, cell.volume,
                                                 cell.effect, cell.parameter};
            uint8_t mask = 0;
            for (size_t i = 0; i < kCellFields; ++i)
                if (fields[i] != 0) mask |= uint8_t(1u << i);
            if (mask == (1u << kCellFields) - 1) {
                out.insert(out.end(), fields, fields + kCellFields);
                continue;
            }
            out.push_back(uint8_t(kPackedCell | mask));
            for (size_t i = 0; i < kCellFields; ++i)
                if (fields[i] != 0) out.push_back(fields[i]);
        }
    }
    return out;
}

std::vector<uint8_t> deltaEncode8(const std::vector<int8_t>& values) {
    std::vector<uint8_t> out;
    out.reserve(values.size());
    uint8_t previous = 0;
    for (int8_t v : values) {
        out.push_back(uint8_t(uint8_t(v) - previous));
        previous = uint8_t(v);
    }
    return out;
}

std::vector<uint8_t> deltaEncode16(const std::vector<int16_t>& values) {
    std::vector<uint8_t> out;
    out.reserve(values.size() * 2);
    uint16_t previous = 0;
    for (int16_t v : values) {
        putU16(out, uint16_t(uint16_t(v) - previous));
        previous = uint16_t(v);
    }
    return out;
}

bool validateModule(const Module& module, std::string& error) {
    if (module.name.size() > size_t(kNameSize)) return fail(error, "module name too long");
    if (module.tracker.size() > size_t(kNameSize)) return fail(error, "tracker name too long");
    if (module.channels < 1 || module.channels > kMaxChannels)
        return fail(error, "channel count must be 1..32");
    if (module.speed < 1 || module.speed > kMaxSpeed) return fail(error, "speed must be 1..31");
    if (module.bpm < kMinBpm || module.bpm > kMaxBpm) return fail(error, "bpm must be 32..255");
    if (module.orders.empty() || module.orders.size() > size_t(kMaxOrders))
        return fail(error, "order list must hold 1..256 entries");
    if (module.restartPosition < 0 || size_t(module.restartPosition) >= module.orders.size())
        return fail(error, "restart position outside the order list");
    if (module.patterns.empty() || module.patterns.size() > size_t(kMaxPatterns))
        return fail(error, "pattern count must be 1..240");
    if (module.instruments.empty() || module.instruments.size() > size_t(kMaxInstruments))
        return fail(error, "instrument count must be 1..128");
    for (uint8_t order : module.orders)
        if (order >= module.patterns.size())
            return fail(error, "order list names a missing pattern " + std::to_string(order));
    for (size_t p = 0; p < module.patterns.size(); ++p) {
        const Pattern& pattern = module.patterns[p];
        const std::string where = "pattern " + std::to_string(p);
        if (pattern.rows < 1 || pattern.rows > kMaxRows) return fail(error, where + ": rows");
        if (pattern.cells.size() != size_t(pattern.rows * module.channels))
            return fail(error, where + ": cell count is not rows x channels");
        for (const Cell& cell : pattern.cells) {
            if (cell.note > kNoteKeyOff) return fail(error, where + ": note out of range");
            if (cell.instrument > module.instruments.size())
                return fail(error,
                            where + ": missing instrument " + std::to_string(cell.instrument));
        }
        if (packPattern(pattern, module.channels).size() > 0xFFFF)
            return fail(error, where + ": packed data larger than 65535 bytes");
    }
    for (size_t i = 0; i < module.instruments.size(); ++i) {
        const Instrument& instrument = module.instruments[i];
        const std::string where = "instrument " + std::to_string(i + 1);
        if (instrument.name.size() > size_t(kInstrumentNameSize))
            return fail(error, where + ": name longer than 22 characters");
        if (instrument.samples.empty() ||
            instrument.samples.size() > size_t(kMaxSamplesPerInstrument))
            return fail(error, where + ": needs 1..16 samples");
        for (uint8_t index : instrument.keymap)
            if (index >= instrument.samples.size())
                return fail(error, where + ": keymap names a missing sample");
        if (!validEnvelope(instrument.volumeEnvelope, error, where + " volume") ||
            !validEnvelope(instrument.panningEnvelope, error, where + " panning"))
            return false;
        for (const Sample& sample : instrument.samples)
            if (!validSample(sample, error, where)) return false;
    }
    return true;
}

std::vector<uint8_t> writeModule(const Module& module) {
    std::vector<uint8_t> out;
    putText(out, kSignature, sizeof kSignature - 1);
    putText(out, module.name, kNameSize);
    putU8(out, kSignatureEnd);
    putText(out, module.tracker, kNameSize);
    putU16(out, kVersion);
    putU32(out, kSongHeaderSize);
    putU16(out, uint16_t(module.orders.size()));
    putU16(out, uint16_t(module.restartPosition));
    putU16(out, uint16_t(module.channels));
    putU16(out, uint16_t(module.patterns.size()));
    putU16(out, uint16_t(module.instruments.size()));
    putU16(out, module.linearFrequencies ? 1 : 0);
    putU16(out, uint16_t(module.speed));
    putU16(out, uint16_t(module.bpm));
    for (int i = 0; i < kMaxOrders; ++i)
        putU8(out, size_t(i) < module.orders.size() ? module.orders[size_t(i)] : 0);

    for (const Pattern& pattern : module.patterns) {
        const std::vector<uint8_t> packed = packPattern(pattern, module.channels);
        putU32(out, kPatternHeaderSize);
        putU8(out, 0);  // packing type
        putU16(out, uint16_t(pattern.rows));
        putU16(out, uint16_t(packed.size()));
        out.insert(out.end(), packed.begin(), packed.end());
    }
    for (const Instrument& instrument : module.instruments) putInstrument(out, instrument);
    return out;
}

}  // namespace xm
