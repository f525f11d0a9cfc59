// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/present_gl.h"

#include <SDL_opengl.h>

#include "platform/fatal.h"

namespace video {

namespace {

constexpr int kGlDepth = 24;  // the OpenGL display itself is always 24 bits
constexpr int kHdWidth = 1360;
constexpr int kHdHeight = 768;
constexpr int kHdPictureWidth = 1024;
constexpr int kHdPictureHeight = 768;
constexpr int kHdLeft = (kHdWidth - kHdPictureWidth) / 2;  // 168

// The texture and the projection, once the GL mode is set.
void setUpTexture(bool smooth, bool hd, int depth, int surfaceWidth, int surfaceHeight) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    display.glTexture = texture;
    display.glFilter = smooth ? GL_LINEAR : GL_NEAREST;
    display.glFormat = depth == 24 ? GL_BGR : GL_RGB;
    display.glType = depth == 24 ? GL_UNSIGNED_BYTE : GL_UNSIGNED_SHORT_5_6_5;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (hd) {
        glViewport(kHdLeft, 0, kHdPictureWidth, kHdPictureHeight);
        glOrtho(0, kHdPictureWidth, kHdPictureHeight, 0, -1, 1);
    } else {
        glViewport(0, 0, surfaceWidth, surfaceHeight);
        glOrtho(0, surfaceWidth, surfaceHeight, 0, -1, 1);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

void setUpGl(const DisplaySettings& settings) {
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    const int w = settings.hd ? kHdWidth : kZoomedWidth;
    const int h = settings.hd ? kHdHeight : kZoomedHeight;
    uint32_t flags = SDL_OPENGL | SDL_DOUBLEBUF | SDL_HWSURFACE;
    if (settings.fullScreen) flags |= SDL_FULLSCREEN;
    display.screenSurface = SDL_SetVideoMode(w, h, kGlDepth, flags);
    if (!display.screenSurface) platform::fatalError("Unable to set 640x480 video", SDL_GetError());

    display.backBuffer =
        settings.depth == 24
            ? SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, 24, 0xFF0000, 0x00FF00, 0x0000FF,
                                   0)
            : SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
    if (!display.backBuffer) platform::fatalError("Unable to set video mode", SDL_GetError());
    setUpTexture(settings.smooth, settings.hd, settings.depth, display.screenSurface->w,
                 display.screenSurface->h);
}

void presentGl() {
    SDL_Surface* backBuffer = display.backBuffer;
    const GLuint texture = display.glTexture;
    if (SDL_MUSTLOCK(backBuffer)) SDL_LockSurface(backBuffer);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, backBuffer->pitch / backBuffer->format->BytesPerPixel);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, display.glFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, display.glFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kScreenWidth, kScreenHeight, 0, display.glFormat,
                 display.glType, backBuffer->pixels);
    glFlush();
    if (SDL_MUSTLOCK(backBuffer)) SDL_UnlockSurface(backBuffer);

    const int quadWidth = display.settings.hd ? kHdPictureWidth : kZoomedWidth;
    const int quadHeight = display.settings.hd ? kHdPictureHeight : kZoomedHeight;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(1, 0);
    glVertex2i(quadWidth, 0);
    glTexCoord2f(1, 1);
    glVertex2i(quadWidth, quadHeight);
    glTexCoord2f(0, 1);
    glVertex2i(0, quadHeight);
    glEnd();
    SDL_GL_SwapBuffers();
}

void releaseGl() {
    const GLuint texture = display.glTexture;
    if (texture) glDeleteTextures(1, &texture);
    display.glTexture = 0;
    SDL_FreeSurface(display.backBuffer);
    display.backBuffer = nullptr;
}

}  // namespace video
