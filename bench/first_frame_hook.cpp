// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Loaded into the real game binary with LD_PRELOAD by the benchmark, never linked into the
// game. It stands in front of SDL's two ways of showing a frame (SDL_UpdateRect for the
// software modes, SDL_GL_SwapBuffers for OpenGL), notes the monotonic clock when the first
// one returns, and after the number of frames TROLK_BENCH_FRAMES asks for (1 when unset)
// writes two lines to the file TROLK_BENCH_STAMP names, that clock in nanoseconds and the
// process's peak resident memory in kB (VmHWM), and ends the process at once. The game
// itself is not changed.

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

int framesShown = 0;
long long firstFrameNs = 0;

long peakResidentKb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(status);
    return kb;
}

void report() {
    const char* path = std::getenv("TROLK_BENCH_STAMP");
    if (!path) return;
    char text[96];
    const int length =
        std::snprintf(text, sizeof text, "%lld\n%ld\n", firstFrameNs, peakResidentKb());
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    if (write(fd, text, size_t(length)) != length) {
        // nothing to be done: the benchmark sees a short file and reports the run as failed
    }
    close(fd);
}

void frameShown() {
    if (framesShown++ == 0) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        firstFrameNs = (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
    }
    const char* wanted = std::getenv("TROLK_BENCH_FRAMES");
    const int limit = wanted ? std::atoi(wanted) : 1;
    if (framesShown < limit) return;
    report();
    _exit(0);
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

void SDL_UpdateRect(SDL_Surface* screen, Sint32 x, Sint32 y, Uint32 w, Uint32 h) {
    static auto real =
        next<void (*)(SDL_Surface*, Sint32, Sint32, Uint32, Uint32)>("SDL_UpdateRect");
    real(screen, x, y, w, h);
    frameShown();
}

void SDL_GL_SwapBuffers() {
    static auto real = next<void (*)()>("SDL_GL_SwapBuffers");
    real();
    frameShown();
}

}  // extern "C"
