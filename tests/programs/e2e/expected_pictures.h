// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the window should show, made by the game's own drawing code: a child process brings
// the display up headless (SDL's dummy driver) with the built pictures, runs a drawing into
// the back buffer and passes the result through the game's two zoom filters. A drawing is
// run twice over two different backgrounds, so the pixels it decides (text, pictures) are
// told apart from the ones it leaves alone; only those are compared with a screenshot.

#include "x_session.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// How the window presents the 320 x 240 picture.
enum class Presentation {
    Plain,     // a 320 x 240 window
    Nearest,   // 640 x 480, every pixel doubled
    Smooth,    // 640 x 480 through the smoothing filter
    OpenGl,    // 640 x 480 through a texture with nearest filtering
    OpenGlHd,  // 1360 x 768, the picture stretched to 1024 x 768 from x 168
};

struct Expected {
    int depth = 16;                // bits per pixel of the back buffer that drew it
    Picture plain;                 // 320 x 240
    Picture nearest;               // 640 x 480 by the game's nearest zoom
    Picture smooth;                // 640 x 480 by the game's smoothing filter
    std::vector<uint8_t> decided;  // 320 x 240: 1 where the drawing decides the pixel

    // Leaves rows [top, bottom) out of every comparison (blinking titles).
    void ignoreRows(int top, int bottom);
};

// Draws into video::display.backBuffer.
using Drawing = std::function<void()>;

// Runs the drawing in a child process at that depth, with the archives of `workDir/data`
// and the fonts, logo, scene pictures and tile images of the deluxe style loaded. An empty
// plain picture means the child failed; `error` says how.
Expected drawExpected(const std::filesystem::path& workDir, int depth, const Drawing& drawing,
                      std::string& error);

// Drawings made of the game's own screens and text routines.
Drawing warningScreen();
Drawing creditsScreen();
Drawing styleChoiceScreen();
Drawing textCentred(std::string_view text, int y, bool big);
Drawing textAt(std::string_view text, int x, int y, bool big);
Drawing hudNumber(int value, int x, int digits);
Drawing donatePicture();
Drawing allOf(std::vector<Drawing> drawings);

struct Match {
    long compared = 0;  // pixels that count
    long wrong = 0;     // of those, pixels that differ
    int firstX = -1, firstY = -1;
    std::string problem;  // size mismatch or an empty screenshot

    bool good() const { return problem.empty() && compared > 0 && wrong == 0; }
    std::string describe() const;
};

// Compares a screenshot of the window with the expected picture shown the given way. At 16
// bits only the bits the back buffer holds (5, 6, 5) are compared, since how they are widened
// to 8 bits is the X server's or the OpenGL driver's business.
Match compare(const Picture& shot, const Expected& expected, Presentation how);

}  // namespace e2e
