// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "zda_writer.h"

#include <zlib.h>

#include <cstring>

#include "archive/byte_reader.h"
#include "archive/zda_format.h"

namespace zda {

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> pack(const std::vector<uint8_t>& content) {
    std::vector<uint8_t> scrambled = content;
    archive::scrambleChain(scrambled.data(), scrambled.size());
    uLongf packedSize = compressBound(uLong(scrambled.size()));
    std::vector<uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, scrambled.data(), uLong(scrambled.size()),
              Z_BEST_COMPRESSION);
    packed.resize(packedSize);
    return packed;
}

}  // namespace

std::vector<uint8_t> buildArchive(const std::vector<PackEntry>& entries) {
    const int32_t count = int32_t(entries.size());
    const int32_t directorySize = archive::kArchiveHeaderSize + archive::kArchiveEntrySize * count;

    std::vector<uint8_t> out(archive::kArchiveMagic, archive::kArchiveMagic + 4);
    putU32(out, uint32_t(count));
    putU32(out, uint32_t(directorySize));

    std::vector<uint8_t> data;
    for (const PackEntry& entry : entries) {
        const std::vector<uint8_t> packed = pack(entry.content);
        char name[archive::kArchiveNameSize] = {};
        std::strncpy(name, entry.name.c_str(), sizeof name - 1);
        out.insert(out.end(), name, name + sizeof name);
        putU32(out, uint32_t(entry.content.size()));
        putU32(out, uint32_t(packed.size()));
        putU32(out, uint32_t(data.size()));
        data.insert(data.end(), packed.begin(), packed.end());
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

bool readDirectory(const std::vector<uint8_t>& file, std::vector<ListedEntry>& entries,
                   std::string& error) {
    archive::ByteReader reader(file.data(), file.size());
    const uint8_t* magic = reader.take(4);
    const int32_t count = reader.i32le();
    const int32_t directorySize = reader.i32le();
    if (reader.failed() || std::memcmp(magic, archive::kArchiveMagic, 4) != 0) {
        error = "not a ZDA archive (bad magic or shorter than its header)";
        return false;
    }
    if (count < 0 || count > archive::kArchiveMaxEntries ||
        directorySize != archive::kArchiveHeaderSize + archive::kArchiveEntrySize * count ||
        size_t(directorySize) > file.size()) {
        error = "damaged directory (entry count " + std::to_string(count) + ", directory size " +
                std::to_string(directorySize) + ", file size " + std::to_string(file.size()) + ")";
        return false;
    }
    entries.clear();
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* name = reader.take(archive::kArchiveNameSize);
        ListedEntry entry;
        if (std::memchr(name, 0, archive::kArchiveNameSize))
            entry.name = reinterpret_cast<const char*>(name);
        else entry.name.assign(reinterpret_cast<const char*>(name), archive::kArchiveNameSize);
        entry.unpackedSize = reader.i32le();
        entry.packedSize = reader.i32le();
        entry.fileOffset = int64_t(directorySize) + reader.i32le();
        entries.push_back(entry);
    }
    return true;
}

}  // namespace zda
