// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The one picture the game draws into, and how it reaches the display. Everything is drawn
// into the back buffer, 320 x 240; presentFrame shows it in one of four ways, chosen once at
// start-up: directly (the back buffer is a plain window's surface), doubled to 640 x 480 with
// sharp pixels or smoothed, or through an OpenGL texture (640 x 480, or a centred 1024 x 768
// picture on a 1360 x 768 display). All of it lives in one record, `display`.

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string_view>

namespace video {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
constexpr int kZoomedWidth = 640;
constexpr int kZoomedHeight = 480;
constexpr int kPlayAreaHeight = 192;  // the rows the veil darkens; the HUD lies below

struct DisplaySettings {
    bool fullScreen = true;  // ask for a full-screen mode
    bool zoom = true;        // show the picture at 640 x 480 (or through OpenGL)
    bool smooth = false;     // smooth the zoomed picture (linear filtering in OpenGL)
    bool openGl = false;     // present through an OpenGL texture
    bool hd = false;         // with openGl: 1360 x 768 display, 1024 x 768 picture
    int depth = 16;          // bits per pixel of display and back buffer: 16 or 24
};

// How the back buffer reaches the display.
enum class Presentation { Direct, Nearest, Smooth, OpenGl };
constexpr int kPresentationCount = 4;

struct PresentationKind {
    Presentation presentation;
    std::string_view name;
};

constexpr std::array<PresentationKind, kPresentationCount> kPresentations = {{
    {Presentation::Direct, "direct"},          // the plain 320 x 240 window
    {Presentation::Nearest, "zoom x2"},        // every pixel a 2 x 2 block
    {Presentation::Smooth, "zoom x2 smooth"},  // neighbours averaged in between
    {Presentation::OpenGl, "OpenGL"},          // a texture drawn as one quad
}};
static_assert(kPresentations[int(Presentation::OpenGl)].presentation == Presentation::OpenGl);

// How drawVeil darkens the play area: through SDL's alpha blit, or by halving every byte
// itself, rounding down or up as SDL's blit turned out to (24 bits only).
enum class VeilWay { Blit, HalveDown, HalveUp };

// The display: what was asked for, the surfaces, the named colours in the back buffer's
// format, and what each presentation keeps.
struct Display {
    DisplaySettings settings;
    Presentation presentation = Presentation::Direct;
    SDL_Surface* screenSurface = nullptr;  // the video surface, or null in direct mode
    SDL_Surface* backBuffer = nullptr;     // the only drawing target
    SDL_Surface* veil = nullptr;           // 320 x 192 black at half alpha
    VeilWay veilWay = VeilWay::Blit;
    uint32_t* smoothBuffer = nullptr;  // 640 x 240 words, smooth zoom without OpenGL only
    uint32_t glTexture = 0;            // OpenGL: the texture name,
    int32_t glFilter = 0;              // its filter (nearest, or linear when smoothing),
    uint32_t glFormat = 0;             // and the pixel format and type of the upload
    uint32_t glType = 0;

    uint32_t colorBlack = 0;
    uint32_t colorRed = 0;
    uint32_t colorDarkRed = 0;
    uint32_t colorBlue = 0;
    uint32_t colorDarkBlue = 0;
    uint32_t colorMagenta = 0;
    uint32_t colorGrey = 0;
    uint32_t colorLightGrey = 0;
    uint32_t colorDarkGrey = 0;
};

extern Display display;

// Which presentation the settings ask for: a plain window unless zoomed or full screen
// ("-fs" implies the zoom, "-t" a plain window); then OpenGL when asked, else the smooth or
// the sharp zoom. OpenGL, HD and smoothing have no effect on a plain window.
Presentation presentationFor(const DisplaySettings& settings);
// Sets the video mode and creates the back buffer, what the presentation needs, the named
// colours and the veil. A mode that cannot be set is fatal.
void setUpDisplay(const DisplaySettings& settings);
// Shows the back buffer in the chosen way.
void presentFrame();
// Lets go of what the display made (the window itself goes with SDL).
void closeDisplay();

// SDL_FillRect of that rectangle.
void fillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t color);
// Blits a whole picture to (x, y) of the back buffer.
void blitAt(SDL_Surface* picture, int x, int y);
// Blits the area (sx, sy, w, h) of a picture to (x, y) of the back buffer.
void blitArea(SDL_Surface* picture, int sx, int sy, int w, int h, int x, int y);
// Darkens the play area (rows 0..191) to half brightness.
void drawVeil();

}  // namespace video
