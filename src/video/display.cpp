// Mode selection. With zoom or full screen the display is 640 x 480 (or the OpenGL mode)
// and the back buffer is a separate surface; otherwise the 320 x 240 window surface is the
// back buffer itself, and the OpenGL, HD and smoothing settings have no effect. The depth is
// exactly the one asked for (SDL_ANYFORMAT is never passed), so the back buffer always has 2
// or 3 bytes per pixel.

#include "video/display.h"

#include <cstdlib>

#include "app/fatal.h"
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

[[noreturn]] void modeFailed(const char* message) { app::fatalError(message, SDL_GetError()); }

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

void setUpVeil() {
    const SDL_PixelFormat* f = backBuffer->format;
    veil = SDL_CreateRGBSurface(SDL_HWSURFACE, kScreenWidth, kPlayAreaHeight, f->BitsPerPixel,
                                f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (!veil) return;
    SDL_FillRect(veil, nullptr, colorBlack);
    SDL_SetAlpha(veil, SDL_SRCALPHA, kVeilAlpha);
}

void setUpOpenGl(const DisplaySettings& settings) {
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    const int w = settings.hd ? kHdDisplayWidth : kZoomedWidth;
    const int h = settings.hd ? kHdDisplayHeight : kZoomedHeight;
    uint32_t flags = SDL_OPENGL | SDL_DOUBLEBUF | SDL_HWSURFACE;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    screenSurface = SDL_SetVideoMode(w, h, kGlDepth, flags);
    if (!screenSurface) modeFailed("Unable to set 640x480 video");

    backBuffer = settings.depth == 24
                     ? createBackBuffer(24, 0xFF0000, 0x00FF00, 0x0000FF, 0)
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

}  // namespace

void setUpDisplay(const DisplaySettings& settings) {
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

void drawVeil() { blitAt(veil, 0, 0); }

void freeSmoothBuffer() {
    std::free(smoothBuffer);
    smoothBuffer = nullptr;
}

}  // namespace video
