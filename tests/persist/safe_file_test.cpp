// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's three files on a real file system, as the user the tests run as and, where the
// tests may switch users, once more as an unprivileged one: what reads as no file, and what a
// save does with read-only files, links, folders that take no new files, things that are no
// regular file, and a disk that fills up half-way. A save that fails leaves the old file and
// says so in one line on standard error.

#include "persist/safe_file.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "persist/config.h"
#include "persist/hiscores.h"
#include "persist/savegame.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

const std::vector<uint8_t> kOldBytes = {'o', 'l', 'd'};

bool isConfigText(const std::vector<uint8_t>& bytes) {
    char text[persist::kConfigTextBytes];
    const size_t size = persist::formatConfig(text);
    return bytes == std::vector<uint8_t>(text, text + size);
}
bool isHiscoreTable(const std::vector<uint8_t>& bytes) {
    uint8_t table[persist::kHiscoreFileBytes];
    persist::encodeHiscores(table);
    return bytes == std::vector<uint8_t>(std::begin(table), std::end(table));
}
bool isSavegameOfLevel4(const std::vector<uint8_t>& bytes) {
    return persist::decodeSavegame(bytes.data(), bytes.size()) == 4;
}

// Each file, saved as the game saves it, and how to tell its new content.
struct Writer {
    const char* file;
    void (*save)();
    bool (*holdsNewContent)(const std::vector<uint8_t>&);
};
const Writer kWriters[] = {
    {"trolk.cfg", [] { persist::writeConfig(); }, isConfigText},
    {"hiscores.dat", [] { persist::saveHiscores(); }, isHiscoreTable},
    {"savegame.dat", [] { persist::writeSavegame(5); }, isSavegameOfLevel4},
};

// Makes a file of the old content with this mode.
void put(const std::string& path, mode_t mode) {
    test_support::writeFile(path, kOldBytes);
    chmod(path.c_str(), mode);
}
void link(const std::string& target, const std::string& name) {
    ASSERT_EQ(symlink(target.c_str(), name.c_str()), 0) << name;
}

// How things stand before a save, made in an empty folder by the user who saves; returns
// where the content is to land.
struct SaveCase {
    const char* what;
    std::string (*prepare)(const std::string& file);
    const char* outcome;         // as root
    const char* unprivileged{};  // as anyone else, where it differs
};

const SaveCase kSaveCases[] = {
    {"a new file, made with the mode a plain write gives",
     [](const std::string& file) { return file; }, "new 644"},
    {"a file keeps the mode the player gave it",
     [](const std::string& file) {
         put(file, 0640);
         return file;
     },
     "new 640"},
    {"a read-only file is neither replaced nor written",
     [](const std::string& file) {
         put(file, 0444);
         return file;
     },
     "old 444 / Permission denied"},
    {"through links, a relative one counting from its own folder, to another folder",
     [](const std::string& file) {
         fs::create_directory("elsewhere");
         put("elsewhere/" + file, 0600);
         link(file, "elsewhere/link");
         link("elsewhere/link", file);
         return "elsewhere/" + file;
     },
     "new 600 link"},
    {"through a link to no file yet",
     [](const std::string& file) {
         fs::create_directory("elsewhere");
         link("elsewhere/" + file, file);
         return "elsewhere/" + file;
     },
     "new 644 link"},
    {"through a link to a read-only file",
     [](const std::string& file) {
         fs::create_directory("elsewhere");
         put("elsewhere/" + file, 0444);
         link("elsewhere/" + file, file);
         return "elsewhere/" + file;
     },
     "old 444 link / Permission denied"},
    {"a folder that takes no new files: written in place",
     [](const std::string& file) {
         put(file, 0666);
         chmod(".", 0555);
         return file;
     },
     "new 666"},
    {"a new file in a folder that takes no new files",
     [](const std::string& file) {
         chmod(".", 0555);
         return file;
     },
     "new 644", "none / Permission denied"},
    {"a stale temporary file is replaced",
     [](const std::string& file) {
         put(file, 0600);
         put(file + ".tmp", 0400);
         return file;
     },
     "new 600"},
    {"a folder in the way of the temporary file: written in place",
     [](const std::string& file) {
         put(file, 0600);
         fs::create_directory(file + ".tmp");
         return file;
     },
     "new 600 +tmp"},
    {"a folder by the file's name",
     [](const std::string& file) {
         fs::create_directory(file);
         return file;
     },
     "folder / Is a directory"},
    {"a pipe by the file's name is not replaced",
     [](const std::string& file) {
         mkfifo(file.c_str(), 0666);
         return file;
     },
     "pipe / No such device or address"},
    {"a disk that fills up half-way keeps the old file",
     [](const std::string& file) {
         put(file, 0600);
         persist::writeFault.failAfterBytes = 2;
         return file;
     },
     "old 600 / No space left on device"},
    {"a working folder that is gone",
     [](const std::string& file) {
         fs::create_directory("gone");
         fs::current_path("gone");
         fs::remove(fs::current_path());
         return file;
     },
     "none / No such file or directory"},
};

std::string stateOf(const Writer& writer, const std::string& path) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return "none";
    if (S_ISDIR(status.st_mode)) return "folder";
    if (S_ISFIFO(status.st_mode)) return "pipe";
    const std::vector<uint8_t> bytes = test_support::readFile(path);
    std::ostringstream text;
    text << (bytes == kOldBytes              ? "old"
             : writer.holdsNewContent(bytes) ? "new"
                                             : "broken")
         << " " << std::oct << (status.st_mode & 0777);
    return text.str();
}

bool anyTemporaryFileIn(const fs::path& folder) {
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder))
        if (e.path().extension() == ".tmp") return true;
    return false;
}

// Saves the file in a fresh folder prepared by the case; what became of it, in the words of
// the outcome column.
std::string saveAndDescribe(const SaveCase& c, const Writer& writer) {
    const fs::path home = fs::current_path();
    const fs::path folder = home / "case";
    fs::create_directory(folder);
    fs::current_path(folder);
    const mode_t umaskBefore = umask(022);
    const std::string target = c.prepare(writer.file);
    testing::internal::CaptureStderr();
    writer.save();
    const std::string message = testing::internal::GetCapturedStderr();
    persist::writeFault = {};
    umask(umaskBefore);

    std::string outcome = stateOf(writer, target);
    if (fs::is_symlink(writer.file)) outcome += " link";
    fs::current_path(home);
    chmod(folder.c_str(), 0755);
    if (anyTemporaryFileIn(folder)) outcome += " +tmp";
    const std::string lead = std::string("Can't save ") + writer.file + ": ";
    if (message.rfind(lead, 0) == 0 && message.back() == '\n' &&
        message.find('\n') == message.size() - 1)
        outcome += " / " + message.substr(lead.size(), message.size() - lead.size() - 1);
    else if (!message.empty()) outcome += " / unexpected message: " + message;
    fs::remove_all(folder);
    return outcome;
}

std::string expectedOutcome(const SaveCase& c, bool privileged) {
    return !privileged && c.unprivileged ? c.unprivileged : c.outcome;
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

TEST_F(SafeFileTest, SavesByTheRulesOfEachCase) {
    const bool root = geteuid() == 0;
    for (const Writer& writer : kWriters)
        for (const SaveCase& c : kSaveCases)
            EXPECT_EQ(saveAndDescribe(c, writer), expectedOutcome(c, root))
                << writer.file << ": " << c.what;
}

TEST_F(SafeFileTest, SavesByTheRulesOfEachCaseAsAnUnprivilegedUser) {
    if (geteuid() != 0)
        GTEST_SKIP() << "the tests run unprivileged already, and cannot switch users";
    const struct passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    fs::permissions(scratch.path(), fs::perms::all);
    const test_support::ChildResult result = test_support::runInChild([&] {
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) {
            std::printf("cannot become uid %d\n", int(uid));
            return;
        }
        for (const Writer& writer : kWriters)
            for (const SaveCase& c : kSaveCases)
                std::printf("%s\n", saveAndDescribe(c, writer).c_str());
    });
    std::string expected;
    for (size_t w = 0; w < std::size(kWriters); ++w)
        for (const SaveCase& c : kSaveCases) expected += expectedOutcome(c, false) + "\n";
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, expected);
}

TEST_F(SafeFileTest, ReadsOnlyRegularFilesAndNeverMoreThanTheCap) {
    const struct {
        const char* what;
        void (*make)();
        size_t limit;
        size_t size;  // 0: no file
    } cases[] = {
        {"a file", [] { test_support::writeText("f", "abc"); }, 1000, 3},
        {"up to the limit asked", [] { test_support::writeText("f", std::string(200, 'x')); }, 160,
         160},
        {"an empty file is no file", [] { test_support::writeText("f", ""); }, 1000, 0},
        {"no file", [] {}, 1000, 0},
        {"a folder", [] { fs::create_directory("f"); }, 1000, 0},
        {"a pipe nobody writes to", [] { mkfifo("f", 0666); }, 1000, 0},
        {"a terabyte file: 64 KiB of it",
         [] {
             test_support::writeText("f", "volume=50\n");
             fs::resize_file("f", uint64_t(1) << 40);
         },
         SIZE_MAX, 65536},
    };
    for (const auto& c : cases) {
        c.make();
        const persist::FileBytes file = persist::readWholeFile("f", c.limit);
        EXPECT_EQ(file.size, c.size) << c.what;
        EXPECT_EQ(bool(file), c.size > 0) << c.what;
        fs::remove_all("f");
    }
}

TEST_F(SafeFileTest, AFolderByTheNameOfAFileReadsAsNoFileAndTheGameGoesOn) {
    for (const char* name : {"trolk.cfg", "hiscores.dat", "savegame.dat"})
        fs::create_directory(name);
    persist::volume = 64;
    persist::readConfig();
    EXPECT_EQ(persist::volume, 64);

    testing::internal::CaptureStderr();
    persist::loadHiscores(1);  // a fresh table, which cannot be saved
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Can't save hiscores.dat: Is a directory\n");
    EXPECT_EQ(persist::hiscores.entries[9].kind, persist::HISCORE_DEFAULT);
    EXPECT_GE(persist::hiscores.entries[9].score, 250);

    EXPECT_EQ(persist::readSavegame(), 0);
    for (const char* name : {"trolk.cfg", "hiscores.dat", "savegame.dat"})
        EXPECT_TRUE(fs::is_directory(name)) << name;
}

}  // namespace
