// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform {

FileBytes readWholeFile(const char* path, size_t limit) {
    FileBytes result;
    // Not blocking: a pipe by that name must not hold the game up until someone writes to it.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return result;
    struct stat status;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const size_t size = size_t(std::min<uint64_t>(uint64_t(status.st_size), limit));
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
        size_t got = 0;
        while (got < size) {
            const ssize_t n = read(fd, bytes.get() + got, size - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) got = 0;  // a file that cannot be read is no file
            if (n <= 0) break;
            got += size_t(n);
        }
        if (got > 0) {
            result.bytes = std::move(bytes);
            result.size = got;
        }
    }
    close(fd);
    return result;
}

}  // namespace platform
