// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The archive reader. Besides the rules of the format it guards against damaged or hostile
// files: a directory whose size does not match its entry count or does not fit in the file
// is refused, names must end inside their field, an entry's data must lie inside the file,
// and no entry may claim more inflated bytes than zlib can produce from its packed size.

#include "archive/archive.h"

#include <zlib.h>

#include <cstring>

#include "archive/byte_reader.h"
#include "archive/zda_format.h"

namespace archive {

ArchiveSlot archiveSlots[kArchiveCount];

namespace {

// zlib's deflate never expands data by more than about 1032:1.
constexpr int64_t kMaxInflateRatio = 1032;
constexpr int32_t kMaxUnpackedSize = 64 * 1024 * 1024;

void archivePath(ArchiveId id, char* out, size_t outSize) {
    std::snprintf(out, outSize, "%s%c%s.zda", kDataDirectory, '/', kArchiveNames[id]);
}

int64_t measureFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    return size;
}

void emptySlot(ArchiveSlot& slot) {
    if (slot.file) std::fclose(slot.file);
    slot = {};
}

}  // namespace

void openArchives() {
    for (int id = 0; id < kArchiveCount; ++id) {
        emptySlot(archiveSlots[id]);
        openArchive(ArchiveId(id));
    }
}

int openArchive(ArchiveId id) {
    ArchiveSlot& slot = archiveSlots[id];
    if (slot.directory) return 1;
    if (!slot.file) {
        char path[256];
        archivePath(id, path, sizeof path);
        slot.file = std::fopen(path, "rb");
        if (!slot.file) return 1;
        slot.fileSize = measureFile(slot.file);
    }

    uint8_t header[kArchiveHeaderSize];
    std::fseek(slot.file, 0, SEEK_SET);
    if (std::fread(header, 1, sizeof header, slot.file) != sizeof header) return 1;
    if (std::memcmp(header, kArchiveMagic, sizeof kArchiveMagic) != 0) return 1;

    ByteReader reader(header, sizeof header);
    reader.skip(sizeof kArchiveMagic);
    const int32_t count = reader.i32le();
    const int32_t directorySize = reader.i32le();
    if (count < 0 || count > kArchiveMaxEntries) return 1;
    if (directorySize != kArchiveHeaderSize + kArchiveEntrySize * count) return 1;
    if (directorySize > slot.fileSize) return 1;

    std::unique_ptr<uint8_t[]> directory(new (std::nothrow) uint8_t[directorySize]);
    if (!directory) return 1;
    std::fseek(slot.file, 0, SEEK_SET);
    if (std::fread(directory.get(), 1, size_t(directorySize), slot.file) != size_t(directorySize))
        return 1;
    slot.directory = std::move(directory);
    slot.directorySize = directorySize;
    return 0;
}

void closeArchives() {
    for (ArchiveSlot& slot : archiveSlots) emptySlot(slot);
}

std::optional<EntryLocation> findEntry(const uint8_t* directory, int32_t directorySize,
                                       const char* entryName) {
    if (!directory || directorySize < kArchiveHeaderSize) return std::nullopt;
    if (std::memcmp(directory, kArchiveMagic, sizeof kArchiveMagic) != 0) return std::nullopt;

    ByteReader reader(directory, size_t(directorySize));
    reader.skip(sizeof kArchiveMagic);
    const int32_t count = reader.i32le();
    const int32_t declaredSize = reader.i32le();
    if (count <= 0) return std::nullopt;

    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* name = reader.take(kArchiveNameSize);
        const int32_t unpackedSize = reader.i32le();
        const int32_t packedSize = reader.i32le();
        const int32_t dataOffset = reader.i32le();
        if (reader.failed()) return std::nullopt;               // the walk never leaves the image
        if (!std::memchr(name, 0, kArchiveNameSize)) continue;  // no terminator: never matches
        if (std::strcmp(reinterpret_cast<const char*>(name), entryName) != 0) continue;
        return EntryLocation{unpackedSize, packedSize, int64_t(declaredSize) + dataOffset};
    }
    return std::nullopt;
}

ResourceBuffer loadEntry(ArchiveId id, const char* entryName) {
    ArchiveSlot& slot = archiveSlots[id];
    const std::optional<EntryLocation> entry =
        findEntry(slot.directory.get(), slot.directorySize, entryName);
    if (!entry || entry->packedSize <= 0 || entry->unpackedSize <= 0) return {};

    // The stream must lie after the directory and inside the file.
    const int64_t begin = entry->fileOffset;
    const int64_t end = begin + entry->packedSize;
    if (begin < slot.directorySize || end > slot.fileSize) return {};

    std::unique_ptr<uint8_t[], FreeDeleter> packed(
        static_cast<uint8_t*>(std::malloc(size_t(entry->packedSize))));
    if (!packed) return {};
    if (!slot.file) {
        char path[256];
        archivePath(id, path, sizeof path);
        slot.file = std::fopen(path, "rb");
        if (!slot.file) return {};
    }
    if (std::fseek(slot.file, long(begin), SEEK_SET) != 0) return {};
    const size_t got = std::fread(packed.get(), 1, size_t(entry->packedSize), slot.file);

    return inflateEntry(packed.get(), int32_t(got), entry->unpackedSize);
}

ResourceBuffer inflateEntry(const uint8_t* packed, int32_t packedSize, int32_t unpackedSize) {
    if (packedSize <= 0 || unpackedSize <= 0 || unpackedSize > kMaxUnpackedSize ||
        unpackedSize > int64_t(packedSize) * kMaxInflateRatio)
        return {};
    ResourceBuffer result;
    result.bytes.reset(static_cast<uint8_t*>(std::malloc(size_t(unpackedSize))));
    if (!result.bytes) return {};
    uLongf produced = uLongf(unpackedSize);
    if (uncompress(result.bytes.get(), &produced, packed, uLong(packedSize)) != Z_OK) return {};

    unscrambleChain(result.bytes.get(), produced);
    result.size = int32_t(produced);
    return result;
}

ResourceBuffer loadResource(ArchiveId id, const char* baseName, const char* extension) {
    char entryName[kArchiveNameSize * 2];
    std::snprintf(entryName, sizeof entryName, "%s.%s", baseName, extension);
    return loadEntry(id, entryName);
}

}  // namespace archive
