// The three files the game writes are replaced whole or not at all: a write that fails
// half-way leaves the earlier file, and a directory that cannot be written gets nothing
// and causes no message.

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

// Each file with a write whose content differs from round to round; true when written.
bool writeConfig(int round) {
    persist::volume = 10 * round;
    return persist::writeConfig();
}
bool saveHiscores(int round) {
    persist::hiscores.entries[0].score = round;
    return persist::saveHiscores();
}
bool writeSavegame(int round) {
    persist::writeSavegame(2 + round);
    return persist::readSavegame() == 1 + round;
}
const std::pair<const char*, bool (*)(int)> kWriters[] = {
    {"trolk.cfg", writeConfig}, {"hiscores.dat", saveHiscores}, {"savegame.dat", writeSavegame}};

std::set<std::string> filesHere() {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator("."))
        names.insert(e.path().filename());
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
    for (const auto& [file, write] : kWriters) {
        ASSERT_TRUE(write(1)) << file;
        const std::vector<uint8_t> earlier = test_support::readFile(file);
        persist::writeFault.failAfterBytes = int64_t(earlier.size() / 2);
        EXPECT_FALSE(write(2)) << file;
        persist::writeFault = {};
        EXPECT_EQ(test_support::readFile(file), earlier) << file;
        EXPECT_TRUE(write(3)) << file;
    }
    EXPECT_EQ(filesHere(), (std::set<std::string>{"trolk.cfg", "hiscores.dat", "savegame.dat"}));
}

TEST_F(SafeFileTest, UnwritablePlacesGetNothingAndNoMessage) {
    std::vector<std::vector<uint8_t>> before;
    for (const auto& [file, write] : kWriters) {
        ASSERT_TRUE(write(1));
        before.push_back(test_support::readFile(file));
        fs::create_directory(std::string(file) + ".tmp");  // not even root can open that
    }
    const std::set<std::string> names = filesHere();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    for (const auto& [file, write] : kWriters) EXPECT_FALSE(write(2)) << file;
    EXPECT_EQ(filesHere(), names);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(test_support::readFile(kWriters[i].first), before[i]) << kWriters[i].first;

    fs::create_directory("gone");
    fs::current_path("gone");
    fs::remove(fs::current_path());  // nobody can create files here any more
    EXPECT_FALSE(persist::writeConfig());
    EXPECT_FALSE(persist::saveHiscores());
    EXPECT_EQ(persist::writeSavegame(9), 8);  // the running game still knows the level
    EXPECT_EQ(persist::insertHiscore(5000, "NOBODY"), 0);
    EXPECT_EQ(persist::hiscores.entries[0].score, 5000);  // the table in memory is unaffected
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
