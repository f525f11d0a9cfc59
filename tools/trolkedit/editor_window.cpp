// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window's height follows the layout: the map's scale and the palette (a level's own
// legend lines add a group) decide it, and the window is given its new size when it changes.

#include "editor_window.h"

#include "archive/archive.h"
#include "panels.h"
#include "surface_drawing.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace trolkedit {

namespace {

std::string captionOf(const Session& session) {
    if (!session.open) return "trolkedit";
    return "trolkedit: " + std::filesystem::path(session.doc.path).filename().string() +
           (isModified(session.doc) ? " *" : "");
}

void setMode(EditorWindow& window) {
    window.surface =
        SDL_SetVideoMode(window.width, window.layout.height, window.depth, SDL_SWSURFACE);
    window.caption.clear();
    if (window.shown) SDL_FreeSurface(window.shown);
    window.shown = nullptr;
}

// Shows the rows of the window that differ from the picture shown last, in runs of rows.
void showChanges(EditorWindow& window) {
    SDL_Surface* surface = window.surface;
    if (!window.shown) {
        window.shown = surfaceLike(surface, surface->w, surface->h);
        SDL_BlitSurface(surface, nullptr, window.shown, nullptr);
        SDL_UpdateRect(surface, 0, 0, 0, 0);
        return;
    }
    std::vector<SDL_Rect> runs;
    const size_t rowBytes = size_t(surface->w * surface->format->BytesPerPixel);
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        auto* now = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        auto* before = static_cast<uint8_t*>(window.shown->pixels) + y * window.shown->pitch;
        if (std::memcmp(now, before, rowBytes) == 0) continue;
        std::memcpy(before, now, rowBytes);
        if (!runs.empty() && runs.back().y + runs.back().h == y) ++runs.back().h;
        else runs.push_back({0, Sint16(y), Uint16(surface->w), 1});
    }
    SDL_UnlockSurface(surface);
    if (!runs.empty()) SDL_UpdateRects(surface, int(runs.size()), runs.data());
}

// The editor's window again after a play, which had the game's display.
void backFromPlay(EditorWindow& window) {
    setMode(window);
    window.repeat = {};
}

// The layout for the session as it is; the window takes its size when it changed.
void fitWindow(EditorWindow& window, Session& session) {
    const Layout layout = layoutFor(window.width, session.scale, session.palette);
    const bool resize = !window.surface || layout.height != window.layout.height;
    window.layout = layout;
    if (resize) setMode(window);
    scrollTo(session, window.layout, session.viewX);
    const std::string caption = captionOf(session);
    if (caption != window.caption) {
        SDL_WM_SetCaption(caption.c_str(), nullptr);
        window.caption = caption;
    }
}

void loadStyle(video::GraphicsStyle style) {
    video::graphicsStyle = style;
    video::loadFonts();
    video::loadLogo();
    video::loadScenePictures();
    video::loadTileSet();
}

void freeStyle() {
    video::freePictures();
    video::freeTileSet();
    video::freeFonts();
}

}  // namespace

bool openEditorWindow(EditorWindow& window, Session& session, video::GraphicsStyle style,
                      std::string& error) {
    window.gameDisplay.fullScreen = false;
    window.gameDisplay.zoom = true;
    window.gameDisplay.depth = window.depth;
    video::setUpDisplay(window.gameDisplay);
    archive::openArchives();
    if (!archive::archiveSlots[archive::ARCHIVE_GFX].directory) {
        error =
            "no graphics archive at data/gfx.zda in " + std::filesystem::current_path().string();
        return false;
    }
    loadStyle(style);
    SDL_EnableUNICODE(1);
    refreshSession(session);
    fitWindow(window, session);
    if (!window.surface) {
        error = std::string("no window: ") + SDL_GetError();
        return false;
    }
    return true;
}

void drawEditor(EditorWindow& window, const Session& session) {
    SDL_Surface* surface = window.surface;
    const Layout& layout = window.layout;
    drawMapView(window.map, surface, layout, session, window.frame);
    if (session.help) drawTextBox(surface, layout, helpLines());
    else if (session.report && session.proving && session.prover.state == PROVER_DONE &&
             std::any_of(session.prover.lives.begin(), session.prover.lives.end(),
                         [](const LifeProof& life) { return life.state == LIFE_NO_WAY; }))
        drawTextBox(surface, layout, proofReport(session));
    drawRuler(surface, layout, session);
    drawPalette(surface, layout, session, window.frame);
    drawStatus(surface, layout, session);
}

void editorFrame(EditorWindow& window, Session& session) {
    if (window.play.active) {
        playFrame(window.play, session);
        tickSession(session, SDL_GetTicks());
        if (!window.play.active) backFromPlay(window);
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleEvent(window, session, event);
    repeatHeldKey(window, session, SDL_GetTicks());
    tickSession(session, SDL_GetTicks());
    if (session.play) {
        if (startPlay(window.play, session, window.gameDisplay)) return;
        backFromPlay(window);
    }
    fitWindow(window, session);
    drawEditor(window, session);
    showChanges(window);
    ++window.frame;
}

void nextStyle(EditorWindow& window, Session& session) {
    (void)window;
    const video::GraphicsStyle next =
        video::GraphicsStyle((video::graphicsStyle + 1) % int(video::kStyleFiles.size()));
    freeStyle();
    loadStyle(next);
    static constexpr const char* kNames[] = {"classic", "deluxe", "handheld"};
    session.message = std::string("the ") + kNames[next] + " style";
}

void closeEditorWindow(EditorWindow& window) {
    if (window.shown) SDL_FreeSurface(window.shown);
    window.shown = nullptr;
    freeMapView(window.map);
    freeStyle();
    archive::closeArchives();
    video::closeDisplay();
    window.surface = nullptr;
}

}  // namespace trolkedit
