// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole game against damaged data files. What the game cannot go without (pictures,
// sound effects, levels) ends it with one line on standard output and status 1, naming the
// first thing that could not be had; damaged music only costs the music. Archives are spoilt
// as a disk or a bad download would spoil them: cut short, a wrong magic, streams that no
// longer inflate; entries that inflate but do not decode are put into otherwise intact
// archives.

#include "game_run.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

using faults::GameDirectory;
using faults::GameResult;

using Bytes = std::vector<uint8_t>;

const faults::TrolkRun kTestMode{.arguments = {"-t"}};

int32_t readI32(const Bytes& file, size_t at) {
    return int32_t(uint32_t(file[at]) | uint32_t(file[at + 1]) << 8 | uint32_t(file[at + 2]) << 16 |
                   uint32_t(file[at + 3]) << 24);
}

struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
};

// Every way of spoiling an archive that the tests go through; each leaves the entries the
// game asks for first unloadable.
const std::vector<Damage>& archiveDamages() {
    static const std::vector<Damage> damages = {
        {"an empty file", [](Bytes& f) { f.clear(); }},
        {"cut inside the header", [](Bytes& f) { f.resize(7); }},
        {"cut inside the directory", [](Bytes& f) { f.resize(100); }},
        {"cut right after the directory", [](Bytes& f) { f.resize(size_t(readI32(f, 8)) + 16); }},
        {"a wrong magic", [](Bytes& f) { f[0] = 'X'; }},
        {"a directory larger than the file",
         [](Bytes& f) {
             f[4] = 0xFF, f[5] = 0xFF, f[6] = 0, f[7] = 0;  // 65535 entries
             const int32_t size = 12 + 52 * 65535;
             for (int i = 0; i < 4; ++i) f[8 + i] = uint8_t(uint32_t(size) >> (8 * i));
         }},
        {"every stream spoilt",
         [](Bytes& f) {
             std::vector<zda::ListedEntry> entries;
             std::string error;
             ASSERT_TRUE(zda::readDirectory(f, entries, error)) << error;
             for (const zda::ListedEntry& entry : entries)
                 f[size_t(entry.fileOffset) + 1] ^= 0x01;  // the zlib header's check fails
         }},
    };
    return damages;
}

const Damage& archiveDamage(std::string_view what) {
    for (const Damage& damage : archiveDamages())
        if (damage.what == what) return damage;
    throw std::logic_error("no such damage");
}

// Runs the test mode in a directory whose data/<archive>.zda has the damage.
GameResult runWithDamagedArchive(const std::string& archive, const Damage& damage,
                                 const Bytes& testMap = {}) {
    GameDirectory directory;
    Bytes file = faults::builtArchive(archive);
    damage.apply(file);
    directory.replaceArchive(archive, file);
    if (!testMap.empty()) directory.replaceTestMap(testMap);
    return faults::runTrolk(directory.path(), kTestMode);
}

// An archive like the built one with entries replaced (empty content: left out).
Bytes archiveWith(const std::string& archive, const std::map<std::string, Bytes>& replaced) {
    std::vector<zda::PackEntry> entries = faults::builtEntries(archive);
    EXPECT_FALSE(entries.empty()) << archive;
    std::vector<zda::PackEntry> kept;
    for (zda::PackEntry& entry : entries) {
        const auto found = replaced.find(entry.name);
        if (found == replaced.end()) kept.push_back(std::move(entry));
        else if (!found->second.empty()) kept.push_back({entry.name, found->second});
    }
    return zda::buildArchive(kept);
}

Bytes firstHalf(const Bytes& bytes) {
    return Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2);
}

Bytes builtEntry(const std::string& archive, const std::string& name) {
    for (const zda::PackEntry& entry : faults::builtEntries(archive))
        if (entry.name == name) return entry.content;
    ADD_FAILURE() << name << " is not in " << archive;
    return {};
}

const Bytes kNotAFile = test_support::bytesOf("this is no picture, no sound and no module");

TEST(DamagedArchives, PicturesAndSoundsEndTheGameNamingTheFirstEntryItAskedFor) {
    for (const auto& [archive, expected] : {std::pair{"gfx", "Error loading gfx file: font\n"},
                                            std::pair{"sound", "Can't load sound file: klonk\n"}}) {
        for (const Damage& damage : archiveDamages()) {
            SCOPED_TRACE(std::string(archive) + ", " + damage.what);
            const GameResult result = runWithDamagedArchive(archive, damage);
            EXPECT_EQ(result.output, expected);
            EXPECT_EQ(result.exitStatus, 1);
        }
    }
}

TEST(DamagedArchives, AMissingArchiveIsADamagedOne) {
    GameDirectory directory;
    std::filesystem::remove(directory.path() / "data" / "sound.zda");
    const GameResult result = faults::runTrolk(directory.path(), kTestMode);
    EXPECT_EQ(result.output, "Can't load sound file: klonk\n");
    EXPECT_EQ(result.exitStatus, 1);
}

// The test mode reads its map from maps/test.bin; the title level comes from the maps
// archive, so a normal start is needed to reach it.
TEST(DamagedArchives, TheMapsArchiveEndsTheGameAtTheTitleLevel) {
    for (const Damage& damage : archiveDamages()) {
        SCOPED_TRACE(damage.what);
        GameDirectory directory;
        Bytes file = faults::builtArchive("maps");
        damage.apply(file);
        directory.replaceArchive("maps", file);
        const GameResult result = faults::runGameInChild(
            directory.path(), {.arguments = {"-w"}, .prepare = faults::scheduleWayToTitle});
        EXPECT_EQ(result.output, "Can't load file: plan0\n");
        EXPECT_EQ(result.exitStatus, 1);
    }
}

TEST(DamagedArchives, DamagedMusicOnlySilencesTheGame) {
    const Bytes map = faults::selfFinishingTestMap();
    for (const Damage& damage :
         {archiveDamage("cut inside the directory"), archiveDamage("every stream spoilt")}) {
        SCOPED_TRACE(damage.what);
        const GameResult result = runWithDamagedArchive("music", damage, map);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_FALSE(result.timedOut);
    }
    SCOPED_TRACE("modules that are no modules");
    GameDirectory directory;
    std::map<std::string, Bytes> garbage;
    for (const zda::PackEntry& entry : faults::builtEntries("music"))
        garbage[entry.name] = kNotAFile;
    directory.replaceArchive("music", archiveWith("music", garbage));
    directory.replaceTestMap(map);
    const GameResult result = faults::runTrolk(directory.path(), kTestMode);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.exitStatus, 0);
}

TEST(DamagedEntries, PicturesAndSoundsThatDoNotDecodeEndTheGameWithSdlsReason) {
    const struct {
        const char* what;
        const char* archive;
        std::map<std::string, Bytes> replaced;
        std::string expected;
    } cases[] = {
        {"the small font is no picture",
         "gfx",
         {{"font.bmp", kNotAFile}},
         "Unable to load bitmap: File is not a Windows BMP file\n"},
        {"the small font is cut in half",
         "gfx",
         {{"font.bmp", firstHalf(builtEntry("gfx", "font.bmp"))}},
         "Unable to load bitmap: Error reading from datastream\n"},
        {"the tile sheet is no picture",
         "gfx",
         {{"newblocks.bmp", kNotAFile}},
         "Unable to load bitmap: File is not a Windows BMP file\n"},
        {"the moon is missing", "gfx", {{"moon.bmp", {}}}, "Error loading gfx file: moon\n"},
        {"the first effect is no sound",
         "sound",
         {{"klonk.wav", kNotAFile}},
         "Unable to load sound: Unrecognized sound file type\n"},
        {"a later effect is cut in half",
         "sound",
         {{"klack.wav", firstHalf(builtEntry("sound", "klack.wav"))}},
         "Unable to load sound: Error reading from datastream\n"},
        {"the last effect is missing",
         "sound",
         {{"splash.wav", {}}},
         "Can't load sound file: splash\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameDirectory directory;
        directory.replaceArchive(c.archive, archiveWith(c.archive, c.replaced));
        const GameResult result = faults::runTrolk(directory.path(), kTestMode);
        EXPECT_EQ(result.output, c.expected);
        EXPECT_EQ(result.exitStatus, 1);
    }
}

TEST(DamagedTestMap, EndsTheTestModeWithTheMapsPath) {
    const Bytes good = faults::selfFinishingTestMap();
    ASSERT_FALSE(good.empty());
    Bytes noGround = good;
    for (size_t cell = 2 + 11; cell < noGround.size(); cell += 12) noGround[cell] = 0;
    Bytes narrow(2 + 20 * 12, 21);  // 20 columns of meadow ground
    narrow[0] = 19;
    narrow[1] = 0;
    const struct {
        const char* what;
        Bytes map;
    } cases[] = {
        {"an empty file", {}},
        {"only one header byte", {20}},
        {"fewer cells than the header promises", Bytes(good.begin(), good.end() - 1)},
        {"narrower than 21 columns", narrow},
        {"nothing solid below the restart point", noGround},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GameDirectory directory;
        directory.replaceTestMap(c.map);
        const GameResult result = faults::runTrolk(directory.path(), kTestMode);
        EXPECT_EQ(result.output, "Can't load file: maps/test.bin\n");
        EXPECT_EQ(result.exitStatus, 1);
    }
    GameDirectory directory;
    std::filesystem::remove(directory.path() / "maps" / "test.bin");
    EXPECT_EQ(faults::runTrolk(directory.path(), kTestMode).output,
              "Can't load file: maps/test.bin\n");
}

}  // namespace
