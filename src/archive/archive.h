// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The four resource archives of the game (pictures, music, levels, sounds). Each archive
// file stays open for the whole run and its directory is kept in memory; an entry is read,
// inflated and unscrambled anew on every load, into a buffer the caller owns.
//
// Bad archives never stop the game here: a missing or damaged file simply has no entries,
// and a load that cannot be done yields an empty buffer. The callers decide what is fatal.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace archive {

enum ArchiveId : int { ARCHIVE_GFX = 0, ARCHIVE_MUSIC = 1, ARCHIVE_MAPS = 2, ARCHIVE_SOUND = 3 };
constexpr int kArchiveCount = 4;
constexpr const char* kArchiveNames[kArchiveCount] = {"gfx", "music", "maps", "sound"};
constexpr const char* kDataDirectory = "./data";

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// What a load hands back: exactly the produced bytes, owned by the caller.
struct ResourceBuffer {
    std::unique_ptr<uint8_t[], FreeDeleter> bytes;
    int32_t size = 0;  // bytes produced by inflation

    explicit operator bool() const { return bytes != nullptr; }
};

// Where an entry lies: sizes and the absolute file offset of its zlib stream.
struct EntryLocation {
    int32_t unpackedSize = 0;
    int32_t packedSize = 0;
    int64_t fileOffset = 0;
};

struct ArchiveSlot {
    std::FILE* file = nullptr;
    std::unique_ptr<uint8_t[]> directory;  // header and entry table, or none
    int32_t directorySize = 0;             // bytes in `directory`
    int64_t fileSize = 0;                  // bytes in the archive file
};

extern ArchiveSlot archiveSlots[kArchiveCount];

// Empties each slot and opens archives 0..3 in order; failures leave a slot empty.
void openArchives();
// Opens one archive and reads its directory: 0 when just read, 1 when already present,
// when the file cannot be opened or when its header or directory is not sound.
int openArchive(ArchiveId id);
// Closes every archive file and frees every directory.
void closeArchives();

// Loads "<baseName>.<extension>" from the archive; an empty buffer when that fails.
[[nodiscard]] ResourceBuffer loadResource(ArchiveId id, const char* baseName,
                                          const char* extension);
// Loads the entry of that exact name (case-sensitive); an empty buffer when that fails.
[[nodiscard]] ResourceBuffer loadEntry(ArchiveId id, const char* entryName);
// Inflates one packed entry and undoes its byte chain; empty when the stream is damaged or
// cannot produce the size it claims.
ResourceBuffer inflateEntry(const uint8_t* packed, int32_t packedSize, int32_t unpackedSize);
// Looks a name up in a directory image; the first entry of that name wins.
std::optional<EntryLocation> findEntry(const uint8_t* directory, int32_t directorySize,
                                       const char* entryName);

}  // namespace archive
