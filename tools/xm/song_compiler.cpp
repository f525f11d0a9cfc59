// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The song compiler reads the source line by line. A fault anywhere stops it: the parse
// functions throw a SongFault that compileSong turns into the one error line; nothing
// escapes this file.

#include "song_compiler.h"

#include "xm_synth.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace xmsong {

namespace {

constexpr int kMaxPhraseDepth = 16;
constexpr int kMaxRepeat = 256;
constexpr int kDefaultVolume = 48;
constexpr int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g above C
constexpr int kMaxOctave = 7;

struct SongFault {
    int line;
    std::string message;
};

[[noreturn]] void fault(int line, const std::string& message) { throw SongFault{line, message}; }

struct Word {
    std::string text;
    int line = 0;
};

struct SourceLine {
    int number = 0;
    std::vector<std::string> words;
    std::string rest;  // text after the first word, for quoted names
};

struct Drum {
    int instrument = 0;  // 1-based
    int note = 0;
    int volume = -1;  // -1: no volume column
};

// A token of a channel's note list after phrases and repeats are unrolled.
struct FlatToken {
    std::string text;
    int line = 0;
    int transpose = 0;  // semitones added to its notes
};

// What carries from one token of a channel to the next within a pattern.
struct ChannelState {
    int instrument = 0;
    int length = 1;
    int volume = -1;
};

std::vector<SourceLine> splitLines(const std::string& source) {
    std::vector<SourceLine> lines;
    std::istringstream in(source);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        // A comment starts with '#' at the start of a word; inside one it is a sharp.
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '#' &&
                (i == 0 || std::isspace(static_cast<unsigned char>(text[i - 1])))) {
                text.erase(i);
                break;
            }
        }
        SourceLine line;
        line.number = number;
        std::istringstream words(text);
        std::string word;
        while (words >> word) line.words.push_back(word);
        if (line.words.empty()) continue;
        const size_t first = text.find(line.words[0]) + line.words[0].size();
        line.rest = text.substr(first);
        lines.push_back(line);
    }
    return lines;
}

int parseInt(const std::string& text, int line, int low, int high, const std::string& what) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || value < low || value > high)
        fault(line, what + " must be a whole number " + std::to_string(low) + ".." +
                        std::to_string(high) + ", not '" + text + "'");
    return int(value);
}

double parseNumber(const std::string& text, int line, const std::string& what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != 0) fault(line, what + " must be a number, not '" + text + "'");
    return value;
}

// Splits parentheses off a word: "(c4" gives "(" and "c4"; "e4)*2)" gives "e4", ")*2", ")".
void lexWord(const Word& word, std::vector<Word>& out) {
    const std::string& w = word.text;
    size_t i = 0;
    while (i < w.size() && w[i] == '(') {
        out.push_back({"(", word.line});
        ++i;
    }
    const size_t close = w.find(')', i);
    if (close > i)
        out.push_back({w.substr(i, close == std::string::npos ? close : close - i), word.line});
    if (close == std::string::npos) return;
    i = close;
    while (i < w.size()) {
        if (w[i] != ')') fault(word.line, "unexpected text after ')' in '" + w + "'");
        size_t j = i + 1;
        if (j < w.size() && w[j] == '*') {
            ++j;
            while (j < w.size() && std::isdigit(static_cast<unsigned char>(w[j]))) ++j;
        }
        out.push_back({w.substr(i, j - i), word.line});
        i = j;
    }
}

struct Song {
    xm::Module module;
    std::map<std::string, int> instruments;  // name -> 1-based number
    std::map<char, Drum> drums;
    std::map<std::string, std::vector<Word>> phrases;
    std::map<std::string, int> patterns;  // name -> pattern index
    int transpose = 0;                    // semitones added to every note of the patterns after it
};

// Drum names are single letters that cannot start a note (a-g) or a setting (l, v).
bool isDrumName(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) && !(c >= 'a' && c <= 'g') && c != 'l' &&
           c != 'v';
}

bool isNoteHead(const std::string& t) {
    return !t.empty() && t[0] >= 'a' && t[0] <= 'g' && t.size() >= 2 &&
           (std::isdigit(static_cast<unsigned char>(t[1])) ||
            ((t[1] == '#' || t[1] == 'b') && t.size() >= 3 &&
             std::isdigit(static_cast<unsigned char>(t[2]))));
}

// ---- Note lists ----------------------------------------------------------------------

void flatten(const Song& song, const std::vector<Word>& words, size_t from, size_t to,
             int transpose, int depth, std::vector<FlatToken>& out) {
    if (depth > kMaxPhraseDepth) fault(words.empty() ? 0 : words[0].line, "phrases nest too deep");
    for (size_t i = from; i < to; ++i) {
        const Word& word = words[i];
        if (word.text == "(") {
            int level = 1;
            size_t j = i + 1;
            for (; j < to; ++j) {
                if (words[j].text == "(") ++level;
                if (words[j].text[0] == ')' && --level == 0) break;
            }
            if (j == to) fault(word.line, "'(' without its ')'");
            const std::string& closer = words[j].text;
            const int count = closer.size() > 2 ? parseInt(closer.substr(2), words[j].line, 1,
                                                           kMaxRepeat, "repeat count")
                                                : 1;
            for (int n = 0; n < count; ++n) flatten(song, words, i + 1, j, transpose, depth, out);
            i = j;
        } else if (word.text[0] == ')') {
            fault(word.line, "')' without its '('");
        } else if (word.text[0] == '$') {
            const size_t sign = word.text.find_first_of("+-", 1);
            const std::string name =
                word.text.substr(1, sign == std::string::npos ? sign : sign - 1);
            int shift = 0;
            if (sign != std::string::npos)
                shift = parseInt(word.text.substr(sign + (word.text[sign] == '+')), word.line, -96,
                                 96, "transposition");
            const auto phrase = song.phrases.find(name);
            if (phrase == song.phrases.end()) fault(word.line, "unknown phrase '" + name + "'");
            flatten(song, phrase->second, 0, phrase->second.size(), transpose + shift, depth + 1,
                    out);
        } else {
            out.push_back({word.text, word.line, transpose});
        }
    }
}

uint8_t parseEffectNumber(char c, int line) {
    if (c >= '0' && c <= '9') return uint8_t(c - '0');
    if (c >= 'A' && c <= 'Z') return uint8_t(c - 'A' + 10);
    fault(line, std::string("unknown effect '") + c + "'");
}

// "[XYY]" or "{XYY}" at text[at]: effect X (0-9, A-Z) with the hex parameter YY.
size_t parseEffect(const std::string& text, size_t at, int line, uint8_t& effect,
                   uint8_t& parameter) {
    const char close = text[at] == '[' ? ']' : '}';
    if (at + 4 >= text.size() || text[at + 4] != close)
        fault(line, "an effect is written as [XYY] or {XYY}: '" + text + "'");
    effect = parseEffectNumber(text[at + 1], line);
    const std::string hex = text.substr(at + 2, 2);
    char* end = nullptr;
    parameter = uint8_t(std::strtol(hex.c_str(), &end, 16));
    if (*end != 0 || !std::isxdigit(static_cast<unsigned char>(hex[0])))
        fault(line, "effect parameter must be two hex digits: '" + text + "'");
    return at + 5;
}

// Reads a note name such as "c4", "f#3" or "bb2" from the start of t; `at` ends after it.
// Returns the XM note number (C-0 is 1).
int readNote(const std::string& t, size_t& at, int line) {
    int note = kSemitones[t[0] - 'a'];
    at = 1;
    if (t[1] == '#') ++note, ++at;
    else if (t[1] == 'b') --note, ++at;
    const int octave = t[at] - '0';
    if (octave > kMaxOctave) fault(line, "octave above 7 in '" + t + "'");
    ++at;
    return note + 12 * octave + 1;
}

// Writes one channel's tokens into the pattern's cells, returning the rows it filled.
int placeChannel(const Song& song, const std::vector<FlatToken>& tokens, int channel, int rows,
                 ChannelState& state, xm::Pattern& pattern) {
    const int channels = song.module.channels;
    int row = 0;
    for (const FlatToken& token : tokens) {
        const std::string& t = token.text;
        const int line = token.line;
        if (t[0] == '@') {
            const auto found = song.instruments.find(t.substr(1));
            if (found == song.instruments.end())
                fault(line, "unknown instrument '" + t.substr(1) + "'");
            state.instrument = found->second;
            continue;
        }
        if (t[0] == 'l' && t.size() > 1) {
            state.length = parseInt(t.substr(1), line, 1, xm::kMaxRows, "length");
            continue;
        }
        if (t[0] == 'v' && t.size() > 1) {
            state.volume =
                t == "v-" ? -1 : parseInt(t.substr(1), line, 0, xm::kMaxVolume, "volume");
            continue;
        }

        xm::Cell cell;
        size_t at = 1;
        int volume = -1;  // the volume a note gets when it names none itself
        if (isNoteHead(t)) {
            const int note = readNote(t, at, line) + token.transpose;
            if (note < 1 || note > xm::kNoteCount) fault(line, "note out of range: '" + t + "'");
            if (state.instrument == 0) fault(line, "a note before any @instrument");
            cell.note = uint8_t(note);
            cell.instrument = uint8_t(state.instrument);
            volume = state.volume;
        } else if (t[0] == '^') {
            cell.note = xm::kNoteKeyOff;
        } else if (isDrumName(t[0])) {
            const auto found = song.drums.find(t[0]);
            if (found == song.drums.end()) fault(line, std::string("unknown drum '") + t[0] + "'");
            cell.note = uint8_t(found->second.note);
            cell.instrument = uint8_t(found->second.instrument);
            volume = found->second.volume >= 0 ? found->second.volume : state.volume;
        } else if (t[0] != '-') {
            fault(line, "cannot read '" + t + "'");
        }

        int length = state.length;
        bool sticky = false;
        bool first = false;
        uint8_t stickyEffect = 0, stickyParameter = 0;
        while (at < t.size()) {
            const char c = t[at];
            if (c == ':' || c == 'v') {
                size_t end = at + 1;
                while (end < t.size() && std::isdigit(static_cast<unsigned char>(t[end]))) ++end;
                const std::string digits = t.substr(at + 1, end - at - 1);
                if (c == ':') length = parseInt(digits, line, 1, xm::kMaxRows, "length");
                else volume = parseInt(digits, line, 0, xm::kMaxVolume, "volume");
                at = end;
            } else if (c == '[') {
                at = parseEffect(t, at, line, cell.effect, cell.parameter);
                first = true;
            } else if (c == '{') {
                at = parseEffect(t, at, line, stickyEffect, stickyParameter);
                sticky = true;
            } else {
                fault(line, "cannot read '" + t + "'");
            }
        }
        if (volume >= 0) cell.volume = xm::volumeColumn(volume);
        if (sticky && !first) cell.effect = stickyEffect, cell.parameter = stickyParameter;

        if (row + length > rows)
            fault(line, "channel " + std::to_string(channel + 1) + " runs past the pattern's " +
                            std::to_string(rows) + " rows");
        pattern.cells[size_t(row * channels + channel)] = cell;
        for (int r = 1; sticky && r < length; ++r) {
            xm::Cell& later = pattern.cells[size_t((row + r) * channels + channel)];
            later.effect = stickyEffect;
            later.parameter = stickyParameter;
        }
        row += length;
    }
    return row;
}

// ---- Blocks ---------------------------------------------------------------------------

xm::WaveKind parseWave(const SourceLine& line, xm::WaveRecipe& recipe) {
    static const std::map<std::string, xm::WaveKind> kinds = {
        {"pulse", xm::WAVE_PULSE}, {"square", xm::WAVE_PULSE}, {"triangle", xm::WAVE_TRIANGLE},
        {"saw", xm::WAVE_SAW},     {"sine", xm::WAVE_SINE},    {"pad", xm::WAVE_PAD},
        {"kick", xm::WAVE_KICK},   {"snare", xm::WAVE_SNARE},  {"hat", xm::WAVE_HAT},
        {"noise", xm::WAVE_NOISE}};
    if (line.words.size() < 2) fault(line.number, "wave needs a kind");
    const auto kind = kinds.find(line.words[1]);
    if (kind == kinds.end()) fault(line.number, "unknown wave '" + line.words[1] + "'");
    if (line.words[1] == "pulse") {
        if (line.words.size() != 3) fault(line.number, "wave pulse needs its duty in percent");
        recipe.duty = parseNumber(line.words[2], line.number, "duty") / 100.0;
    } else if (line.words.size() != 2) {
        fault(line.number, "wave " + line.words[1] + " takes no value");
    }
    return kind->second;
}

xm::Envelope parseEnvelope(const SourceLine& line) {
    xm::Envelope envelope;
    for (size_t i = 1; i < line.words.size(); ++i) {
        const std::string& w = line.words[i];
        if (w == "sustain" && i + 1 < line.words.size()) {
            envelope.sustainPoint = parseInt(line.words[++i], line.number, 0,
                                             xm::kMaxEnvelopePoints - 1, "sustain point");
        } else if (w == "loop" && i + 2 < line.words.size()) {
            envelope.loopStart =
                parseInt(line.words[++i], line.number, 0, xm::kMaxEnvelopePoints - 1, "loop start");
            envelope.loopEnd =
                parseInt(line.words[++i], line.number, 0, xm::kMaxEnvelopePoints - 1, "loop end");
        } else {
            const size_t colon = w.find(':');
            if (colon == std::string::npos)
                fault(line.number, "envelope points are tick:value, not '" + w + "'");
            xm::EnvelopePoint point;
            point.tick =
                uint16_t(parseInt(w.substr(0, colon), line.number, 0, 65535, "envelope tick"));
            point.value = uint16_t(
                parseInt(w.substr(colon + 1), line.number, 0, xm::kMaxVolume, "envelope value"));
            envelope.points.push_back(point);
        }
    }
    return envelope;
}

size_t parseInstrument(Song& song, const std::vector<SourceLine>& lines, size_t at) {
    const SourceLine& head = lines[at];
    if (head.words.size() != 2) fault(head.number, "instrument needs one name");
    const std::string& name = head.words[1];
    if (song.instruments.count(name)) fault(head.number, "instrument '" + name + "' defined twice");
    xm::WaveRecipe recipe;
    xm::Instrument instrument;
    instrument.name = name.substr(0, xm::kInstrumentNameSize);
    int volume = kDefaultVolume, panning = 128, finetune = 0, transpose = 0;
    bool waveGiven = false;
    for (++at; at < lines.size(); ++at) {
        const SourceLine& line = lines[at];
        const std::string& key = line.words[0];
        const int n = line.number;
        auto value = [&](size_t index) -> const std::string& {
            if (line.words.size() <= index) fault(n, key + " needs a value");
            return line.words[index];
        };
        if (key == "end") break;
        if (key == "wave") recipe.kind = parseWave(line, recipe), waveGiven = true;
        else if (key == "cycle") recipe.cycleFrames = parseInt(value(1), n, 8, 256, "cycle");
        else if (key == "amp") recipe.amplitude = parseNumber(value(1), n, "amp");
        else if (key == "bits") recipe.sixteenBit = parseInt(value(1), n, 8, 16, "bits") == 16;
        else if (key == "volume") volume = parseInt(value(1), n, 0, xm::kMaxVolume, "volume");
        else if (key == "pan") panning = parseInt(value(1), n, 0, 255, "pan");
        else if (key == "finetune") finetune = parseInt(value(1), n, -64, 64, "finetune");
        else if (key == "transpose") transpose = parseInt(value(1), n, -48, 48, "transpose");
        else if (key == "fadeout")
            instrument.fadeout = uint16_t(parseInt(value(1), n, 0, 4095, "fadeout"));
        else if (key == "env") instrument.volumeEnvelope = parseEnvelope(line);
        else if (key == "vibrato") {
            instrument.vibratoType = uint8_t(parseInt(value(1), n, 0, 3, "vibrato type"));
            instrument.vibratoSweep = uint8_t(parseInt(value(2), n, 0, 255, "vibrato sweep"));
            instrument.vibratoDepth = uint8_t(parseInt(value(3), n, 0, 15, "vibrato depth"));
            instrument.vibratoRate = uint8_t(parseInt(value(4), n, 0, 63, "vibrato rate"));
        } else if (key == "pitch") {
            recipe.startHz = parseNumber(value(1), n, "pitch");
            recipe.endHz = parseNumber(value(2), n, "pitch");
        } else if (key == "sweep") recipe.sweepMs = parseNumber(value(1), n, "sweep");
        else if (key == "decay") recipe.decayMs = parseNumber(value(1), n, "decay");
        else if (key == "tone") recipe.toneHz = parseNumber(value(1), n, "tone");
        else if (key == "noise") recipe.noiseMix = parseNumber(value(1), n, "noise");
        else if (key == "length") recipe.lengthMs = parseNumber(value(1), n, "length");
        else fault(n, "unknown instrument setting '" + key + "'");
    }
    if (at == lines.size()) fault(head.number, "instrument '" + name + "' has no end");
    if (!waveGiven) fault(head.number, "instrument '" + name + "' has no wave");
    xm::Sample sample;
    std::string error;
    if (!xm::synthesize(recipe, sample, error)) fault(head.number, error);
    sample.name = instrument.name;
    sample.volume = uint8_t(volume);
    sample.panning = uint8_t(panning);
    const int fine = sample.finetune + finetune;
    sample.finetune = int8_t(std::clamp(fine, -128, 127));
    sample.relativeNote = int8_t(sample.relativeNote + transpose);
    instrument.samples.push_back(sample);
    song.module.instruments.push_back(instrument);
    song.instruments[name] = int(song.module.instruments.size());
    return at;
}

std::vector<Word> wordsOf(const SourceLine& line, size_t first) {
    std::vector<Word> out;
    for (size_t i = first; i < line.words.size(); ++i) lexWord({line.words[i], line.number}, out);
    return out;
}

size_t parsePhrase(Song& song, const std::vector<SourceLine>& lines, size_t at) {
    const SourceLine& head = lines[at];
    if (head.words.size() != 2) fault(head.number, "phrase needs one name");
    const std::string& name = head.words[1];
    if (song.phrases.count(name)) fault(head.number, "phrase '" + name + "' defined twice");
    std::vector<Word> words;
    for (++at; at < lines.size() && lines[at].words[0] != "end"; ++at) {
        const std::vector<Word> more = wordsOf(lines[at], 0);
        words.insert(words.end(), more.begin(), more.end());
    }
    if (at == lines.size()) fault(head.number, "phrase '" + name + "' has no end");
    song.phrases[name] = words;
    return at;
}

size_t parsePattern(Song& song, const std::vector<SourceLine>& lines, size_t at) {
    const SourceLine& head = lines[at];
    if (head.words.size() != 3) fault(head.number, "pattern needs a name and a row count");
    const std::string& name = head.words[1];
    if (song.patterns.count(name)) fault(head.number, "pattern '" + name + "' defined twice");
    if (song.module.channels < 1) fault(head.number, "channels must come before the patterns");
    const int rows = parseInt(head.words[2], head.number, 1, xm::kMaxRows, "rows");
    const int channels = song.module.channels;
    std::vector<std::vector<Word>> channelWords(static_cast<size_t>(channels));
    for (++at; at < lines.size() && lines[at].words[0] != "end"; ++at) {
        const SourceLine& line = lines[at];
        const std::string& first = line.words[0];
        if (first.size() < 2 || first.back() != ':')
            fault(line.number, "a pattern line starts with its channel, as in '1:'");
        const int channel =
            parseInt(first.substr(0, first.size() - 1), line.number, 1, channels, "channel");
        const std::vector<Word> more = wordsOf(line, 1);
        auto& target = channelWords[size_t(channel - 1)];
        target.insert(target.end(), more.begin(), more.end());
    }
    if (at == lines.size()) fault(head.number, "pattern '" + name + "' has no end");

    xm::Pattern pattern;
    pattern.rows = rows;
    pattern.cells.assign(size_t(rows * channels), xm::Cell{});
    for (int channel = 0; channel < channels; ++channel) {
        const auto& words = channelWords[size_t(channel)];
        if (words.empty()) continue;
        std::vector<FlatToken> tokens;
        flatten(song, words, 0, words.size(), song.transpose, 0, tokens);
        ChannelState state;
        const int filled = placeChannel(song, tokens, channel, rows, state, pattern);
        if (filled != rows)
            fault(words.back().line,
                  "pattern '" + name + "' channel " + std::to_string(channel + 1) + " fills " +
                      std::to_string(filled) + " of " + std::to_string(rows) + " rows");
    }
    if (song.module.patterns.size() >= size_t(xm::kMaxPatterns))
        fault(head.number, "too many patterns");
    song.patterns[name] = int(song.module.patterns.size());
    song.module.patterns.push_back(pattern);
    return at;
}

void parseDrum(Song& song, const SourceLine& line) {
    if (line.words.size() < 4 || line.words.size() > 5 || line.words[1].size() != 1 ||
        !isDrumName(line.words[1][0]) || !isNoteHead(line.words[3]))
        fault(line.number,
              "drum is written 'drum X instrument note [vNN]', as in 'drum K kick c4'");
    const auto instrument = song.instruments.find(line.words[2]);
    if (instrument == song.instruments.end())
        fault(line.number, "unknown instrument '" + line.words[2] + "'");
    Drum drum;
    drum.instrument = instrument->second;
    size_t at = 0;
    drum.note = readNote(line.words[3], at, line.number);
    if (at != line.words[3].size()) fault(line.number, "cannot read note '" + line.words[3] + "'");
    if (line.words.size() == 5) {
        const std::string& v = line.words[4];
        if (v[0] != 'v') fault(line.number, "a drum's volume is written vNN");
        drum.volume = parseInt(v.substr(1), line.number, 0, xm::kMaxVolume, "volume");
    }
    song.drums[line.words[1][0]] = drum;
}

void parseSong(Song& song, const std::string& source) {
    const std::vector<SourceLine> lines = splitLines(source);
    xm::Module& module = song.module;
    module.channels = 0;
    std::vector<Word> order;
    for (size_t at = 0; at < lines.size(); ++at) {
        const SourceLine& line = lines[at];
        const std::string& key = line.words[0];
        const int n = line.number;
        auto value = [&]() -> const std::string& {
            if (line.words.size() != 2) fault(n, key + " needs one value");
            return line.words[1];
        };
        if (key == "song") {
            std::string name = line.rest;
            name.erase(0, name.find_first_not_of(" \t\""));
            name.erase(name.find_last_not_of(" \t\"") + 1);
            if (name.size() > size_t(xm::kNameSize))
                fault(n, "song name longer than 20 characters");
            module.name = name;
        } else if (key == "channels") {
            if (!module.patterns.empty()) fault(n, "channels must come before the patterns");
            module.channels = parseInt(value(), n, 1, xm::kMaxChannels, "channels");
        } else if (key == "speed") module.speed = parseInt(value(), n, 1, xm::kMaxSpeed, "speed");
        else if (key == "bpm") module.bpm = parseInt(value(), n, xm::kMinBpm, xm::kMaxBpm, "bpm");
        else if (key == "restart") module.restartPosition = parseInt(value(), n, 0, 255, "restart");
        else if (key == "transpose") song.transpose = parseInt(value(), n, -24, 24, "transpose");
        else if (key == "instrument") at = parseInstrument(song, lines, at);
        else if (key == "drum") parseDrum(song, line);
        else if (key == "phrase") at = parsePhrase(song, lines, at);
        else if (key == "pattern") at = parsePattern(song, lines, at);
        else if (key == "order") {
            for (size_t i = 1; i < line.words.size(); ++i) order.push_back({line.words[i], n});
        } else fault(n, "unknown statement '" + key + "'");
    }
    if (module.channels < 1) fault(0, "the song names no channels");
    for (const Word& entry : order) {
        const auto found = song.patterns.find(entry.text);
        if (found == song.patterns.end())
            fault(entry.line, "order names unknown pattern '" + entry.text + "'");
        module.orders.push_back(uint8_t(found->second));
    }
    std::string error;
    if (!xm::validateModule(module, error)) fault(0, error);
}

}  // namespace

bool compileSong(const std::string& source, const std::string& sourceName, xm::Module& module,
                 std::string& error) {
    Song song;
    try {
        parseSong(song, source);
    } catch (const SongFault& f) {
        error = sourceName + ":" + std::to_string(f.line) + ": " + f.message;
        return false;
    }
    module = song.module;
    return true;
}

double songSeconds(const xm::Module& module) {
    int rows = 0;
    for (uint8_t order : module.orders) rows += module.patterns[order].rows;
    return rows * module.speed * 2.5 / module.bpm;
}

}  // namespace xmsong
