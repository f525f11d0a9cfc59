// The three files the game writes are replaced whole or not at all: a write that fails
// half-way leaves the earlier file as it was, and a directory that cannot be written
// gets nothing and causes no message.

#include "persist/safe_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "persist/config.h"
#include "persist/hiscores.h"
#include "persist/savegame.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Each writer with a way to make its content differ from the previous write.
struct Writer {
    const char* file;
    bool (*writeChanged)(int round);
};

const Writer kWriters[] = {
    {"trolk.cfg",
     [](int round) {
         persist::volume = 10 * round;
         return persist::writeConfig();
     }},
    {"hiscores.dat",
     [](int round) {
         persist::hiscores.entries[0].score = 3000 + round;
         return persist::saveHiscores();
     }},
    {"savegame.dat",
     [](int round) {
         persist::writeSavegame(2 + round);
         return true;  // the game does not look at the outcome
     }},
};

std::set<std::string> filesHere() {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(".")) names.insert(e.path().filename());
    return names;
}

class SafeFileTest : public ::testing::Test {
  protected:
    void TearDown() override {
        persist::writeFault = {};
        persist::volume = persist::kMaxVolume;
        persist::hiscores = {};
    }
    test_support::ScratchDirectory scratch;
};

TEST_F(SafeFileTest, AWriteFailingHalfWayKeepsTheEarlierFile) {
    for (const Writer& w : kWriters) {
        ASSERT_TRUE(w.writeChanged(1)) << w.file;
        const std::vector<uint8_t> earlier = test_support::readFile(w.file);
        ASSERT_FALSE(earlier.empty()) << w.file;

        persist::writeFault.failAfterBytes = int64_t(earlier.size() / 2);
        const bool written = w.writeChanged(2);
        persist::writeFault = {};
        if (std::string(w.file) != "savegame.dat") {
            EXPECT_FALSE(written) << w.file;
        }
        EXPECT_EQ(test_support::readFile(w.file), earlier) << w.file;

        ASSERT_TRUE(w.writeChanged(3)) << w.file;
        EXPECT_NE(test_support::readFile(w.file), earlier) << w.file;
    }
    EXPECT_EQ(filesHere(), (std::set<std::string>{"trolk.cfg", "hiscores.dat", "savegame.dat"}));
}

TEST_F(SafeFileTest, ABlockedTemporaryFileLeavesEverythingAsItWas) {
    for (const Writer& w : kWriters) ASSERT_TRUE(w.writeChanged(1));
    std::vector<std::vector<uint8_t>> before;
    for (const Writer& w : kWriters) {
        before.push_back(test_support::readFile(w.file));
        fs::create_directory(std::string(w.file) + ".tmp");  // not even root can open it
    }
    const std::set<std::string> names = filesHere();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (const Writer& w : kWriters) w.writeChanged(2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (size_t i = 0; i < std::size(kWriters); ++i)
        EXPECT_EQ(test_support::readFile(kWriters[i].file), before[i]) << kWriters[i].file;
    EXPECT_EQ(filesHere(), names);
}

TEST_F(SafeFileTest, AVanishedDirectoryGetsNothingAndNoMessage) {
    fs::create_directory("gone");
    fs::current_path("gone");
    fs::remove(fs::current_path());  // nobody, root included, can create files here now
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(persist::writeConfig());
    EXPECT_FALSE(persist::saveHiscores());
    EXPECT_EQ(persist::writeSavegame(9), 8);  // the running game still knows the level
    persist::insertHiscore(5000, "NOBODY");
    EXPECT_EQ(persist::hiscores.entries[0].score, 5000);  // the table in memory is unaffected
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    fs::current_path(scratch.path());
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

}  // namespace
