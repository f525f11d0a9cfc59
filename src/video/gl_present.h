#pragma once
// Presentation through OpenGL: the back buffer is uploaded as one 320 x 240 texture every
// frame and drawn as one quad over the 640 x 480 display, or over the centred 1024 x 768
// area of a 1360 x 768 display in HD mode.

namespace video {

// Creates the texture and the projection; called once after the GL mode is set.
void setUpGlPresentation(bool smooth, bool hd, int depth, int surfaceWidth, int surfaceHeight);
// Uploads the back buffer, draws the quad and swaps.
void presentWithGl();

}  // namespace video
