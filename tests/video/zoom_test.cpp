// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The zoom filters, pixel for pixel, on real SDL surfaces: the worked examples of the
// smoothing rule, the edge pixels, and agreement with a plain reference on a busy picture;
// and the vectorised filters against the plain loops, byte for byte, on random pictures.

#include "support/sdl_fixture.h"
#include "video/display.h"
#include "video/zoom.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

::testing::Environment* const sdl =
    ::testing::AddGlobalTestEnvironment(new test_support::SdlEnvironment);

struct Surfaces {
    SDL_Surface* source;
    SDL_Surface* target;
    std::vector<uint32_t> work = std::vector<uint32_t>(640 * 240);

    explicit Surfaces(int depth) {
        if (depth == 16) {
            source = SDL_CreateRGBSurface(0, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
            target = SDL_CreateRGBSurface(0, 640, 480, 16, 0xF800, 0x07E0, 0x001F, 0);
        } else {
            source = SDL_CreateRGBSurface(0, 320, 240, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
            target = SDL_CreateRGBSurface(0, 640, 480, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
        }
    }
    ~Surfaces() {
        SDL_FreeSurface(source);
        SDL_FreeSurface(target);
    }
    int bytes() const { return source->format->BytesPerPixel; }
    void set(int x, int y, uint32_t v) {
        uint8_t* p = static_cast<uint8_t*>(source->pixels) + y * source->pitch + x * bytes();
        for (int i = 0; i < bytes(); ++i) p[i] = uint8_t(v >> (8 * i));
    }
    uint32_t get(SDL_Surface* s, int x, int y) const {
        const uint8_t* p = static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bytes();
        uint32_t v = 0;
        for (int i = 0; i < bytes(); ++i) v |= uint32_t(p[i]) << (8 * i);
        return v;
    }
    uint32_t out(int x, int y) const { return get(target, x, y); }
    uint32_t in(int x, int y) const { return get(source, x, y); }
    void fill(uint32_t v) {
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) set(x, y, v);
    }
    void smooth() { video::zoomSmooth(source, target, work.data()); }
    void nearest() { video::zoomNearest(source, target); }
};

TEST(ZoomNearest, EveryPixelBecomesATwoByTwoBlock) {
    for (int depth : {16, 24}) {
        SCOPED_TRACE(depth);
        Surfaces s(depth);
        std::mt19937 random(7);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) s.set(x, y, random() & (depth == 16 ? 0xFFFF : 0xFFFFFF));
        s.nearest();
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(s.out(x, y), s.in(x / 2, y / 2)) << x << "," << y;
    }
}

TEST(ZoomSmooth, AveragesEachFieldWithTruncation) {
    Surfaces s(16);
    s.fill(0xFFFF);
    s.set(10, 10, 0x0000);  // black with white to its right and below
    s.smooth();
    EXPECT_EQ(s.out(20, 20), 0x0000u);                         // the pixel itself, unchanged
    EXPECT_EQ(s.out(21, 20), (15u << 11) | (31u << 5) | 15u);  // red, blue 15; green 31
    EXPECT_EQ(s.out(20, 21), 0x7BEFu);
    EXPECT_EQ(s.out(21, 21), 0xF7DEu);  // right and below are both white
    EXPECT_EQ(s.out(40, 40), 0xFFFFu);  // source pixels are copied unchanged...
    EXPECT_EQ(s.out(41, 40), 0xF7DEu);  // ...the inserted ones lose each field's lowest bit

    Surfaces t(24);
    t.fill(0xFFFFFF);
    t.set(10, 10, 0x000000);
    t.smooth();
    EXPECT_EQ(t.out(20, 20), 0u);
    EXPECT_EQ(t.out(21, 20), 0x7F7F7Fu);
    EXPECT_EQ(t.out(41, 41), 0xFEFEFEu);
}

TEST(ZoomSmooth, TheLastColumnAndRowRepeatTheirEdgePixel) {
    for (int depth : {16, 24}) {
        SCOPED_TRACE(depth);
        Surfaces s(depth);
        const uint32_t white = depth == 16 ? 0xFFFF : 0xFFFFFF;
        s.fill(white);
        s.set(319, 100, 0);
        s.smooth();
        EXPECT_EQ(s.out(638, 200), 0u);
        EXPECT_EQ(s.out(639, 200), 0u);  // its own right neighbour
        EXPECT_EQ(s.out(639, 201), s.out(638, 201));
        EXPECT_EQ(s.out(639, 210), white);  // exact, not masked
        EXPECT_EQ(s.out(639, 479), white);
        for (int x = 0; x < 640; ++x) ASSERT_EQ(s.out(x, 479), s.out(x, 478)) << x;
    }
}

// The filter exactly as described, one output pixel at a time.
uint32_t referenceSmooth(const Surfaces& s, uint32_t mask, int ox, int oy) {
    const int x = ox / 2, y = oy / 2;
    const uint32_t p = s.in(x, y);
    const bool hasRight = x < 319, hasBelow = y < 239;
    const uint32_t m = p & mask;
    const uint32_t r = hasRight ? s.in(x + 1, y) & mask : m;
    const uint32_t d = hasBelow ? s.in(x, y + 1) & mask : m;
    const bool right = ox & 1, below = oy & 1;
    if (!right && !below) return p;
    if (right && !below) return hasRight ? (m + r) >> 1 : p;
    if (!right && below) return hasBelow ? (m + d) >> 1 : p;
    if (!hasBelow) return hasRight ? (m + r) >> 1 : p;
    return ((hasRight ? r : m) + d) >> 1;
}

TEST(ZoomSmooth, MatchesThePlainRuleOnABusyPicture) {
    for (int depth : {16, 24}) {
        SCOPED_TRACE(depth);
        Surfaces s(depth);
        std::mt19937 random(11);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) s.set(x, y, random() & (depth == 16 ? 0xFFFF : 0xFFFFFF));
        s.smooth();
        const SDL_PixelFormat* f = s.source->format;
        const uint32_t mask = video::smoothMask(f->BytesPerPixel, f->Rshift, f->Gshift, f->Bshift);
        const uint32_t keep = depth == 16 ? 0xFFFF : 0xFFFFFF;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(s.out(x, y), referenceSmooth(s, mask, x, y) & keep) << x << "," << y;
    }
}

// Raw pixel rows with spare bytes after every output row and after the output, which no
// filter may touch; the source ends right after its last pixel, so that a sanitizer build
// catches any read past it.
struct RawPicture {
    static constexpr uint8_t kUntouched = 0x5A;
    int bytes;
    int srcPitch;
    int dstPitch;
    std::vector<uint8_t> src;
    std::vector<uint8_t> dst;
    std::vector<uint32_t> work = std::vector<uint32_t>(640 * 240);

    RawPicture(int bytesPerPixel, std::mt19937& random)
        : bytes(bytesPerPixel), srcPitch(320 * bytesPerPixel + 12),
          dstPitch(640 * bytesPerPixel + 20), src(size_t(srcPitch * 239 + 320 * bytesPerPixel)),
          dst(size_t(dstPitch * 480 + 64), kUntouched) {
        // Mostly random pixels, with runs of all-zero and all-one bytes for the carries.
        for (uint8_t& b : src) {
            const uint32_t pick = random() % 8;
            b = pick == 0 ? 0x00 : pick == 1 ? 0xFF : uint8_t(random());
        }
    }
};

TEST(ZoomFilters, VectorisedAndPlainAgreeOnRandomPictures) {
    std::vector<video::ZoomPath> paths;
    for (video::ZoomPath path :
         {video::ZoomPath::Sse2, video::ZoomPath::Ssse3, video::ZoomPath::Avx2})
        if (video::zoomPathAvailable(path)) paths.push_back(path);
    if (paths.empty()) GTEST_SKIP() << "the plain loops are the only filters here";
    struct Format {
        int bytes, rShift, gShift, bShift;
    };
    const Format formats[] = {
        {2, 11, 5, 0},  // 5-6-5
        {2, 10, 5, 0},  // 5-5-5
        {2, 11, 6, 1},  // 5-5-5-1: no field at bit 0, so the sums can be odd
        {3, 16, 8, 0},  // RGB
        {3, 0, 8, 16},  // BGR
        {3, 18, 9, 0},  // fields that are not whole bytes
    };
    std::mt19937 random(2024);
    for (video::ZoomPath path : paths) {
        for (const Format& f : formats) {
            for (int picture = 0; picture < 2; ++picture) {
                SCOPED_TRACE(testing::Message() << video::zoomPathName(path) << ", " << f.bytes
                                                << " bytes, shifts " << f.rShift << "," << f.gShift
                                                << "," << f.bShift << ", picture " << picture);
                RawPicture fast(f.bytes, random);
                RawPicture plain = fast;
                const uint32_t mask = video::smoothMask(f.bytes, f.rShift, f.gShift, f.bShift);
                const auto agree = [&](const char* filter) {
                    SCOPED_TRACE(filter);
                    for (size_t i = 0; i < fast.dst.size(); ++i)
                        ASSERT_EQ(fast.dst[i], plain.dst[i])
                            << "output row " << i / size_t(fast.dstPitch) << ", byte "
                            << i % size_t(fast.dstPitch);
                    for (size_t y = 0; y < 480; ++y)
                        for (int i = 640 * f.bytes; i < fast.dstPitch; ++i)
                            ASSERT_EQ(fast.dst[y * size_t(fast.dstPitch) + size_t(i)],
                                      RawPicture::kUntouched);
                };
                video::zoomNearestVia(path, f.bytes, fast.src.data(), fast.srcPitch,
                                      fast.dst.data(), fast.dstPitch);
                video::zoomNearestVia(video::ZoomPath::Plain, f.bytes, plain.src.data(),
                                      plain.srcPitch, plain.dst.data(), plain.dstPitch);
                agree("nearest");
                video::zoomSmoothVia(path, f.bytes, fast.src.data(), fast.srcPitch, mask,
                                     fast.work.data(), fast.dst.data(), fast.dstPitch);
                video::zoomSmoothVia(video::ZoomPath::Plain, f.bytes, plain.src.data(),
                                     plain.srcPitch, mask, plain.work.data(), plain.dst.data(),
                                     plain.dstPitch);
                agree("smooth");
            }
        }
    }
}

TEST(ZoomSmooth, MaskClearsTheLowestBitOfEachField) {
    EXPECT_EQ(video::smoothMask(2, 11, 5, 0), 0xF7DEu);
    EXPECT_EQ(video::smoothMask(3, 16, 8, 0), 0xFFFEFEFEu);
}

}  // namespace
