// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The archive reader against archives of our own writer, and against damaged ones: a bad
// archive must yield nothing, never a crash, a read past a buffer or a huge allocation.

#include "archive/archive.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "archive/zda_format.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using test_support::bytesOf;

namespace {

class ArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directory("data"); }
    void TearDown() override { archive::closeArchives(); }

    // Writes data/gfx.zda from raw bytes and opens the four archives.
    void openGfx(const std::vector<uint8_t>& file) {
        test_support::writeFile("data/gfx.zda", file);
        archive::openArchives();
    }
    void openGfx(const std::vector<zda::PackEntry>& entries) {
        openGfx(zda::buildArchive(entries));
    }
    std::string load(const char* name) {
        archive::ResourceBuffer buffer = archive::loadEntry(archive::ARCHIVE_GFX, name);
        if (!buffer) return "<none>";
        return std::string(reinterpret_cast<char*>(buffer.bytes.get()), size_t(buffer.size));
    }

    test_support::ScratchDirectory scratch;
};

void putU32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
}

constexpr size_t kFirstEntry = 12;  // the table follows the 12-byte header
constexpr size_t kUnpackedField = 40, kPackedField = 44, kOffsetField = 48;

TEST(ByteChain, ScramblesAndUnscramblesAsTheFormatSays) {
    uint8_t bytes[] = {1, 2, 3};
    archive::scrambleChain(bytes, 3);
    EXPECT_EQ(bytes[0], 0x6E ^ 1);
    EXPECT_EQ(bytes[1], 2 ^ 1);
    EXPECT_EQ(bytes[2], 3 ^ 2);
    archive::unscrambleChain(bytes, 3);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[2], 3);
}

// One entry written byte by byte from the format, not by our writer: the header "ZDA\0",
// the count and the directory size 12 + 52; the entry's 40-byte name, unpacked size, packed
// size and data offset (counted from the end of the directory, here 5 bytes past it); then
// the zlib stream of the content run through the XOR chain from 0x6E.
TEST_F(ArchiveTest, ReadsAnArchiveMadeByHandFromTheFormat) {
    const std::string content = "made by hand";
    std::vector<uint8_t> chained(content.begin(), content.end());
    uint8_t previous = 0x6E;
    for (uint8_t& byte : chained) {
        const uint8_t plain = byte;
        byte ^= previous;
        previous = plain;
    }
    uLongf packedSize = compressBound(uLong(chained.size()));
    std::vector<uint8_t> packed(packedSize);
    ASSERT_EQ(compress(packed.data(), &packedSize, chained.data(), uLong(chained.size())), Z_OK);
    packed.resize(packedSize);

    std::vector<uint8_t> file(64 + 5 + packed.size(), 0xEE);
    std::memcpy(&file[0], "ZDA", 4);
    putU32(file, 4, 1);
    putU32(file, 8, 64);
    std::memset(&file[12], 0, 40);
    std::memcpy(&file[12], "hand.bmp", 8);
    putU32(file, 52, uint32_t(content.size()));
    putU32(file, 56, uint32_t(packed.size()));
    putU32(file, 60, 5);
    std::memcpy(&file[64 + 5], packed.data(), packed.size());
    openGfx(file);
    EXPECT_EQ(load("hand.bmp"), content);
}

TEST_F(ArchiveTest, LoadsEveryEntryBackByBaseNameAndExtension) {
    std::vector<uint8_t> big(100000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7 + i / 300);
    openGfx({{"logo.bmp", bytesOf("a picture")}, {"big.bin", big}, {"x.wav", bytesOf("s")}});

    archive::ResourceBuffer logo = archive::loadResource(archive::ARCHIVE_GFX, "logo", "bmp");
    ASSERT_TRUE(logo);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(logo.bytes.get()), size_t(logo.size)),
              "a picture");
    archive::ResourceBuffer loaded = archive::loadResource(archive::ARCHIVE_GFX, "big", "bin");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded.size, int32_t(big.size()));
    EXPECT_EQ(std::memcmp(loaded.bytes.get(), big.data(), big.size()), 0);
    EXPECT_EQ(load("x.wav"), "s");
    EXPECT_EQ(load("logo"), "<none>");
    EXPECT_FALSE(archive::loadResource(archive::ARCHIVE_MUSIC, "logo", "bmp"));  // no file
}

TEST_F(ArchiveTest, LoadingTwiceGivesTwoIndependentEqualBuffers) {
    openGfx({{"a.bmp", bytesOf("same bytes")}});
    archive::ResourceBuffer first = archive::loadEntry(archive::ARCHIVE_GFX, "a.bmp");
    archive::ResourceBuffer second = archive::loadEntry(archive::ARCHIVE_GFX, "a.bmp");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.bytes.get(), second.bytes.get());
    EXPECT_EQ(std::memcmp(first.bytes.get(), second.bytes.get(), size_t(first.size)), 0);
}

TEST_F(ArchiveTest, NamesAreExactCaseSensitiveAndTheFirstOfTwoWins) {
    const std::string longest(39, 'n');
    openGfx({{"dup.bmp", bytesOf("first")},
             {"Dup.bmp", bytesOf("other case")},
             {"dup.bmp", bytesOf("second")},
             {longest, bytesOf("long")}});
    EXPECT_EQ(load("dup.bmp"), "first");
    EXPECT_EQ(load("Dup.bmp"), "other case");
    EXPECT_EQ(load("DUP.BMP"), "<none>");
    EXPECT_EQ(load(longest.c_str()), "long");
}

TEST_F(ArchiveTest, ANameFillingItsWholeFieldIsNeverMatched) {
    std::vector<uint8_t> file = zda::buildArchive({{"abc", bytesOf("x")}});
    std::memset(&file[kFirstEntry], 'a', 40);
    openGfx(file);
    EXPECT_EQ(load(std::string(40, 'a').c_str()), "<none>");
    EXPECT_EQ(load(std::string(39, 'a').c_str()), "<none>");
}

TEST_F(ArchiveTest, OpenArchiveReportsWhetherItJustReadTheDirectory) {
    test_support::writeFile("data/gfx.zda", zda::buildArchive({{"a", bytesOf("x")}}));
    EXPECT_EQ(archive::openArchive(archive::ARCHIVE_GFX), 0);
    EXPECT_EQ(archive::openArchive(archive::ARCHIVE_GFX), 1);
    EXPECT_EQ(archive::openArchive(archive::ARCHIVE_SOUND), 1);  // no such file
}

// Every damaged archive behaves as one without entries, or fails the one load it spoils.
TEST_F(ArchiveTest, DamagedArchivesYieldNothing) {
    const std::vector<uint8_t> good = zda::buildArchive({{"a.bmp", bytesOf("content")}});
    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const std::vector<Damage> damages = {
        {"wrong magic", [](auto& f) { f[2] = 'X'; }},
        {"shorter than the header", [](auto& f) { f.resize(8); }},
        {"count with the top bit set", [](auto& f) { putU32(f, 4, 0x80000001u); }},
        {"count of zero", [](auto& f) { putU32(f, 4, 0); }},
        {"directory size not matching the count", [](auto& f) { putU32(f, 8, 12 + 52 * 2); }},
        {"directory larger than the file",
         [](auto& f) {
             putU32(f, 4, 1000);
             putU32(f, 8, 12 + 52 * 1000);
         }},
        {"directory cut short", [](auto& f) { f.resize(40); }},
        {"unpacked size zero", [](auto& f) { putU32(f, kFirstEntry + kUnpackedField, 0); }},
        {"packed size zero", [](auto& f) { putU32(f, kFirstEntry + kPackedField, 0); }},
        {"negative packed size", [](auto& f) { putU32(f, kFirstEntry + kPackedField, -5); }},
        {"data offset past the end",
         [](auto& f) { putU32(f, kFirstEntry + kOffsetField, 1 << 30); }},
        {"data offset into the directory",
         [](auto& f) { putU32(f, kFirstEntry + kOffsetField, uint32_t(-20)); }},
        {"huge unpacked size",
         [](auto& f) { putU32(f, kFirstEntry + kUnpackedField, 0x7FFFFFFF); }},
        {"unpacked size too small for the stream",
         [](auto& f) { putU32(f, kFirstEntry + kUnpackedField, 3); }},
        {"data cut short", [](auto& f) { f.resize(f.size() - 4); }},
        {"corrupted stream",
         [](auto& f) {
             f[f.size() - 6] ^= 0x55;
             f[f.size() - 3] ^= 0xAA;
         }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> file = good;
        damage.apply(file);
        archive::closeArchives();
        openGfx(file);
        EXPECT_EQ(load("a.bmp"), "<none>");
    }
}

TEST_F(ArchiveTest, UnscramblesOverTheBytesInflationProduced) {
    // An entry claiming more bytes than its stream holds hands back what the stream held.
    std::vector<uint8_t> file = zda::buildArchive({{"a", bytesOf("12345")}});
    putU32(file, kFirstEntry + kUnpackedField, 9);
    openGfx(file);
    archive::ResourceBuffer buffer = archive::loadEntry(archive::ARCHIVE_GFX, "a");
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer.size, 5);
    EXPECT_EQ(std::memcmp(buffer.bytes.get(), "12345", 5), 0);
}

}  // namespace
