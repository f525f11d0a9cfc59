// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of the view's ways is 24-bit R, G, B as the path drawing writes it; SDL converts
// it to the map's format as it blits, leaving out the magenta it is keyed with.

#include "ways_layer.h"

#include "playback.h"

namespace trolkedit {

namespace {

constexpr uint8_t kKeyRed = 255, kKeyGreen = 0, kKeyBlue = 255;
constexpr int kPictureBits = 24;
constexpr int kBytesPerPixel = 3;
// R, G, B bytes in that order, as 24-bit pixel masks of a little-endian machine.
constexpr Uint32 kRedMask = 0x0000FF, kGreenMask = 0x00FF00, kBlueMask = 0xFF0000;

void makePicture(WaysLayer& layer, int w, int h) {
    if (layer.surface && layer.picture.width == w && layer.picture.height == h) return;
    if (layer.surface) SDL_FreeSurface(layer.surface);
    layer.picture = {w, h, std::vector<uint8_t>(size_t(kBytesPerPixel * w * h))};
    layer.surface =
        SDL_CreateRGBSurfaceFrom(layer.picture.rgb.data(), w, h, kPictureBits, kBytesPerPixel * w,
                                 kRedMask, kGreenMask, kBlueMask, 0);
    SDL_SetColorKey(layer.surface, SDL_SRCCOLORKEY,
                    SDL_MapRGB(layer.surface->format, kKeyRed, kKeyGreen, kKeyBlue));
}

}  // namespace

void updateWays(WaysLayer& layer, const Session& session) {
    if (layer.version == session.proofVersion) return;
    layer.version = session.proofVersion;
    layer.paths.clear();
    if (!session.proving) return;
    const Prover& prover = session.prover;
    for (size_t i = 0; i < prover.lives.size(); ++i) {
        const LifeProof& life = prover.lives[i];
        if (!life.hasWay || life.state == LIFE_SEARCHING) continue;
        const replay::LifeResult played = replay::playLife(
            prover.levelBytes, life.way.startX, life.way.startY, life.way.frames(), true);
        if (!played.error.empty()) continue;
        WayPath path;
        for (const replay::PathPoint& point : played.path) path.boxes.push_back({point.x, point.y});
        path.end = played.finished() ? level_render::PATH_EXIT
                   : played.died     ? level_render::PATH_DEATH
                                     : level_render::PATH_STOP;
        path.colour = level_render::pathColour(int(i));
        layer.paths.push_back(std::move(path));
    }
}

void drawWays(WaysLayer& layer, SDL_Surface* canvas, int viewX) {
    if (layer.paths.empty()) return;
    makePicture(layer, canvas->w, canvas->h);
    level_render::Picture& picture = layer.picture;
    for (size_t i = 0; i < picture.rgb.size(); i += kBytesPerPixel) {
        picture.rgb[i] = kKeyRed;
        picture.rgb[i + 1] = kKeyGreen;
        picture.rgb[i + 2] = kKeyBlue;
    }
    for (const WayPath& path : layer.paths) {
        std::vector<std::pair<int32_t, int32_t>> inView = path.boxes;
        for (auto& box : inView) box.first -= viewX;
        level_render::drawPath(picture, inView, path.end, 1, path.colour);
    }
    SDL_BlitSurface(layer.surface, nullptr, canvas, nullptr);
}

void freeWays(WaysLayer& layer) {
    if (layer.surface) SDL_FreeSurface(layer.surface);
    layer = {};
}

}  // namespace trolkedit
