#include "video/zoom.h"

#include <cstring>

#include "video/display.h"

namespace video {

namespace {

constexpr int kWorkRowWords = 2 * kScreenWidth;  // plain values, then masked values

inline uint32_t load24(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16; }

inline void store24(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
}

inline uint16_t load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Fills the work rows: plain value and masked value of every source pixel.
template <int Bytes>
void fillWork(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* row = src + y * srcPitch;
        uint32_t* plain = work + y * kWorkRowWords;
        uint32_t* masked = plain + kScreenWidth;
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t p = Bytes == 2 ? load16(row + 2 * x) : load24(row + 3 * x);
            plain[x] = p;
            masked[x] = p & mask;
        }
    }
}

// One source row to two output rows. The pixel below is taken from `below`; for the last
// row the caller passes the row itself and copies the upper output row instead.
template <int Bytes>
void smoothRow(const uint32_t* plain, const uint32_t* masked, const uint32_t* maskedBelow,
               uint8_t* out0, uint8_t* out1) {
    constexpr int kLast = kScreenWidth - 1;
    for (int x = 0; x < kLast; ++x) {
        const uint32_t m = masked[x];
        const uint32_t r = masked[x + 1];
        const uint32_t d = maskedBelow[x];
        const uint32_t a = plain[x];
        const uint32_t b = (m + r) >> 1;
        const uint32_t c = (m + d) >> 1;
        const uint32_t e = (r + d) >> 1;
        if constexpr (Bytes == 2) {
            const uint32_t top = (a & 0xFFFF) | b << 16;
            const uint32_t bottom = (c & 0xFFFF) | e << 16;
            std::memcpy(out0 + 4 * x, &top, 4);
            std::memcpy(out1 + 4 * x, &bottom, 4);
        } else {
            store24(out0 + 6 * x, a);
            store24(out0 + 6 * x + 3, b);
            store24(out1 + 6 * x, c);
            store24(out1 + 6 * x + 3, e);
        }
    }
    // The last column repeats its pixel as its own right neighbour.
    const uint32_t a = plain[kLast];
    const uint32_t c = (masked[kLast] + maskedBelow[kLast]) >> 1;
    if constexpr (Bytes == 2) {
        const uint32_t top = (a & 0xFFFF) | (a & 0xFFFF) << 16;
        const uint32_t bottom = (c & 0xFFFF) | c << 16;
        std::memcpy(out0 + 4 * kLast, &top, 4);
        std::memcpy(out1 + 4 * kLast, &bottom, 4);
    } else {
        store24(out0 + 6 * kLast, a);
        store24(out0 + 6 * kLast + 3, a);
        store24(out1 + 6 * kLast, c);
        store24(out1 + 6 * kLast + 3, c);
    }
}

template <int Bytes>
void zoomSmoothRows(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                    int dstPitch) {
    fillWork<Bytes>(src, srcPitch, mask, work);
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint32_t* plain = work + y * kWorkRowWords;
        const uint32_t* masked = plain + kScreenWidth;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        if (y < kScreenHeight - 1) {
            const uint32_t* maskedBelow = masked + kWorkRowWords;
            smoothRow<Bytes>(plain, masked, maskedBelow, out0, out1);
        } else {
            // The last row repeats itself as the row below: the lower output row is the
            // average of each pixel with itself, i.e. the upper output row.
            smoothRow<Bytes>(plain, masked, masked, out0, out1);
            std::memcpy(out1, out0, size_t(kZoomedWidth * Bytes));
        }
    }
}

bool lockBoth(SDL_Surface* a, SDL_Surface* b) {
    if (SDL_MUSTLOCK(a) && SDL_LockSurface(a) < 0) return false;
    if (SDL_MUSTLOCK(b) && SDL_LockSurface(b) < 0) {
        if (SDL_MUSTLOCK(a)) SDL_UnlockSurface(a);
        return false;
    }
    return true;
}

void unlockBoth(SDL_Surface* a, SDL_Surface* b) {
    if (SDL_MUSTLOCK(b)) SDL_UnlockSurface(b);
    if (SDL_MUSTLOCK(a)) SDL_UnlockSurface(a);
}

}  // namespace

uint32_t smoothMask(int bytesPerPixel, int rShift, int gShift, int bShift) {
    const uint32_t all = bytesPerPixel == 2 ? 0xFFFFu : 0xFFFFFFFFu;
    return all & ~(1u << rShift) & ~(1u << gShift) & ~(1u << bShift);
}

void zoomNearest16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = src + y * srcPitch;
        uint8_t* out = dst + 2 * y * dstPitch;
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t p = load16(in + 2 * x);
            const uint32_t pair = p | p << 16;
            std::memcpy(out + 4 * x, &pair, 4);
        }
        std::memcpy(out + dstPitch, out, size_t(kZoomedWidth * 2));
    }
}

void zoomNearest24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = src + y * srcPitch;
        uint8_t* out = dst + 2 * y * dstPitch;
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint8_t* p = in + 3 * x;
            uint8_t* o = out + 6 * x;
            o[0] = o[3] = p[0];
            o[1] = o[4] = p[1];
            o[2] = o[5] = p[2];
        }
        std::memcpy(out + dstPitch, out, size_t(kZoomedWidth * 3));
    }
}

void zoomSmooth16(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch) {
    zoomSmoothRows<2>(src, srcPitch, mask, work, dst, dstPitch);
}

void zoomSmooth24(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch) {
    zoomSmoothRows<3>(src, srcPitch, mask, work, dst, dstPitch);
}

void zoomNearest(SDL_Surface* source, SDL_Surface* target) {
    if (!lockBoth(source, target)) return;
    const auto* src = static_cast<const uint8_t*>(source->pixels);
    auto* dst = static_cast<uint8_t*>(target->pixels);
    if (source->format->BytesPerPixel == 2) zoomNearest16(src, source->pitch, dst, target->pitch);
    else zoomNearest24(src, source->pitch, dst, target->pitch);
    unlockBoth(source, target);
}

void zoomSmooth(SDL_Surface* source, SDL_Surface* target, uint32_t* work) {
    const SDL_PixelFormat* format = source->format;
    const uint32_t mask =
        smoothMask(format->BytesPerPixel, format->Rshift, format->Gshift, format->Bshift);
    if (!lockBoth(source, target)) return;
    const auto* src = static_cast<const uint8_t*>(source->pixels);
    auto* dst = static_cast<uint8_t*>(target->pixels);
    if (format->BytesPerPixel == 2)
        zoomSmooth16(src, source->pitch, mask, work, dst, target->pitch);
    else
        zoomSmooth24(src, source->pitch, mask, work, dst, target->pitch);
    unlockBoth(source, target);
}

}  // namespace video
