#include "video/gl_present.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include "video/display.h"

namespace video {

namespace {

constexpr int kHdWidth = 1360;
constexpr int kHdPictureWidth = 1024;
constexpr int kHdPictureHeight = 768;
constexpr int kHdLeft = (kHdWidth - kHdPictureWidth) / 2;  // 168

struct GlPresentation {
    GLuint texture = 0;
    GLint filter = GL_NEAREST;
    GLenum format = GL_RGB;
    GLenum type = GL_UNSIGNED_SHORT_5_6_5;
    int quadWidth = kZoomedWidth;
    int quadHeight = kZoomedHeight;
};

GlPresentation gl;

}  // namespace

void setUpGlPresentation(bool smooth, bool hd, int depth, int surfaceWidth, int surfaceHeight) {
    glGenTextures(1, &gl.texture);
    gl.filter = smooth ? GL_LINEAR : GL_NEAREST;
    gl.format = depth == 24 ? GL_BGR : GL_RGB;
    gl.type = depth == 24 ? GL_UNSIGNED_BYTE : GL_UNSIGNED_SHORT_5_6_5;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (hd) {
        glViewport(kHdLeft, 0, kHdPictureWidth, kHdPictureHeight);
        glOrtho(0, kHdPictureWidth, kHdPictureHeight, 0, -1, 1);
        gl.quadWidth = kHdPictureWidth;
        gl.quadHeight = kHdPictureHeight;
    } else {
        glViewport(0, 0, surfaceWidth, surfaceHeight);
        glOrtho(0, surfaceWidth, surfaceHeight, 0, -1, 1);
        gl.quadWidth = kZoomedWidth;
        gl.quadHeight = kZoomedHeight;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void presentWithGl() {
    if (SDL_MUSTLOCK(backBuffer)) SDL_LockSurface(backBuffer);
    glBindTexture(GL_TEXTURE_2D, gl.texture);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, backBuffer->pitch / backBuffer->format->BytesPerPixel);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, gl.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, gl.filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, kScreenWidth, kScreenHeight, 0, gl.format, gl.type,
                 backBuffer->pixels);
    glFlush();
    if (SDL_MUSTLOCK(backBuffer)) SDL_UnlockSurface(backBuffer);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, gl.texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(1, 0);
    glVertex2i(gl.quadWidth, 0);
    glTexCoord2f(1, 1);
    glVertex2i(gl.quadWidth, gl.quadHeight);
    glTexCoord2f(0, 1);
    glVertex2i(0, gl.quadHeight);
    glEnd();
    SDL_GL_SwapBuffers();
}

}  // namespace video
