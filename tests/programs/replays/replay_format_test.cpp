// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The replay text: controls and counts survive a round trip, equal frames share a line, and
// every malformed line is refused with its line number.

#include "replay.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

world::Controls controls(bool left, bool right, bool jump, bool down) {
    return world::Controls{left, right, jump, down};
}

TEST(ReplayFormat, EveryControlCombinationRoundTripsFrameByFrame) {
    // Every legal combination, in runs of different lengths, some of them next to an equal run.
    std::vector<world::Controls> frames;
    int length = 1;
    for (int bits = 0; bits < 16; ++bits) {
        const world::Controls c = controls(bits & 1, bits & 2, bits & 4, bits & 8);
        if (c.left && c.right) continue;
        for (int repeat = 0; repeat < 1 + bits % 2; ++repeat)
            frames.insert(frames.end(), size_t(length++), c);
    }
    const replay::Replay original = replay::replayOf("plan8", 912, 128, frames);
    // Equal neighbours share a line: one line per combination.
    EXPECT_EQ(original.runs.size(), 12u);

    const std::string text = replay::formatReplay(original, {"a comment", "another"});
    replay::ParseError error;
    const std::optional<replay::Replay> parsed = replay::parseReplay(text, error);
    ASSERT_TRUE(parsed) << error.line << ": " << error.message << "\n" << text;
    EXPECT_EQ(parsed->level, "plan8");
    EXPECT_EQ(parsed->startX, 912);
    EXPECT_EQ(parsed->startY, 128);
    EXPECT_EQ(parsed->frameCount(), int32_t(frames.size()));
    const std::vector<world::Controls> back = parsed->frames();
    ASSERT_EQ(back.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(replay::sameControls(back[i], frames[i])) << "frame " << i;
    EXPECT_EQ(replay::formatReplay(*parsed, {"a comment", "another"}), text);
}

TEST(ReplayFormat, ControlNamesUseTheLettersInOneOrder) {
    EXPECT_EQ(replay::controlsName(controls(false, false, false, false)), "-");
    EXPECT_EQ(replay::controlsName(controls(true, false, true, true)), "LJD");
    // Any order is read, the written order is fixed.
    const std::optional<world::Controls> c = replay::parseControls("DJR");
    ASSERT_TRUE(c);
    EXPECT_EQ(replay::controlsName(*c), "RJD");
}

TEST(ReplayFormat, FileNamesTellTheStartApart) {
    replay::Replay way;
    way.level = "plan8";
    EXPECT_EQ(replay::replayFileName(way), "plan8.rpl");
    way.startX = 57 * 16;
    way.startY = 8 * 16;
    EXPECT_EQ(replay::replayFileName(way), "plan8@57.rpl");
    EXPECT_EQ(replay::replayFileName(way, true), "plan8@57.8.rpl");
}

struct Malformed {
    const char* text;
    int line;
    const char* says;  // a part of the message
};

TEST(ReplayFormat, MalformedTextIsRefusedWithItsLine) {
    const std::string head = "level plan8\nstart 16 100\nframes 5\n";
    const std::vector<Malformed> cases = {
        {"level plan8\nstart 16 100\nframes 5\nR 5\nend\nR 1\n", 6, "after \"end\""},
        {"level plan8\nlevel plan9\n", 2, "second \"level\""},
        {"level plan 8\n", 1, "level name"},
        {"level ../x\n", 1, "level name"},
        {"level plan8\nstart 16\n", 2, "two whole numbers"},
        {"level plan8\nstart 16 1x0\n", 2, "two whole numbers"},
        {"level plan8\nstart 16 100\nframes -3\n", 3, "frames"},
        {"level plan8\nR 5\n", 2, "before the"},
        {"level plan8\nstart 16 100\nframes 5\nLR 5\nend\n", 4, "never L with R"},
        {"level plan8\nstart 16 100\nframes 5\nRR 5\nend\n", 4, "unknown controls"},
        {"level plan8\nstart 16 100\nframes 5\nRX 5\nend\n", 4, "unknown controls"},
        {"level plan8\nstart 16 100\nframes 5\nr 5\nend\n", 4, "unknown controls"},
        {"level plan8\nstart 16 100\nframes 5\nR 0\nend\n", 4, "frame count"},
        {"level plan8\nstart 16 100\nframes 5\nR\nend\n", 4, "frame count"},
        {"level plan8\nstart 16 100\nframes 5\nR 2 3\nend\n", 4, "frame count"},
        {"level plan8\nstart 16 100\nframes 5\nR 3\n\n; note\nJ 3\nend\n", 7, "more frames"},
        {"level plan8\nstart 16 100\nframes 5\nR 3\nend\n", 5, "hold 3 frames"},
        {"level plan8\nstart 16 100\nframes 5\nR 5\n", 4, "no \"end\""},
        {"start 16 100\nframes 0\nend\n", 3, "no \"level\""},
        {"level plan8\nstart 16 100\nframes 5\nR 5\nend x\n", 5, "alone"},
    };
    for (const Malformed& c : cases) {
        replay::ParseError error;
        EXPECT_FALSE(replay::parseReplay(c.text, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text << error.message;
        EXPECT_NE(error.message.find(c.says), std::string::npos)
            << c.text << "said: " << error.message;
    }
    // The same lines with comments, blanks and Windows line ends around them are fine.
    replay::ParseError error;
    EXPECT_TRUE(replay::parseReplay("; x\r\n\r\n" + head + "  R 2\r\n-  3\nend\n", error))
        << error.line << ": " << error.message;
}

}  // namespace
