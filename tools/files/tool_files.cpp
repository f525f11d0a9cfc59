// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tool_files.h"

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace tool_files {

bool readFile(const fs::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFileReplacing(const fs::path& path, const std::vector<uint8_t>& bytes) {
    // A link is followed, so that the file it points at gets the new bytes and the link stays.
    std::error_code error;
    const bool link = fs::is_symlink(fs::symlink_status(path, error));
    const fs::path target = link ? fs::weakly_canonical(path, error) : path;
    if (link && error) return false;
    const fs::file_status old = fs::status(target, error);  // not found is no fault here
    const bool exists = fs::exists(old);
    if (exists && (old.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;  // made read-only: kept as its owner wants
    const fs::path temporary = target.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out.flush()) {
            out.close();
            fs::remove(temporary, error);
            return false;
        }
    }
    if (exists) fs::permissions(temporary, old.permissions(), error);
    fs::rename(temporary, target, error);
    if (error) fs::remove(temporary, error);
    return !error;
}

}  // namespace tool_files
