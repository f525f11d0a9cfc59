// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The temporary file is always "<file>.tmp" beside the file it replaces: the game is one
// process, and a stale one left by a crash is removed by the next save.
//
// Which way a save goes:
// - the name is followed through symbolic links to the file they finally name, which may
//   not exist yet (a dangling link gets its target created);
// - a folder, a pipe or a device there is written in place, never replaced: a folder refuses
//   the write ("Is a directory"), a device such as /dev/null takes it;
// - a regular file the player may not change is left alone. The kernel decides, except for
//   root, which the kernel lets write anything: for root a file without any write bit counts
//   as read-only, as the player meant it;
// - otherwise the temporary file is made with the old file's mode and owner, written,
//   flushed and renamed over the file. When the folder refuses the temporary file or the
//   rename (no write permission on the folder, a file mounted on its own), the file is
//   written in place instead. A full or failing disk never leads to that: a write in place
//   truncates the file first and would lose it.

#include "persist/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace persist {

WriteFault writeFault;

namespace {

constexpr int kMaxLinkHops = 40;           // as the kernel's own limit on a path
constexpr mode_t kNewFileMode = 0666;      // less the umask, as a plain fopen makes it
constexpr mode_t kTempFileMode = 0600;     // until the old file's mode is copied over
constexpr mode_t kPermissionBits = 07777;  // what fchmod takes of a mode
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// The name a message gives: the file as the game names it, without the "./" before it.
const char* shownName(const char* path) {
    return std::strncmp(path, "./", 2) == 0 ? path + 2 : path;
}

bool reportFailure(const char* path, int error) {
    std::fprintf(stderr, "Can't save %s: %s\n", shownName(path), std::strerror(error));
    return false;
}

// Follows symbolic links from `path` to the name they finally lead to; a relative link
// counts from the folder that holds it. False, with errno, on a loop or an unreadable link.
bool followLinks(std::string& path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0) return errno == ENOENT;  // a file yet to be made
        if (!S_ISLNK(status.st_mode)) return true;
        std::string target(size_t(status.st_size > 0 ? status.st_size : 255) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return false;
        if (size_t(length) == target.size()) {  // the link grew meanwhile
            errno = ENAMETOOLONG;
            return false;
        }
        target.resize(size_t(length));
        const size_t slash = path.rfind('/');
        if (!target.empty() && target.front() != '/' && slash != std::string::npos)
            target = path.substr(0, slash + 1) + target;
        path = target;
    }
    errno = ELOOP;
    return false;
}

// Whether this process may change the file; errno EACCES (or the kernel's reason) when not.
bool mayChange(const std::string& path, const struct stat& status) {
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return false;
    if (geteuid() == 0 && (status.st_mode & kWriteBits) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

// Writes all the bytes, giving up where the test seam says; false with errno on failure.
bool writeAll(int fd, const uint8_t* bytes, size_t size) {
    size_t count = size;
    const bool cut = writeFault.failAfterBytes >= 0 && uint64_t(writeFault.failAfterBytes) < size;
    if (cut) count = size_t(writeFault.failAfterBytes);
    for (size_t done = 0; done < count;) {
        const ssize_t n = write(fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    if (cut) errno = ENOSPC;
    return !cut;
}

// Closes the file after `ok` steps; false with the errno of the first failure.
bool closeAfter(int fd, bool ok) {
    const int error = errno;
    if (close(fd) != 0 && ok) return false;
    errno = error;
    return ok;
}

// Errors after which writing in place is worth a try: the folder refused the temporary file
// or the rename. Not a full or failing disk, where truncating the file would lose it.
bool worthWritingInPlace(int error) {
    return error != ENOSPC && error != EDQUOT && error != EIO && error != EROFS;
}

enum class Replacement { Done, Failed, WriteInPlace };

// The temporary file, written, flushed and renamed over `target`. `old` is the status of the
// file replaced, or null for a new one.
Replacement replaceThroughTemporary(const std::string& target, const struct stat* old,
                                    const uint8_t* bytes, size_t size) {
    const std::string temporary = target + ".tmp";
    unlink(temporary.c_str());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        old ? kTempFileMode : kNewFileMode);
    if (fd < 0) return worthWritingInPlace(errno) ? Replacement::WriteInPlace : Replacement::Failed;

    bool ok = true;
    if (old) {
        // Only root may hand the file back to its owner; anyone else's new file is their own.
        [[maybe_unused]] const int handedBack = fchown(fd, old->st_uid, old->st_gid);
        ok = fchmod(fd, old->st_mode & kPermissionBits) == 0;
    }
    ok = ok && writeAll(fd, bytes, size);
    ok = ok && fsync(fd) == 0;
    ok = closeAfter(fd, ok);
    if (ok && std::rename(temporary.c_str(), target.c_str()) == 0) return Replacement::Done;
    const int error = errno;
    unlink(temporary.c_str());
    errno = error;
    if (ok && worthWritingInPlace(error)) return Replacement::WriteInPlace;  // the rename failed
    return Replacement::Failed;
}

// The plain write: the file truncated (or made) and written.
bool writeInPlace(const std::string& target, const uint8_t* bytes, size_t size) {
    const int fd =
        open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
             kNewFileMode);
    if (fd < 0) return false;
    return closeAfter(fd, writeAll(fd, bytes, size));
}

}  // namespace

FileBytes readWholeFile(const char* path, size_t limit) {
    return platform::readWholeFile(path, std::min(limit, kMaxFileBytes));
}

bool writeFileSafely(const char* path, const uint8_t* bytes, size_t size) {
    std::string target = path;
    if (!followLinks(target)) return reportFailure(path, errno);
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    if (!exists && errno != ENOENT) return reportFailure(path, errno);
    if (exists && !S_ISREG(status.st_mode))
        return writeInPlace(target, bytes, size) || reportFailure(path, errno);
    if (exists && !mayChange(target, status)) return reportFailure(path, errno);

    switch (replaceThroughTemporary(target, exists ? &status : nullptr, bytes, size)) {
    case Replacement::Done: return true;
    case Replacement::WriteInPlace:
        return writeInPlace(target, bytes, size) || reportFailure(path, errno);
    case Replacement::Failed: break;
    }
    return reportFailure(path, errno);
}

}  // namespace persist
