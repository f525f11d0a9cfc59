// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The zoom filters run once per shown frame and rewrite the whole 640 x 480 picture, so they
// are written for speed. With SSE2 (every x86-64 processor) eight 16-bit or four 24-bit
// pixels go through at once. Where the processor also has SSSE3 (chosen at run time), its
// byte shuffle builds 24-bit rows sixteen bytes at a time, and with AVX2 the 24-bit smoothing
// does two such groups per instruction. Elsewhere the plain loops do the same work a pixel at
// a time. All produce the same bytes; the tests hold them to that on random pictures.
//
// How the vectorised smoothing keeps the rule exact:
// - 16 bits: an average is taken in 16-bit lanes, where the carry out of the top field would
//   be lost; (a + b) >> 1 is computed as pavgw (which rounds up) minus the bit that rounding
//   added, ((a ^ b) & 1). When the mask clears bit 0 (a field starts there, as in 5-6-5) the
//   sums are always even and pavgw alone is exact.
// - 24 bits, SSE2: pixels are widened to 32-bit lanes, where the sum cannot overflow. Each
//   output pair (a pixel and its average) is built as six bytes of a 64-bit lane and written
//   with an 8-byte store whose last two bytes the next store overwrites; the last four pixels
//   of a row go through plain code.
// - 24 bits, SSSE3 and AVX2: when every field is one byte, the average is taken byte by byte
//   (see smoothRow24Ssse3) and pshufb interleaves pixels and averages into the output rows.
// - The right neighbour of the last column and the row below the last row are the edge
//   pixels themselves, as in the plain loops. Nothing is read or written past a row.

#include "video/zoom.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "video/display.h"

namespace video {

namespace {

constexpr int kWorkRowWords = 2 * kScreenWidth;  // plain values, then masked values
constexpr uint32_t kBytePixelMask = 0xFFFFFF;    // the three bytes of a 24-bit pixel
constexpr uint32_t kByteFieldsMask = 0xFEFEFE;   // the mask when every field is one byte

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

// The 2 x 2 output pixels of source column x: a b on the upper output row, c e below.
template <int Bytes>
inline void storeBlock(uint8_t* out0, uint8_t* out1, int x, uint32_t a, uint32_t b, uint32_t c,
                       uint32_t e) {
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
        storeBlock<Bytes>(out0, out1, x, a, b, c, e);
    }
    // The last column repeats its pixel as its own right neighbour.
    const uint32_t a = plain[kLast];
    const uint32_t c = (masked[kLast] + maskedBelow[kLast]) >> 1;
    storeBlock<Bytes>(out0, out1, kLast, a, a, c, c);
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

void nearest16Plain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
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

void nearest24Plain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
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

void smooth16Plain(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                   int dstPitch) {
    zoomSmoothRows<2>(src, srcPitch, mask, work, dst, dstPitch);
}

void smooth24Plain(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                   int dstPitch) {
    zoomSmoothRows<3>(src, srcPitch, mask, work, dst, dstPitch);
}

#if defined(__SSE2__)

// ---- Vectorised filters (SSE2) ----

constexpr int kVectorEnd24 = kScreenWidth - 4;  // 24 bits: the last four pixels go plain

inline __m128i loadBlock(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

inline void storeBlock(void* p, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }

inline void storeLow64(void* p, __m128i v) { _mm_storel_epi64(static_cast<__m128i*>(p), v); }

inline void storeHigh64(void* p, __m128i v) {
    _mm_storeh_pi(static_cast<__m64*>(p), _mm_castsi128_ps(v));
}

// (a + b) >> 1 in 16-bit lanes, as if computed in 32 bits.
template <bool EvenSums> inline __m128i average16(__m128i a, __m128i b) {
    const __m128i roundedUp = _mm_avg_epu16(a, b);
    if constexpr (EvenSums) return roundedUp;
    return _mm_sub_epi16(roundedUp, _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi16(1)));
}

// Eight source pixels to their sixteen output pixels in each of the two output rows: upper
// (pixel, right average), lower (below average, diagonal average).
inline void storeQuad16(uint8_t* out0, uint8_t* out1, __m128i p, __m128i b, __m128i c, __m128i e) {
    storeBlock(out0, _mm_unpacklo_epi16(p, b));
    storeBlock(out0 + 16, _mm_unpackhi_epi16(p, b));
    storeBlock(out1, _mm_unpacklo_epi16(c, e));
    storeBlock(out1 + 16, _mm_unpackhi_epi16(c, e));
}

void nearest16Sse2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        for (int x = 0; x < kScreenWidth; x += 8) {
            const __m128i v = loadBlock(in + 2 * x);
            const __m128i left = _mm_unpacklo_epi16(v, v);
            const __m128i right = _mm_unpackhi_epi16(v, v);
            storeBlock(out0 + 4 * x, left);
            storeBlock(out0 + 4 * x + 16, right);
            storeBlock(out1 + 4 * x, left);
            storeBlock(out1 + 4 * x + 16, right);
        }
    }
}

template <bool EvenSums>
void smoothRow16(const uint8_t* row, const uint8_t* below, __m128i mask, uint8_t* out0,
                 uint8_t* out1) {
    constexpr int kLastBlock = kScreenWidth - 8;
    for (int x = 0; x < kLastBlock; x += 8) {
        const __m128i p = loadBlock(row + 2 * x);
        const __m128i m = _mm_and_si128(p, mask);
        const __m128i r = _mm_and_si128(loadBlock(row + 2 * x + 2), mask);
        const __m128i d = _mm_and_si128(loadBlock(below + 2 * x), mask);
        storeQuad16(out0 + 4 * x, out1 + 4 * x, p, average16<EvenSums>(m, r),
                    average16<EvenSums>(m, d), average16<EvenSums>(r, d));
    }
    // The last eight: the last pixel is its own right neighbour (nothing past the row is
    // read), and its upper right output is the pixel itself, unmasked.
    const __m128i p = loadBlock(row + 2 * kLastBlock);
    const __m128i m = _mm_and_si128(p, mask);
    const __m128i r = _mm_insert_epi16(_mm_srli_si128(m, 2), _mm_extract_epi16(m, 7), 7);
    const __m128i d = _mm_and_si128(loadBlock(below + 2 * kLastBlock), mask);
    const __m128i b = _mm_insert_epi16(average16<EvenSums>(m, r), _mm_extract_epi16(p, 7), 7);
    storeQuad16(out0 + 4 * kLastBlock, out1 + 4 * kLastBlock, p, b, average16<EvenSums>(m, d),
                average16<EvenSums>(r, d));
}

template <bool EvenSums>
void smooth16Sse2(const uint8_t* src, int srcPitch, uint32_t mask, uint8_t* dst, int dstPitch) {
    const __m128i masks = _mm_set1_epi16(int16_t(mask));
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* row = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        if (y < kScreenHeight - 1) {
            smoothRow16<EvenSums>(row, row + srcPitch, masks, out0, out1);
        } else {
            smoothRow16<EvenSums>(row, row, masks, out0, out1);
            std::memcpy(out1, out0, size_t(kZoomedWidth * 2));
        }
    }
}

// Four 3-byte pixels as four 32-bit values (16 bytes are read).
inline __m128i widen4(const uint8_t* p) {
    const __m128i bytes = loadBlock(p);
    const __m128i halves = _mm_unpacklo_epi64(bytes, _mm_srli_si128(bytes, 6));
    const __m128i first = _mm_and_si128(halves, _mm_set1_epi64x(0xFFFFFF));
    const __m128i second =
        _mm_and_si128(_mm_slli_epi64(halves, 8), _mm_set1_epi64x(0xFFFFFF00000000));
    return _mm_or_si128(first, second);
}

// Four output pairs, lane i of `left` followed by lane i of `right`, as six bytes at the
// bottom of a 64-bit lane: pairs 0 and 1 in `low`, 2 and 3 in `high`.
inline void pairs24(__m128i left, __m128i right, __m128i& low, __m128i& high) {
    const __m128i shifted = _mm_slli_epi32(left, 8);
    low = _mm_srli_epi64(_mm_unpacklo_epi32(shifted, right), 8);
    high = _mm_srli_epi64(_mm_unpackhi_epi32(shifted, right), 8);
}

// Writes four pairs (24 bytes) with 8-byte stores; the two spare bytes of each store are
// overwritten by the next one, and those of the last by the caller's following pixels.
inline void storePairs24(uint8_t* out, __m128i low, __m128i high) {
    storeLow64(out, low);
    storeHigh64(out + 6, low);
    storeLow64(out + 12, high);
    storeHigh64(out + 18, high);
}

void nearest24Sse2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        int x = 0;
        for (; x < kVectorEnd24; x += 4) {
            const __m128i v = widen4(in + 3 * x);
            __m128i low, high;
            pairs24(v, v, low, high);
            storePairs24(out0 + 6 * x, low, high);
            storePairs24(out1 + 6 * x, low, high);
        }
        for (; x < kScreenWidth; ++x) {
            const uint32_t p = load24(in + 3 * x);
            store24(out0 + 6 * x, p);
            store24(out0 + 6 * x + 3, p);
            store24(out1 + 6 * x, p);
            store24(out1 + 6 * x + 3, p);
        }
    }
}

// One source row as 32-bit values.
void widenRow24(const uint8_t* in, uint32_t* out) {
    int x = 0;
    for (; x < kVectorEnd24; x += 4) storeBlock(out + x, widen4(in + 3 * x));
    for (; x < kScreenWidth; ++x) out[x] = load24(in + 3 * x);
}

// Source columns first..319 of one row (raw 24-bit pixels), one at a time, with the edge
// rule for column 319.
void smoothTail24(const uint8_t* row, const uint8_t* below, uint32_t mask, int first, uint8_t* out0,
                  uint8_t* out1) {
    constexpr int kLast = kScreenWidth - 1;
    for (int x = first; x <= kLast; ++x) {
        const uint32_t a = load24(row + 3 * x);
        const uint32_t m = a & mask;
        const uint32_t r = x < kLast ? load24(row + 3 * x + 3) & mask : m;
        const uint32_t d = load24(below + 3 * x) & mask;
        store24(out0 + 6 * x, a);
        store24(out0 + 6 * x + 3, x < kLast ? (m + r) >> 1 : a);
        store24(out1 + 6 * x, (m + d) >> 1);
        store24(out1 + 6 * x + 3, (r + d) >> 1);
    }
}

// `row` and `below` are the widened rows, `rowBytes` and `belowBytes` the same as raw pixels.
void smoothRow24(const uint32_t* row, const uint32_t* below, const uint8_t* rowBytes,
                 const uint8_t* belowBytes, uint32_t mask, uint8_t* out0, uint8_t* out1) {
    const __m128i masks = _mm_set1_epi32(int32_t(mask));
    int x = 0;
    for (; x < kVectorEnd24; x += 4) {
        const __m128i p = loadBlock(row + x);
        const __m128i m = _mm_and_si128(p, masks);
        const __m128i r = _mm_and_si128(loadBlock(row + x + 1), masks);
        const __m128i d = _mm_and_si128(loadBlock(below + x), masks);
        const __m128i b = _mm_srli_epi32(_mm_add_epi32(m, r), 1);
        const __m128i c = _mm_srli_epi32(_mm_add_epi32(m, d), 1);
        const __m128i e = _mm_srli_epi32(_mm_add_epi32(r, d), 1);
        __m128i low, high;
        pairs24(p, b, low, high);
        storePairs24(out0 + 6 * x, low, high);
        pairs24(c, e, low, high);
        storePairs24(out1 + 6 * x, low, high);
    }
    smoothTail24(rowBytes, belowBytes, mask, x, out0, out1);
}

// Each source row is widened once, into one of two rows of `work` taken in turn.
void smooth24Sse2(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch) {
    uint32_t* const rows[2] = {work, work + kWorkRowWords};
    widenRow24(src, rows[0]);
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint32_t* row = rows[y & 1];
        const uint8_t* rowBytes = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        if (y < kScreenHeight - 1) {
            uint32_t* below = rows[(y + 1) & 1];
            widenRow24(rowBytes + srcPitch, below);
            smoothRow24(row, below, rowBytes, rowBytes + srcPitch, mask, out0, out1);
        } else {
            smoothRow24(row, row, rowBytes, rowBytes, mask, out0, out1);
            std::memcpy(out1, out0, size_t(kZoomedWidth * 3));
        }
    }
}

#endif  // __SSE2__

#if defined(__SSE2__) && defined(__GNUC__)

// ---- 24-bit filters with SSSE3's byte shuffle (chosen at run time) ----
//
// A row of 24-bit output is a run of 3-byte units that alternate between two streams: pixel
// and right average (upper row), below and diagonal average (lower row), or the same pixel
// twice (nearest). Eight source pixels give 48 output bytes, three 16-byte blocks, and pshufb
// gathers each block from registers that hold the streams; nothing is widened.

constexpr int kGroupPixels = 8;
constexpr int8_t kZeroByte = -128;  // a pshufb index that yields 0

struct ByteShuffle {
    alignas(16) int8_t index[16];
};

// Output block `block` of a group, taking the units of stream `stream` (0 or 1) from a
// register that holds that stream from byte `offset` of the group on; the other stream's
// bytes are left zero.
constexpr ByteShuffle unitsOfStream(int block, int stream, int offset) {
    ByteShuffle s{};
    for (int i = 0; i < 16; ++i) {
        const int j = 16 * block + i;
        const int unit = j / 3;
        s.index[i] = unit % 2 == stream ? int8_t(3 * (unit / 2) + j % 3 - offset) : kZeroByte;
    }
    return s;
}

// Output block `block` of the nearest filter: every unit from the one pixel stream.
constexpr ByteShuffle doubledPixels(int block, int offset) {
    ByteShuffle s{};
    for (int i = 0; i < 16; ++i) {
        const int j = 16 * block + i;
        s.index[i] = int8_t(3 * (j / 6) + j % 3 - offset);
    }
    return s;
}

constexpr bool fitsRegister(const ByteShuffle& s) {
    for (int8_t i : s.index)
        if (i != kZeroByte && (i < 0 || i > 15)) return false;
    return true;
}

// Where the registers start within a group, in bytes: three overlapping loads for the
// nearest filter; for smoothing, the pixel stream from bytes 0, 8, 8 and the average stream
// from bytes 0, 0, 8 for the three blocks.
constexpr ByteShuffle kNearestBlocks[3] = {doubledPixels(0, 0), doubledPixels(1, 4),
                                           doubledPixels(2, 8)};
constexpr int kNearestOffsets[3] = {0, 4, 8};
constexpr ByteShuffle kPixelUnits[3] = {unitsOfStream(0, 0, 0), unitsOfStream(1, 0, 8),
                                        unitsOfStream(2, 0, 8)};
constexpr ByteShuffle kAverageUnits[3] = {unitsOfStream(0, 1, 0), unitsOfStream(1, 1, 0),
                                          unitsOfStream(2, 1, 8)};
static_assert(fitsRegister(kNearestBlocks[0]) && fitsRegister(kNearestBlocks[1]) &&
              fitsRegister(kNearestBlocks[2]));
static_assert(fitsRegister(kPixelUnits[0]) && fitsRegister(kPixelUnits[1]) &&
              fitsRegister(kPixelUnits[2]));
static_assert(fitsRegister(kAverageUnits[0]) && fitsRegister(kAverageUnits[1]) &&
              fitsRegister(kAverageUnits[2]));

inline __m128i shuffleOf(const ByteShuffle& s) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(s.index));
}

[[gnu::target("ssse3")]] void nearest24Ssse3(const uint8_t* src, int srcPitch, uint8_t* dst,
                                             int dstPitch) {
    const __m128i shuffle0 = shuffleOf(kNearestBlocks[0]);
    const __m128i shuffle1 = shuffleOf(kNearestBlocks[1]);
    const __m128i shuffle2 = shuffleOf(kNearestBlocks[2]);
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* in = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        for (int x = 0; x < kScreenWidth; x += kGroupPixels) {
            const uint8_t* s = in + 3 * x;
            const __m128i block0 = _mm_shuffle_epi8(loadBlock(s + kNearestOffsets[0]), shuffle0);
            const __m128i block1 = _mm_shuffle_epi8(loadBlock(s + kNearestOffsets[1]), shuffle1);
            const __m128i block2 = _mm_shuffle_epi8(loadBlock(s + kNearestOffsets[2]), shuffle2);
            storeBlock(out0 + 6 * x, block0);
            storeBlock(out0 + 6 * x + 16, block1);
            storeBlock(out0 + 6 * x + 32, block2);
            storeBlock(out1 + 6 * x, block0);
            storeBlock(out1 + 6 * x + 16, block1);
            storeBlock(out1 + 6 * x + 32, block2);
        }
    }
}

// The shuffles of the smoothing filter, loaded once per row.
struct SmoothShuffles {
    __m128i pixelUnits[3];
    __m128i averageUnits[3];
    __m128i fieldMask;  // 0xFE in every byte: clears the lowest bit of every field
    __m128i lastPixel;  // the bytes of the group's last pixel in a register from byte 8
};

[[gnu::target("ssse3")]] SmoothShuffles smoothShuffles() {
    SmoothShuffles k;
    for (int i = 0; i < 3; ++i) {
        k.pixelUnits[i] = shuffleOf(kPixelUnits[i]);
        k.averageUnits[i] = shuffleOf(kAverageUnits[i]);
    }
    k.fieldMask = _mm_set1_epi8(int8_t(0xFE));
    k.lastPixel = _mm_slli_si128(_mm_set_epi32(0, 0, 0, 0xFFFFFF), 13);
    return k;
}

// One group's three output blocks from a pixel stream (registers at group bytes 0 and 8) and
// an average stream (likewise).
[[gnu::target("ssse3")]] inline void storeGroup24(uint8_t* out, __m128i pixels0, __m128i pixels8,
                                                  __m128i averages0, __m128i averages8,
                                                  const SmoothShuffles& k) {
    storeBlock(out, _mm_or_si128(_mm_shuffle_epi8(pixels0, k.pixelUnits[0]),
                                 _mm_shuffle_epi8(averages0, k.averageUnits[0])));
    storeBlock(out + 16, _mm_or_si128(_mm_shuffle_epi8(pixels8, k.pixelUnits[1]),
                                      _mm_shuffle_epi8(averages0, k.averageUnits[1])));
    storeBlock(out + 32, _mm_or_si128(_mm_shuffle_epi8(pixels8, k.pixelUnits[2]),
                                      _mm_shuffle_epi8(averages8, k.averageUnits[2])));
}

// One group of eight source pixels at s (row below at t) to both output rows. With `last`,
// the group ends the row: its right neighbours come from the group itself (nothing past the
// row is read), the last pixel being its own, and that pixel's upper right output is the
// pixel itself.
template <bool Last>
[[gnu::target("ssse3")]] inline void smoothGroup24(const uint8_t* s, const uint8_t* t,
                                                   uint8_t* out0, uint8_t* out1,
                                                   const SmoothShuffles& k) {
    const __m128i p0 = loadBlock(s);
    const __m128i p8 = loadBlock(s + 8);
    const __m128i m0 = _mm_and_si128(p0, k.fieldMask);
    const __m128i m8 = _mm_and_si128(p8, k.fieldMask);
    const __m128i r0 = _mm_and_si128(loadBlock(s + 3), k.fieldMask);
    __m128i r8;
    if constexpr (Last) r8 = _mm_or_si128(_mm_srli_si128(m8, 3), _mm_and_si128(m8, k.lastPixel));
    else r8 = _mm_and_si128(loadBlock(s + 11), k.fieldMask);
    const __m128i d0 = _mm_and_si128(loadBlock(t), k.fieldMask);
    const __m128i d8 = _mm_and_si128(loadBlock(t + 8), k.fieldMask);
    __m128i b8 = _mm_avg_epu8(m8, r8);
    if constexpr (Last)
        b8 = _mm_or_si128(_mm_andnot_si128(k.lastPixel, b8), _mm_and_si128(k.lastPixel, p8));
    storeGroup24(out0, p0, p8, _mm_avg_epu8(m0, r0), b8, k);
    storeGroup24(out1, _mm_avg_epu8(m0, d0), _mm_avg_epu8(m8, d8), _mm_avg_epu8(r0, d0),
                 _mm_avg_epu8(r8, d8), k);
}

// Smoothing where every field is one whole byte (the mask clears bits 0, 8 and 16): the
// fields then average byte by byte, and with their lowest bits cleared every byte sum is even,
// so pavgb's rounding never acts and it gives the truncated average exactly.
[[gnu::target("ssse3")]] void smoothRow24Ssse3(const uint8_t* row, const uint8_t* below,
                                               uint8_t* out0, uint8_t* out1) {
    const SmoothShuffles k = smoothShuffles();
    constexpr int kLastGroup = kScreenWidth - kGroupPixels;
    for (int x = 0; x < kLastGroup; x += kGroupPixels)
        smoothGroup24<false>(row + 3 * x, below + 3 * x, out0 + 6 * x, out1 + 6 * x, k);
    smoothGroup24<true>(row + 3 * kLastGroup, below + 3 * kLastGroup, out0 + 6 * kLastGroup,
                        out1 + 6 * kLastGroup, k);
}

// The same with AVX2: two groups side by side in the two halves of each register, from the
// row's start up to its last two groups, which go through the SSSE3 code.
[[gnu::target("avx2")]] inline __m256i loadPair(const uint8_t* low, const uint8_t* high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(loadBlock(low)), loadBlock(high), 1);
}

[[gnu::target("avx2")]] inline void storePair(uint8_t* low, uint8_t* high, __m256i v) {
    storeBlock(low, _mm256_castsi256_si128(v));
    storeBlock(high, _mm256_extracti128_si256(v, 1));
}

[[gnu::target("avx2")]] inline __m256i both(__m128i v) { return _mm256_broadcastsi128_si256(v); }

[[gnu::target("avx2")]] inline void storeGroups24(uint8_t* out, __m256i pixels0, __m256i pixels8,
                                                  __m256i averages0, __m256i averages8,
                                                  const __m256i* pixelUnits,
                                                  const __m256i* averageUnits) {
    constexpr int kNext = 6 * kGroupPixels;  // output bytes of a group
    storePair(out, out + kNext,
              _mm256_or_si256(_mm256_shuffle_epi8(pixels0, pixelUnits[0]),
                              _mm256_shuffle_epi8(averages0, averageUnits[0])));
    storePair(out + 16, out + kNext + 16,
              _mm256_or_si256(_mm256_shuffle_epi8(pixels8, pixelUnits[1]),
                              _mm256_shuffle_epi8(averages0, averageUnits[1])));
    storePair(out + 32, out + kNext + 32,
              _mm256_or_si256(_mm256_shuffle_epi8(pixels8, pixelUnits[2]),
                              _mm256_shuffle_epi8(averages8, averageUnits[2])));
}

[[gnu::target("avx2")]] void smoothRow24Avx2(const uint8_t* row, const uint8_t* below,
                                             uint8_t* out0, uint8_t* out1) {
    const SmoothShuffles k = smoothShuffles();
    const __m256i pixelUnits[3] = {both(k.pixelUnits[0]), both(k.pixelUnits[1]),
                                   both(k.pixelUnits[2])};
    const __m256i averageUnits[3] = {both(k.averageUnits[0]), both(k.averageUnits[1]),
                                     both(k.averageUnits[2])};
    const __m256i fieldMask = both(k.fieldMask);
    constexpr int kNext = 3 * kGroupPixels;  // source bytes of a group
    constexpr int kPairsEnd = kScreenWidth - 2 * kGroupPixels;
    int x = 0;
    for (; x < kPairsEnd; x += 2 * kGroupPixels) {
        const uint8_t* s = row + 3 * x;
        const uint8_t* t = below + 3 * x;
        const __m256i p0 = loadPair(s, s + kNext);
        const __m256i p8 = loadPair(s + 8, s + kNext + 8);
        const __m256i m0 = _mm256_and_si256(p0, fieldMask);
        const __m256i m8 = _mm256_and_si256(p8, fieldMask);
        const __m256i r0 = _mm256_and_si256(loadPair(s + 3, s + kNext + 3), fieldMask);
        const __m256i r8 = _mm256_and_si256(loadPair(s + 11, s + kNext + 11), fieldMask);
        const __m256i d0 = _mm256_and_si256(loadPair(t, t + kNext), fieldMask);
        const __m256i d8 = _mm256_and_si256(loadPair(t + 8, t + kNext + 8), fieldMask);
        storeGroups24(out0 + 6 * x, p0, p8, _mm256_avg_epu8(m0, r0), _mm256_avg_epu8(m8, r8),
                      pixelUnits, averageUnits);
        storeGroups24(out1 + 6 * x, _mm256_avg_epu8(m0, d0), _mm256_avg_epu8(m8, d8),
                      _mm256_avg_epu8(r0, d0), _mm256_avg_epu8(r8, d8), pixelUnits, averageUnits);
    }
    smoothGroup24<false>(row + 3 * x, below + 3 * x, out0 + 6 * x, out1 + 6 * x, k);
    x += kGroupPixels;
    smoothGroup24<true>(row + 3 * x, below + 3 * x, out0 + 6 * x, out1 + 6 * x, k);
}

using SmoothRow24 = void (*)(const uint8_t*, const uint8_t*, uint8_t*, uint8_t*);

template <SmoothRow24 Row>
void smooth24Rows(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* row = src + y * srcPitch;
        uint8_t* out0 = dst + 2 * y * dstPitch;
        uint8_t* out1 = out0 + dstPitch;
        if (y < kScreenHeight - 1) {
            Row(row, row + srcPitch, out0, out1);
        } else {
            Row(row, row, out0, out1);
            std::memcpy(out1, out0, size_t(kZoomedWidth * 3));
        }
    }
}

bool processorHasSsse3() { return __builtin_cpu_supports("ssse3"); }

bool processorHasAvx2() { return __builtin_cpu_supports("avx2"); }

#endif  // __SSE2__ && __GNUC__

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

ZoomPath zoomPath() {
    static const ZoomPath best = zoomPathAvailable(ZoomPath::Avx2)    ? ZoomPath::Avx2
                                 : zoomPathAvailable(ZoomPath::Ssse3) ? ZoomPath::Ssse3
                                 : zoomPathAvailable(ZoomPath::Sse2)  ? ZoomPath::Sse2
                                                                      : ZoomPath::Plain;
    return best;
}

bool zoomPathAvailable(ZoomPath path) {
    switch (path) {
    case ZoomPath::Plain: return true;
#if defined(__SSE2__)
    case ZoomPath::Sse2: return true;
#endif
#if defined(__SSE2__) && defined(__GNUC__)
    case ZoomPath::Ssse3: return processorHasSsse3();
    case ZoomPath::Avx2: return processorHasSsse3() && processorHasAvx2();
#endif
    default: return false;
    }
}

const char* zoomPathName(ZoomPath path) {
    switch (path) {
    case ZoomPath::Plain: return "plain loops";
    case ZoomPath::Sse2: return "SSE2";
    case ZoomPath::Ssse3: return "SSE2, SSSE3 byte shuffles for 24 bits";
    case ZoomPath::Avx2: return "SSE2, SSSE3 and AVX2 byte shuffles for 24 bits";
    }
    return "";
}

void zoomNearestVia(ZoomPath path, int bytesPerPixel, const uint8_t* src, int srcPitch,
                    uint8_t* dst, int dstPitch) {
    if (!zoomPathAvailable(path)) path = ZoomPath::Plain;
    const bool wide = bytesPerPixel == 3;
    switch (path) {
#if defined(__SSE2__) && defined(__GNUC__)
    case ZoomPath::Avx2:
    case ZoomPath::Ssse3:
        if (wide) nearest24Ssse3(src, srcPitch, dst, dstPitch);
        else nearest16Sse2(src, srcPitch, dst, dstPitch);
        return;
#endif
#if defined(__SSE2__)
    case ZoomPath::Sse2:
        if (wide) nearest24Sse2(src, srcPitch, dst, dstPitch);
        else nearest16Sse2(src, srcPitch, dst, dstPitch);
        return;
#endif
    default:
        if (wide) nearest24Plain(src, srcPitch, dst, dstPitch);
        else nearest16Plain(src, srcPitch, dst, dstPitch);
        return;
    }
}

void zoomSmoothVia(ZoomPath path, int bytesPerPixel, const uint8_t* src, int srcPitch,
                   uint32_t mask, uint32_t* work, uint8_t* dst, int dstPitch) {
    if (!zoomPathAvailable(path)) path = ZoomPath::Plain;
    const bool wide = bytesPerPixel == 3;
    switch (path) {
#if defined(__SSE2__) && defined(__GNUC__)
    case ZoomPath::Avx2:
    case ZoomPath::Ssse3:
        if (wide && (mask & kBytePixelMask) == kByteFieldsMask) {
            if (path == ZoomPath::Avx2) smooth24Rows<smoothRow24Avx2>(src, srcPitch, dst, dstPitch);
            else smooth24Rows<smoothRow24Ssse3>(src, srcPitch, dst, dstPitch);
            return;
        }
        [[fallthrough]];
#endif
#if defined(__SSE2__)
    case ZoomPath::Sse2:
        if (wide) smooth24Sse2(src, srcPitch, mask, work, dst, dstPitch);
        else if ((mask & 1) == 0) smooth16Sse2<true>(src, srcPitch, mask, dst, dstPitch);
        else smooth16Sse2<false>(src, srcPitch, mask, dst, dstPitch);
        return;
#endif
    default:
        if (wide) smooth24Plain(src, srcPitch, mask, work, dst, dstPitch);
        else smooth16Plain(src, srcPitch, mask, work, dst, dstPitch);
        return;
    }
}

void zoomNearest16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    zoomNearestVia(zoomPath(), 2, src, srcPitch, dst, dstPitch);
}

void zoomNearest24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch) {
    zoomNearestVia(zoomPath(), 3, src, srcPitch, dst, dstPitch);
}

void zoomSmooth16(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch) {
    zoomSmoothVia(zoomPath(), 2, src, srcPitch, mask, work, dst, dstPitch);
}

void zoomSmooth24(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch) {
    zoomSmoothVia(zoomPath(), 3, src, srcPitch, mask, work, dst, dstPitch);
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
    else zoomSmooth24(src, source->pitch, mask, work, dst, target->pitch);
    unlockBoth(source, target);
}

}  // namespace video
