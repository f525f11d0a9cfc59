#pragma once
// Replacing a file without ever losing the old one. The new content goes into
// "<path>.tmp" beside it, is flushed to the disk, and only then renamed over the old file,
// which on POSIX systems swaps the two in one step: a crash, a full disk or a failed write
// at any moment leaves either the complete old file or the complete new one. When the
// directory cannot be written, nothing is written and nobody is told.

#include <cstddef>
#include <cstdint>

namespace persist {

// A seam for the tests: while failAfterBytes is 0 or more, every write gives up after that
// many bytes, as a full disk would. Never set in the game.
struct WriteFault {
    int64_t failAfterBytes = -1;
};

extern WriteFault writeFault;

// Makes `bytes` the whole content of `path`; false, with the old file untouched and no
// temporary file left behind, when any step fails.
bool writeFileSafely(const char* path, const uint8_t* bytes, size_t size);

}  // namespace persist
