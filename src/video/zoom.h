// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two software zoom filters, 320 x 240 to 640 x 480, on raw pixel rows of 2 or 3 bytes.
//
// Nearest: every source pixel becomes a 2 x 2 block.
// Smooth: output (2x, 2y) is the source pixel; (2x+1, 2y) averages it with its right
// neighbour, (2x, 2y+1) with the pixel below, (2x+1, 2y+1) averages the right neighbour with
// the pixel below. Averages are taken on whole pixel values whose lowest bit of each colour
// field is cleared first (the mask), so the carry of a field lands in that cleared bit and
// the shift moves it back: every field is the truncated average of its two fields.
// The last column and the last row have no right or lower neighbour; there the edge pixel
// is repeated, and the average of a pixel with itself is the pixel, unmasked.

#include <SDL.h>
#include <cstdint>

namespace video {

// The mask that clears the lowest bit of the R, G and B fields of a pixel value.
uint32_t smoothMask(int bytesPerPixel, int rShift, int gShift, int bShift);

// The ways the raw filters can run: plain loops; SSE2; SSE2 with SSSE3's byte shuffle for
// 24-bit pixels; and that with AVX2 doing two groups of 24-bit pixels at once when smoothing.
// All give the same bytes; the fastest one the processor has is used.
enum class ZoomPath { Plain, Sse2, Ssse3, Avx2 };

// The path the raw filters below take on this processor.
ZoomPath zoomPath();
// True when this build and this processor can run `path`.
bool zoomPathAvailable(ZoomPath path);
// A short English name of a path, for the benchmark.
const char* zoomPathName(ZoomPath path);

// Raw filters: source 320 x 240, destination 640 x 480, pitches in bytes. Bytes beyond 640
// pixels in an output row are never written.
void zoomNearest16(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch);
void zoomNearest24(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch);
// `work` is scratch of 640 x 240 words: the plain loops keep the plain and the masked value of
// every source pixel there, the SSE2 24-bit filter two widened rows at a time.
void zoomSmooth16(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch);
void zoomSmooth24(const uint8_t* src, int srcPitch, uint32_t mask, uint32_t* work, uint8_t* dst,
                  int dstPitch);

// The raw filters through a chosen path (2 or 3 bytes per pixel), for the tests and the
// benchmark; a path this machine lacks runs as plain loops.
void zoomNearestVia(ZoomPath path, int bytesPerPixel, const uint8_t* src, int srcPitch,
                    uint8_t* dst, int dstPitch);
void zoomSmoothVia(ZoomPath path, int bytesPerPixel, const uint8_t* src, int srcPitch,
                   uint32_t mask, uint32_t* work, uint8_t* dst, int dstPitch);

// Surface versions: lock both surfaces, filter by the back buffer's depth, unlock.
void zoomNearest(SDL_Surface* source, SDL_Surface* target);
void zoomSmooth(SDL_Surface* source, SDL_Surface* target, uint32_t* work);

}  // namespace video
