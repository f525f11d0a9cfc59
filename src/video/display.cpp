// Mode selection. With zoom or full screen the display is 640 x 480 (or the OpenGL mode)
// and the back buffer is a separate surface; otherwise the 320 x 240 window surface is the
// back buffer itself, and the OpenGL, HD and smoothing settings have no effect. The depth is
// exactly the one asked for (SDL_ANYFORMAT is never passed), so the back buffer always has 2
// or 3 bytes per pixel.
//
// The veil at 24 bits: SDL has no quick way to blend 3-byte pixels with a surface alpha and
// takes its general per-pixel path, about half a millisecond for the play area. What its blit
// of the veil does to each byte is asked of SDL itself once, on a strip holding every byte
// value; when every byte simply halves (black at alpha 128; SDL 1.2 rounds the half up),
// drawVeil halves the bytes of the play area directly, which gives the same picture.
// Otherwise SDL blits the veil as always.

#include "video/display.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/fatal.h"
#include "video/gl_present.h"
#include "video/zoom.h"

namespace video {

DisplaySettings displaySettings;
Presentation presentation = Presentation::Direct;
SDL_Surface* screenSurface = nullptr;
SDL_Surface* backBuffer = nullptr;
SDL_Surface* veil = nullptr;
uint32_t* smoothBuffer = nullptr;

uint32_t colorBlack, colorRed, colorDarkRed, colorBlue, colorDarkBlue, colorMagenta, colorGrey,
    colorLightGrey, colorDarkGrey;

namespace {

constexpr int kGlDepth = 24;
constexpr int kHdDisplayWidth = 1360;
constexpr int kHdDisplayHeight = 768;
constexpr uint8_t kVeilAlpha = 128;

[[noreturn]] void modeFailed(const char* message) { platform::fatalError(message, SDL_GetError()); }

SDL_Surface* createBackBuffer(int depth, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, depth, r, g, b, a);
}

void setUpColors() {
    const SDL_PixelFormat* f = backBuffer->format;
    colorBlack = SDL_MapRGB(f, 0, 0, 0);
    colorRed = SDL_MapRGB(f, 255, 0, 0);
    colorDarkRed = SDL_MapRGB(f, 128, 0, 0);
    colorBlue = SDL_MapRGB(f, 0, 0, 255);
    colorDarkBlue = SDL_MapRGB(f, 0, 0, 128);
    colorMagenta = SDL_MapRGB(f, 255, 0, 255);
    colorGrey = SDL_MapRGB(f, 128, 128, 128);
    colorLightGrey = SDL_MapRGB(f, 192, 192, 192);
    colorDarkGrey = SDL_MapRGB(f, 96, 96, 96);
}

// How drawVeil darkens the play area: through SDL, or by halving every byte itself, rounding
// down or up as SDL's blit turned out to (24 bits only).
enum class VeilWay { Blit, HalveDown, HalveUp };
VeilWay veilWay = VeilWay::Blit;

// Veils a strip of two rows in the back buffer's format, the first with every byte value in
// all three bytes of a pixel, the second with the bytes of a pixel differing, and tells
// whether every byte came out halved, rounded the same way throughout.
VeilWay learnVeilWay() {
    const SDL_PixelFormat* f = backBuffer->format;
    constexpr int kValues = 256;
    if (f->BytesPerPixel != 3 || veil->w < kValues) return VeilWay::Blit;
    SDL_Surface* strip = SDL_CreateRGBSurface(0, kValues, 2, f->BitsPerPixel, f->Rmask, f->Gmask,
                                              f->Bmask, f->Amask);
    if (!strip) return VeilWay::Blit;
    auto* pixels = static_cast<uint8_t*>(strip->pixels);
    for (int i = 0; i < kValues; ++i) {
        uint8_t* same = pixels + 3 * i;
        uint8_t* mixed = pixels + strip->pitch + 3 * i;
        same[0] = same[1] = same[2] = uint8_t(i);
        mixed[0] = uint8_t(i);
        mixed[1] = uint8_t(255 - i);
        mixed[2] = uint8_t(i * 7 + 3);
    }
    std::vector<uint8_t> before(pixels, pixels + 2 * strip->pitch);
    SDL_Rect area{0, 0, Uint16(kValues), 2};
    SDL_BlitSurface(veil, &area, strip, nullptr);
    bool down = true;
    bool up = true;
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 3 * kValues; ++i) {
            const size_t at = size_t(row * strip->pitch + i);
            down = down && pixels[at] == before[at] >> 1;
            up = up && pixels[at] == (before[at] + 1) >> 1;
        }
    SDL_FreeSurface(strip);
    return down ? VeilWay::HalveDown : up ? VeilWay::HalveUp : VeilWay::Blit;
}

void setUpVeil() {
    const SDL_PixelFormat* f = backBuffer->format;
    veil = SDL_CreateRGBSurface(SDL_HWSURFACE, kScreenWidth, kPlayAreaHeight, f->BitsPerPixel,
                                f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!veil) return;
    SDL_FillRect(veil, nullptr, colorBlack);
    SDL_SetAlpha(veil, SDL_SRCALPHA, kVeilAlpha);
    veilWay = learnVeilWay();
}

// Halves every byte of the play area, eight bytes at a time, rounding down or up; no byte
// carries into the next, as each half is at most 128.
void halvePlayArea(bool roundUp) {
    if (SDL_MUSTLOCK(backBuffer) && SDL_LockSurface(backBuffer) < 0) return;
    constexpr uint64_t kLowSevenBits = 0x7F7F7F7F7F7F7F7FULL;
    constexpr uint64_t kLowestBits = 0x0101010101010101ULL;
    const uint64_t roundBits = roundUp ? kLowestBits : 0;
    const size_t rowBytes = size_t(kScreenWidth * backBuffer->format->BytesPerPixel);
    for (int y = 0; y < kPlayAreaHeight; ++y) {
        uint8_t* row = static_cast<uint8_t*>(backBuffer->pixels) + y * backBuffer->pitch;
        size_t i = 0;
        for (; i + sizeof(uint64_t) <= rowBytes; i += sizeof(uint64_t)) {
            uint64_t bytes;
            std::memcpy(&bytes, row + i, sizeof bytes);
            bytes = ((bytes >> 1) & kLowSevenBits) + (bytes & roundBits);
            std::memcpy(row + i, &bytes, sizeof bytes);
        }
        for (; i < rowBytes; ++i) row[i] = uint8_t((row[i] >> 1) + (roundUp ? row[i] & 1 : 0));
    }
    if (SDL_MUSTLOCK(backBuffer)) SDL_UnlockSurface(backBuffer);
}

void setUpOpenGl(const DisplaySettings& settings) {
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    const int w = settings.hd ? kHdDisplayWidth : kZoomedWidth;
    const int h = settings.hd ? kHdDisplayHeight : kZoomedHeight;
    uint32_t flags = SDL_OPENGL | SDL_DOUBLEBUF | SDL_HWSURFACE;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    screenSurface = SDL_SetVideoMode(w, h, kGlDepth, flags);
    if (!screenSurface) modeFailed("Unable to set 640x480 video");

    backBuffer = settings.depth == 24 ? createBackBuffer(24, 0xFF0000, 0x00FF00, 0x0000FF, 0)
                                      : createBackBuffer(16, 0xF800, 0x07E0, 0x001F, 0);
    if (!backBuffer) modeFailed("Unable to set video mode");
    setUpGlPresentation(settings.smooth, settings.hd, settings.depth, screenSurface->w,
                        screenSurface->h);
    presentation = Presentation::OpenGl;
}

void setUpZoom(const DisplaySettings& settings) {
    uint32_t flags = SDL_HWSURFACE;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    screenSurface = SDL_SetVideoMode(kZoomedWidth, kZoomedHeight, settings.depth, flags);
    if (!screenSurface) modeFailed("Unable to set 640x480 video");

    const SDL_PixelFormat* f = screenSurface->format;
    backBuffer = createBackBuffer(f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!backBuffer) modeFailed("Unable to set video mode");
    if (settings.smooth) {
        smoothBuffer = static_cast<uint32_t*>(
            std::calloc(size_t(2 * kScreenWidth * kScreenHeight), sizeof(uint32_t)));
        presentation = Presentation::Smooth;
    } else {
        presentation = Presentation::Nearest;
    }
}

void setUpDirect(const DisplaySettings& settings) {
    screenSurface = nullptr;
    backBuffer = SDL_SetVideoMode(kScreenWidth, kScreenHeight, settings.depth, 0);
    if (!backBuffer) modeFailed("Unable to set video mode");
    presentation = Presentation::Direct;
}

// A later set-up (the tests make several in one process) first lets go of the surfaces the
// earlier one created. The window surface of the direct mode belongs to SDL.
void releaseEarlierSetUp() {
    SDL_FreeSurface(veil);
    veil = nullptr;
    if (presentation != Presentation::Direct) SDL_FreeSurface(backBuffer);
    backBuffer = nullptr;
    freeSmoothBuffer();
}

}  // namespace

void setUpDisplay(const DisplaySettings& settings) {
    releaseEarlierSetUp();
    displaySettings = settings;
    if (settings.zoom || settings.fullScreen) {
        if (settings.openGl) setUpOpenGl(settings);
        else setUpZoom(settings);
    } else {
        setUpDirect(settings);
    }
    setUpColors();
    setUpVeil();
}

void presentFrame() {
    switch (presentation) {
    case Presentation::Direct: SDL_UpdateRect(backBuffer, 0, 0, 0, 0); break;
    case Presentation::OpenGl: presentWithGl(); break;
    case Presentation::Smooth:
        zoomSmooth(backBuffer, screenSurface, smoothBuffer);
        SDL_UpdateRect(screenSurface, 0, 0, 0, 0);
        break;
    case Presentation::Nearest:
        zoomNearest(backBuffer, screenSurface);
        SDL_UpdateRect(screenSurface, 0, 0, 0, 0);
        break;
    }
}

void fillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t color) {
    SDL_Rect rect{Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_FillRect(surface, &rect, color);
}

void blitAt(SDL_Surface* picture, int x, int y) {
    SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, backBuffer, &at);
}

void blitArea(SDL_Surface* picture, int sx, int sy, int w, int h, int x, int y) {
    SDL_Rect from{Sint16(sx), Sint16(sy), Uint16(w), Uint16(h)};
    SDL_Rect at{Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(picture, &from, backBuffer, &at);
}

void drawVeil() {
    switch (veilWay) {
    case VeilWay::HalveDown: halvePlayArea(false); break;
    case VeilWay::HalveUp: halvePlayArea(true); break;
    case VeilWay::Blit: blitAt(veil, 0, 0); break;
    }
}

void freeSmoothBuffer() {
    std::free(smoothBuffer);
    smoothBuffer = nullptr;
}

}  // namespace video
