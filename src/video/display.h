#pragma once
// The one picture the game draws into, and how it reaches the display. Everything is drawn
// into `backBuffer`, 320 x 240; `presentFrame` shows it directly (a plain window), doubled
// to 640 x 480 (nearest or smoothed), or through an OpenGL texture (640 x 480, or a centred
// 1024 x 768 picture on a 1360 x 768 display). The mode is chosen once at start-up.

#include <SDL.h>

#include <cstdint>

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

enum class Presentation { Direct, Nearest, Smooth, OpenGl };

extern DisplaySettings displaySettings;
extern Presentation presentation;
extern SDL_Surface* screenSurface;  // the video surface, or null in direct mode
extern SDL_Surface* backBuffer;     // the only drawing target
extern SDL_Surface* veil;           // 320 x 192 black at half alpha
extern uint32_t* smoothBuffer;      // 640 x 240 words, smooth zoom without OpenGL only

// Pixel values of the named colours in the back buffer's format.
extern uint32_t colorBlack, colorRed, colorDarkRed, colorBlue, colorDarkBlue, colorMagenta,
    colorGrey, colorLightGrey, colorDarkGrey;

// Sets the video mode and creates the back buffer, the OpenGL state or the smoothing buffer,
// the named colours and the veil. A mode that cannot be set is fatal.
void setUpDisplay(const DisplaySettings& settings);
// Shows the back buffer in the chosen way.
void presentFrame();
// SDL_FillRect of that rectangle.
void fillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t color);
// Blits a whole picture to (x, y) of the back buffer.
void blitAt(SDL_Surface* picture, int x, int y);
// Blits the area (sx, sy, w, h) of a picture to (x, y) of the back buffer.
void blitArea(SDL_Surface* picture, int sx, int sy, int w, int h, int x, int y);
// Darkens the play area (rows 0..191) to half brightness.
void drawVeil();
// Frees the smoothing buffer (shutdown).
void freeSmoothBuffer();

}  // namespace video
