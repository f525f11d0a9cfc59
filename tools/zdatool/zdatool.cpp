// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// zdatool: makes, lists, extracts and checks the game's ZDA archives.
//
//   zdatool pack OUT.zda FILE...      entry names are the files' names
//   zdatool list ARCHIVE.zda          name, unpacked and packed size of every entry
//   zdatool extract ARCHIVE.zda [DIR] writes every entry into DIR (default: .)
//   zdatool verify ARCHIVE.zda        every entry must inflate to its stated size
//
// Errors are one line on standard error and exit status 1.

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/zda_format.h"
#include "tool_files.h"
#include "zda_writer.h"

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "zdatool: %s\n", message.c_str());
    return 1;
}

int pack(const std::string& output, const std::vector<std::string>& inputs) {
    std::vector<zda::PackEntry> entries;
    std::set<std::string> names;
    for (const std::string& input : inputs) {
        zda::PackEntry entry;
        entry.name = fs::path(input).filename().string();
        if (entry.name.size() >= size_t(archive::kArchiveNameSize))
            return fail("entry name longer than 39 characters: " + entry.name);
        if (!names.insert(entry.name).second) return fail("two files named " + entry.name);
        if (!tool_files::readFile(input, entry.content)) return fail("cannot read " + input);
        if (entry.content.empty()) return fail("empty file (the game cannot load it): " + input);
        entries.push_back(std::move(entry));
    }
    if (!tool_files::writeFileReplacing(output, zda::buildArchive(entries)))
        return fail("cannot write " + output);
    return 0;
}

bool openArchiveFile(const std::string& path, std::vector<uint8_t>& file,
                     std::vector<zda::ListedEntry>& entries, std::string& error) {
    if (!tool_files::readFile(path, file)) {
        error = "cannot read " + path;
        return false;
    }
    if (!zda::readDirectory(file, entries, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

// The entry's content exactly as the game would load it, or an empty buffer with a reason.
archive::ResourceBuffer inflate(const std::vector<uint8_t>& file, const zda::ListedEntry& entry,
                                std::string& error) {
    if (entry.packedSize <= 0 || entry.unpackedSize <= 0) {
        error = "sizes must be above 0";
        return {};
    }
    if (entry.fileOffset < 0 || entry.fileOffset + entry.packedSize > int64_t(file.size())) {
        error = "data lies outside the file";
        return {};
    }
    archive::ResourceBuffer content =
        archive::inflateEntry(file.data() + entry.fileOffset, entry.packedSize, entry.unpackedSize);
    if (!content) error = "damaged zlib stream";
    else if (content.size != entry.unpackedSize) error = "inflates to fewer bytes than stated";
    return content;
}

int list(const std::string& path) {
    std::vector<uint8_t> file;
    std::vector<zda::ListedEntry> entries;
    std::string error;
    if (!openArchiveFile(path, file, entries, error)) return fail(error);
    for (const zda::ListedEntry& entry : entries)
        std::printf("%-39s %9d %9d\n", entry.name.c_str(), entry.unpackedSize, entry.packedSize);
    return 0;
}

bool safeEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

int extract(const std::string& path, const fs::path& directory) {
    std::vector<uint8_t> file;
    std::vector<zda::ListedEntry> entries;
    std::string error;
    if (!openArchiveFile(path, file, entries, error)) return fail(error);
    std::error_code created;
    fs::create_directories(directory, created);
    for (const zda::ListedEntry& entry : entries) {
        if (!safeEntryName(entry.name)) return fail("unsafe entry name: " + entry.name);
        const archive::ResourceBuffer content = inflate(file, entry, error);
        if (!content) return fail(entry.name + ": " + error);
        const std::vector<uint8_t> bytes(content.bytes.get(), content.bytes.get() + content.size);
        if (!tool_files::writeFileReplacing(directory / entry.name, bytes))
            return fail("cannot write " + (directory / entry.name).string());
    }
    return 0;
}

int verify(const std::string& path) {
    std::vector<uint8_t> file;
    std::vector<zda::ListedEntry> entries;
    std::string error;
    if (!openArchiveFile(path, file, entries, error)) return fail(error);
    for (const zda::ListedEntry& entry : entries) {
        if (!inflate(file, entry, error)) return fail(path + ": " + entry.name + ": " + error);
    }
    std::printf("%s: %zu entries, all sound\n", path.c_str(), entries.size());
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: zdatool pack OUT.zda FILE... | list ARCHIVE | extract ARCHIVE [DIR] | "
                 "verify ARCHIVE\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) return usage();
    const std::string& command = args[0];
    if (command == "pack" && args.size() >= 3)
        return pack(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    if (command == "list" && args.size() == 2) return list(args[1]);
    if (command == "extract" && args.size() <= 3)
        return extract(args[1], args.size() == 3 ? fs::path(args[2]) : fs::path("."));
    if (command == "verify" && args.size() == 2) return verify(args[1]);
    return usage();
}
