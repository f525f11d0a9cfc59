// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The song notation: notes, lengths, drums, volumes and effects land in the cells they
// name; repeats and phrases unroll (with transposition for notes, never for drums); the
// synthesized voices keep their tuning, duty and loops; faults name their line; the
// xmsong program writes the same bytes every time or fails with status 1; and xmrender
// plays a module into a WAV file of the right length.

#include "song_compiler.h"
#include "support/test_support.h"
#include "xm_synth.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kHead = R"(
song "probe"
channels 3
speed 6
bpm 125
instrument lead
  wave pulse 12.5
  cycle 32
  volume 50
  env 0:64 4:40 sustain 1
end
instrument kick
  wave kick
  decay 60
end
drum K kick c5 v50
drum k kick c5
)";

xm::Module compile(const std::string& body) {
    xm::Module m;
    std::string error;
    EXPECT_TRUE(xmsong::compileSong(kHead + body, "probe.song", m, error)) << error;
    return m;
}

const xm::Cell& cell(const xm::Module& m, int pattern, int row, int channel) {
    return m.patterns[size_t(pattern)].cells[size_t(row * m.channels + channel)];
}

// Note numbers as a tracker counts them: C-0 is 1, so C-4 is 49.
constexpr int note(int semitone, int octave) { return 12 * octave + semitone + 1; }

TEST(SongCompiler, NotesLengthsDrumsAndVolumesLandInTheirCells) {
    const xm::Module m = compile(R"(
pattern p 8
  1: @lead c4 f#3:2 bb2v20 ^:3 -v10
  2: K:4 k l2 kv9 -:1
end
order p p
)");
    ASSERT_EQ(m.patterns.size(), 1u);
    EXPECT_EQ(m.orders, (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(cell(m, 0, 0, 0), (xm::Cell{uint8_t(note(0, 4)), 1, 0, 0, 0}));
    EXPECT_EQ(cell(m, 0, 1, 0), (xm::Cell{uint8_t(note(6, 3)), 1, 0, 0, 0}));
    EXPECT_EQ(cell(m, 0, 2, 0), xm::Cell{});  // the second row of f#3:2
    EXPECT_EQ(cell(m, 0, 3, 0), (xm::Cell{uint8_t(note(10, 2)), 1, xm::volumeColumn(20), 0, 0}));
    EXPECT_EQ(cell(m, 0, 4, 0), (xm::Cell{xm::kNoteKeyOff, 0, 0, 0, 0}));
    EXPECT_EQ(cell(m, 0, 7, 0), (xm::Cell{0, 0, xm::volumeColumn(10), 0, 0}));

    EXPECT_EQ(cell(m, 0, 0, 1), (xm::Cell{uint8_t(note(0, 5)), 2, xm::volumeColumn(50), 0, 0}));
    EXPECT_EQ(cell(m, 0, 4, 1), (xm::Cell{uint8_t(note(0, 5)), 2, 0, 0, 0}));
    EXPECT_EQ(cell(m, 0, 5, 1), (xm::Cell{uint8_t(note(0, 5)), 2, xm::volumeColumn(9), 0, 0}));
    EXPECT_EQ(cell(m, 0, 6, 1), xm::Cell{});  // l2 made kv9 two rows long
    for (int row = 0; row < 8; ++row) EXPECT_EQ(cell(m, 0, row, 2), xm::Cell{});
}

TEST(SongCompiler, RepeatsPhrasesAndTranspositionUnroll) {
    const xm::Module written = compile(R"(
phrase riff
  c4 (e4 K)*2
end
pattern p 17
  1: @lead ($riff+2)*2 $riff-12 d4 e4
end
order p
)");
    const xm::Module spelled = compile(R"(
pattern p 17
  1: @lead d4 f#4 K f#4 K d4 f#4 K f#4 K c3 e3 K e3 K d4 e4
end
order p
)");
    ASSERT_EQ(written.patterns.size(), 1u);
    ASSERT_EQ(spelled.patterns.size(), 1u);
    for (int row = 0; row < 17; ++row)
        EXPECT_EQ(cell(written, 0, row, 0), cell(spelled, 0, row, 0)) << "row " << row;

    // A song-wide transposition moves the notes of the patterns after it, not the drums.
    const xm::Module raised = compile("transpose -3\npattern p 2\n  1: @lead c4 K\nend\norder p\n");
    EXPECT_EQ(cell(raised, 0, 0, 0).note, note(9, 3));
    EXPECT_EQ(cell(raised, 0, 1, 0).note, note(0, 5));
}

TEST(SongCompiler, EffectsOnTheFirstRowOrOnEveryRow) {
    const xm::Module m = compile(R"(
pattern p 6
  1: @lead c4:3{047} e4:3[F03]{A02}
end
order p
)");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(cell(m, 0, row, 0).effect, 0);
        EXPECT_EQ(cell(m, 0, row, 0).parameter, 0x47);
    }
    EXPECT_EQ(cell(m, 0, 3, 0).effect, 0xF);
    EXPECT_EQ(cell(m, 0, 3, 0).parameter, 0x03);
    EXPECT_EQ(cell(m, 0, 4, 0).effect, 0xA);
    EXPECT_EQ(cell(m, 0, 5, 0).parameter, 0x02);
}

TEST(SongCompiler, FaultsNameTheirLine) {
    const int headLines = int(std::count(kHead.begin(), kHead.end(), '\n'));
    struct Case {
        const char* body;
        int line;  // counted within the body, whose first line is 1
        const char* words;
    };
    const Case cases[] = {
        {"pattern p 4\n  1: @lead c4 d4 e4\nend\norder p\n", 2, "fills 3 of 4 rows"},
        {"pattern p 2\n  1: @lead c4 d4 e4\nend\n", 2, "runs past"},
        {"pattern p 1\n  1: @flute c4\nend\n", 2, "unknown instrument"},
        {"pattern p 1\n  1: c4\nend\n", 2, "before any @instrument"},
        {"pattern p 1\n  1: Q\nend\n", 2, "unknown drum"},
        {"pattern p 1\n  1: @lead c4 )\nend\n", 2, "without its '('"},
        {"pattern p 1\n  1: @lead (c4\nend\n", 2, "without its ')'"},
        {"pattern p 1\n  1: @lead $tune\nend\n", 2, "unknown phrase"},
        {"phrase loop\n  $loop\nend\npattern p 1\n  1: @lead $loop\nend\n", 2, "nest too deep"},
        {"pattern p 1\n  1: @lead b7[000]\nend\n\npattern q 1\n  1: @lead $x\nend\n", 6,
         "unknown phrase"},
        {"pattern p 1\n  1: @lead c4{01}\nend\n", 2, "[XYY]"},
        {"pattern p 1\n  4: @lead c4\nend\n", 2, "channel"},
        {"pattern p 1\n  1: @lead c4\nend\norder p q\n", 4, "unknown pattern 'q'"},
        {"bpm 20\n", 1, "bpm"},
        {"instrument odd\n  wave pulse 0\nend\n", 1, "duty"},
        {"instrument odd\n  wave pulse 50\n  cycle 4\nend\n", 3, "cycle"},
        {"instrument odd\n  wave organ\nend\n", 2, "unknown wave"},
        {"instrument odd\n  env 0:64 5:70\nend\n", 2, "envelope value"},
        {"drum x lead\n", 1, "drum is written"},
    };
    for (const Case& c : cases) {
        xm::Module m;
        std::string error;
        EXPECT_FALSE(xmsong::compileSong(kHead + c.body, "probe.song", m, error)) << c.body;
        const std::string where = "probe.song:" + std::to_string(headLines + c.line) + ":";
        EXPECT_EQ(error.rfind(where, 0), 0u) << error << " (wanted " << where << ")";
        EXPECT_NE(error.find(c.words), std::string::npos) << error;
    }
}

// Playback frequency of a looped voice at C-4 from its tuning, as the player works it out.
double pitchAtC4(const xm::Sample& s, int cycleFrames) {
    return xm::kC4Rate * std::pow(2.0, (s.relativeNote + s.finetune / 128.0) / 12.0) / cycleFrames;
}

TEST(Synthesizer, VoicesKeepTuningDutyAndLoops) {
    for (int cycle : {16, 32, 64, 100}) {
        xm::WaveRecipe recipe;
        recipe.kind = xm::WAVE_PULSE;
        recipe.duty = 0.125;
        recipe.cycleFrames = cycle;
        xm::Sample s;
        std::string error;
        ASSERT_TRUE(xm::synthesize(recipe, s, error)) << error;
        EXPECT_NEAR(pitchAtC4(s, cycle), xm::kMiddleC, 0.2) << cycle;
        EXPECT_EQ(s.loop, xm::LOOP_FORWARD);
        EXPECT_EQ(s.loopLength, s.frames.size());
        const long high =
            std::count_if(s.frames.begin(), s.frames.end(), [](int16_t v) { return v > 0; });
        EXPECT_EQ(high, std::lround(cycle * 0.125)) << cycle;
        long sum = 0;
        for (int16_t v : s.frames) sum += v;
        EXPECT_LT(std::abs(sum / cycle), 200) << "a pulse carries no offset";
    }

    xm::WaveRecipe pad;
    pad.kind = xm::WAVE_PAD;
    xm::Sample s;
    std::string error;
    ASSERT_TRUE(xm::synthesize(pad, s, error));
    EXPECT_EQ(s.frames.size(), size_t(32 * xm::kPadCycles));
    EXPECT_NEAR(pitchAtC4(s, 32), xm::kMiddleC, 0.2);
    // The loop joins: the step from the last frame to the first is an ordinary step.
    int largest = 0;
    for (size_t i = 1; i < s.frames.size(); ++i)
        largest = std::max(largest, std::abs(s.frames[i] - s.frames[i - 1]));
    EXPECT_LE(std::abs(s.frames.front() - s.frames.back()), largest);
}

TEST(Synthesizer, DrumsAreOneShotsThatDieAway) {
    for (xm::WaveKind kind : {xm::WAVE_KICK, xm::WAVE_SNARE, xm::WAVE_HAT, xm::WAVE_NOISE}) {
        xm::WaveRecipe recipe;
        recipe.kind = kind;
        recipe.amplitude = 0.8;
        xm::Sample s;
        std::string error;
        ASSERT_TRUE(xm::synthesize(recipe, s, error)) << error;
        EXPECT_EQ(s.loop, xm::LOOP_NONE);
        int peak = 0;
        for (int16_t v : s.frames) peak = std::max(peak, std::abs(int(v)));
        EXPECT_NEAR(peak, 0.8 * 32767, 2);
        const size_t quarter = s.frames.size() / 4;
        int lastPeak = 0;
        for (size_t i = s.frames.size() - quarter; i < s.frames.size(); ++i)
            lastPeak = std::max(lastPeak, std::abs(int(s.frames[i])));
        EXPECT_LT(lastPeak, peak / 20) << kind;
        EXPECT_EQ(s.frames.back(), 0);
        // Struck with C-4 it plays at the rate it was rendered at.
        EXPECT_NEAR(xm::kC4Rate * std::pow(2.0, (s.relativeNote + s.finetune / 128.0) / 12.0),
                    xm::kDrumRate, 1);
    }
}

TEST(XmsongProgram, WritesTheSameBytesEveryTimeAndFailsCleanly) {
    test_support::ScratchDirectory scratch;
    test_support::writeText("probe.song",
                            kHead + "pattern p 4\n  1: @lead c4 e4 g4 K\nend\norder p p\n");
    test_support::writeText("bad.song", kHead + "pattern p 4\n  1: @lead c4\nend\n");
    const std::string tool = (test_support::buildDirectory() / "tools" / "xmsong").string();
    EXPECT_EQ(test_support::runProgram({tool, "probe.song", "one.xm"}, scratch.path()).exitStatus,
              0);
    EXPECT_EQ(test_support::runProgram({tool, "probe.song", "two.xm"}, scratch.path()).exitStatus,
              0);
    const std::vector<uint8_t> one = test_support::readFile("one.xm");
    EXPECT_GE(one.size(), xm::kMinimumFileSize);
    EXPECT_EQ(one, test_support::readFile("two.xm"));
    xm::Module m;
    std::string error;
    ASSERT_TRUE(xmsong::compileSong(kHead + "pattern p 4\n  1: @lead c4 e4 g4 K\nend\norder p p\n",
                                    "p", m, error));
    EXPECT_EQ(one, xm::writeModule(m));

    EXPECT_EQ(test_support::runProgram({tool, "bad.song", "bad.xm"}, scratch.path()).exitStatus, 1);
    EXPECT_EQ(test_support::runProgram({tool, "missing.song", "bad.xm"}, scratch.path()).exitStatus,
              1);
    EXPECT_FALSE(fs::exists(scratch.path() / "bad.xm"));
}

}  // namespace

namespace {

TEST(XmrenderProgram, RendersTheModuleToAWaveFileAndReportsIt) {
    test_support::ScratchDirectory scratch;
    xm::Module m;
    std::string error;
    ASSERT_TRUE(xmsong::compileSong(kHead + "pattern p 8\n  1: @lead c4:8\nend\norder p p\n", "p",
                                    m, error))
        << error;
    test_support::writeFile("probe.xm", xm::writeModule(m));
    test_support::writeText("broken.xm", "Extended Module: but nothing more");
    const std::string tool = (test_support::buildDirectory() / "tools" / "xmrender").string();

    const test_support::ChildResult played =
        test_support::runProgram({tool, "probe.xm", "probe.wav", "2"}, scratch.path());
    ASSERT_EQ(played.exitStatus, 0);
    EXPECT_NE(played.output.find("s rendered"), std::string::npos) << played.output;
    const std::vector<uint8_t> wav = test_support::readFile("probe.wav");
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 12), "WAVE");
    const uint32_t dataBytes = wav[40] | wav[41] << 8 | wav[42] << 16 | uint32_t(wav[43]) << 24;
    EXPECT_EQ(dataBytes, wav.size() - 44);
    // Two plays of 16 rows of 6 ticks at 125 bpm, 16-bit stereo at 22050 Hz.
    const double seconds = dataBytes / 4.0 / 22050.0;
    EXPECT_GE(seconds, 2 * xmsong::songSeconds(m));
    EXPECT_LE(seconds, 2 * (xmsong::songSeconds(m) + 0.2));

    EXPECT_EQ(test_support::runProgram({tool, "broken.xm"}, scratch.path()).exitStatus, 1);
}

}  // namespace
