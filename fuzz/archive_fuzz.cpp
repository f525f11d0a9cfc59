// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole archive files, read the way the game reads them.
//
// Each input becomes data/gfx.zda in a working directory of this process's own (in memory
// when /dev/shm is there); the reader opens the archives, and every entry its directory
// names is loaded, then a few names that no archive of ours holds and the ones the game
// asks for first. A loaded entry must be one the directory holds, come back with no more
// bytes than the directory promised, and every byte of it is read, so that a buffer
// shorter than its size shows.

#include "archive/archive.h"
#include "archive/byte_reader.h"
#include "archive/zda_format.h"
#include "require.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxEntriesLoaded = 64;
constexpr const char* kMadeUpNames[] = {
    "",
    "font.bmp",
    "plan0.bin",
    "klonk.wav",
    "turbochip.xm",
    ".",
    "a",
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",  // 39 characters, the longest a name can be
};

volatile uint8_t sink;

// Loads one entry; what comes back must be an entry the directory holds, no larger than
// its directory says, and readable to its last byte.
void loadAndTouch(const char* name) {
    archive::ResourceBuffer buffer = archive::loadEntry(archive::ARCHIVE_GFX, name);
    if (!buffer) return;
    const archive::ArchiveSlot& slot = archive::archiveSlots[archive::ARCHIVE_GFX];
    const std::optional<archive::EntryLocation> entry =
        archive::findEntry(slot.directory.get(), slot.directorySize, name);
    REQUIRE(entry.has_value());
    REQUIRE(buffer.size > 0 && buffer.size <= entry->unpackedSize);
    uint8_t sum = 0;
    for (int32_t i = 0; i < buffer.size; ++i) sum ^= buffer.bytes[size_t(i)];
    sink = sum;
}

// Loads every entry the directory in memory names, as far as the names are terminated.
void loadListedEntries() {
    const archive::ArchiveSlot& slot = archive::archiveSlots[archive::ARCHIVE_GFX];
    if (!slot.directory) return;
    archive::ByteReader reader(slot.directory.get(), size_t(slot.directorySize));
    reader.skip(sizeof archive::kArchiveMagic);
    const int32_t count = reader.i32le();
    reader.skip(4);
    for (int32_t i = 0; i < count && i < kMaxEntriesLoaded; ++i) {
        const uint8_t* field = reader.take(archive::kArchiveNameSize);
        reader.skip(archive::kArchiveEntrySize - archive::kArchiveNameSize);
        if (reader.failed()) return;
        char name[archive::kArchiveNameSize + 1] = {};
        std::memcpy(name, field, archive::kArchiveNameSize);
        loadAndTouch(name);
    }
}

std::string workingDirectory;

void removeWorkingDirectory() {
    std::remove((workingDirectory + "/data/gfx.zda").c_str());
    rmdir((workingDirectory + "/data").c_str());
    rmdir(workingDirectory.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/trolk-archive-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0 || mkdir("data", 0700) != 0) {
        std::perror("archive fuzzer: no working directory");
        std::exit(1);
    }
    workingDirectory = pattern;
    std::atexit(removeWorkingDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen("data/gfx.zda", "wb");
    if (!file) std::abort();
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);

    archive::openArchives();
    loadListedEntries();
    for (const char* name : kMadeUpNames) loadAndTouch(name);
    // A name longer than any entry's field can hold is never found; an archive that is not
    // there has nothing.
    const std::string longName(2 * archive::kArchiveNameSize, 'x');
    REQUIRE(!archive::loadResource(archive::ARCHIVE_GFX, longName.c_str(), "bmp"));
    REQUIRE(!archive::loadResource(archive::ARCHIVE_MUSIC, "font", "bmp"));
    archive::closeArchives();
    return 0;
}
