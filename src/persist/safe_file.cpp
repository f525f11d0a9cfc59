// The temporary file is always "<path>.tmp": the game is one process, and a stale one left
// by a crash is simply overwritten by the next save.

#include "persist/safe_file.h"

#include <cstdio>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace persist {

WriteFault writeFault;

namespace {

constexpr size_t kTempPathBytes = 544;

// Makes sure the bytes are on the disk before the rename makes them the file.
bool syncToDisk(std::FILE* file) {
#if defined(__unix__) || defined(__APPLE__)
    return fsync(fileno(file)) == 0;
#else
    (void)file;
    return true;
#endif
}

}  // namespace

bool writeFileSafely(const char* path, const uint8_t* bytes, size_t size) {
    char tempPath[kTempPathBytes];
    const int n = std::snprintf(tempPath, sizeof tempPath, "%s.tmp", path);
    if (n < 0 || size_t(n) >= sizeof tempPath) return false;

    std::FILE* file = std::fopen(tempPath, "wb");
    if (!file) return false;

    size_t count = size;
    bool ok = true;
    if (writeFault.failAfterBytes >= 0 && uint64_t(writeFault.failAfterBytes) < size) {
        count = size_t(writeFault.failAfterBytes);
        ok = false;
    }
    ok = std::fwrite(bytes, 1, count, file) == count && ok;
    ok = std::fflush(file) == 0 && ok;
    ok = ok && syncToDisk(file);
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(tempPath, path) == 0) return true;
    std::remove(tempPath);
    return false;
}

}  // namespace persist
