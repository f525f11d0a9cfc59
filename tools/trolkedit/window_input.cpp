// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keys and the mouse of the editor. Every printable character is a legend character that
// chooses the brush, so the commands are on the function keys and on Ctrl:
//
//   left button          paint with the brush (a stroke is one step to undo)
//   shift + left         fill the rectangle from where the button went down to where it came up
//   right button         erase (paint air)
//   middle, ctrl + left  pick up the cell's character as the brush
//   a palette entry      choose it as the brush; a legend character on the keyboard does too
//   wheel, arrows        scroll (a cell at a time; shift: a screen); page up/down, home/end;
//                        the arrows, page up/down, insert and delete act again while held
//   insert, delete       a column of air before the column under the mouse, or that column
//                        out (shift: ten)
//   ctrl+z, ctrl+y       undo, redo (ctrl+shift+z redoes too)
//   ctrl+s, ctrl+t       save the text; write the level file as the game's test map
//   ctrl+r, ctrl+q       save the proof's replays; quit
//   F1 help, F2 grid, F3 column numbers, F4 scale, F9 graphics style, F10 the proof's report
//   F5, F6, F7           play from the level start, the checkpoint at the mouse, the cell under
//                        the mouse (escape returns)
//   F8                   prove (again: stop)
//   escape               let go of a fill without doing it, end a stroke; hide the help

#include "editor_window.h"

namespace trolkedit {

namespace {

constexpr int kWheelCells = 3;
constexpr uint32_t kRepeatDelayMs = 250;    // a held key acts again after this
constexpr uint32_t kRepeatIntervalMs = 30;  // and then this often
constexpr int kManyColumns = 10;
constexpr Uint16 kFirstPrintable = '!';
constexpr Uint16 kLastPrintable = '~';

void hoverAt(EditorWindow& window, Session& session, int x, int y) {
    window.mouseX = x;
    window.mouseY = y;
    const int columns = session.open ? session.doc.level.width : 0;
    session.hover = cellAt(window.layout, session.viewX, columns, x, y);
}

// The column under the mouse, or the one after the last in view.
int columnAtMouse(const EditorWindow& window, const Session& session) {
    if (session.hover) return session.hover->column;
    return std::min(session.doc.level.width,
                    (session.viewX + viewPixels(window.layout)) / kCellSize);
}

void scrollCells(EditorWindow& window, Session& session, int cells) {
    scrollBy(session, window.layout, cells * kCellSize);
    hoverAt(window, session, window.mouseX, window.mouseY);
}

bool controlKey(EditorWindow& window, Session& session, const SDL_keysym& key) {
    (void)window;
    const bool shift = key.mod & KMOD_SHIFT;
    switch (key.sym) {
    case SDLK_z: shift ? redoStep(session) : undoStep(session); return true;
    case SDLK_y: redoStep(session); return true;
    case SDLK_s: saveText(session); return true;
    case SDLK_t: writeTestMap(session); return true;
    case SDLK_r: saveWays(session); return true;
    case SDLK_q: askToQuit(session); return true;
    default: return false;
    }
}

void functionKey(EditorWindow& window, Session& session, SDLKey key) {
    switch (key) {
    case SDLK_F1: session.help = !session.help; break;
    case SDLK_F2: session.grid = !session.grid; break;
    case SDLK_F3: session.numbers = !session.numbers; break;
    case SDLK_F4: session.scale = session.scale == 1 ? 2 : 1; break;
    case SDLK_F5: requestPlay(session, PlayFrom::LevelStart); break;
    case SDLK_F6: requestPlay(session, PlayFrom::Checkpoint); break;
    case SDLK_F7: requestPlay(session, PlayFrom::Cell); break;
    case SDLK_F8: toggleProof(session); break;
    case SDLK_F9: nextStyle(window, session); break;
    case SDLK_F10: session.report = !session.report; break;
    default: break;
    }
}

// Acts for a key that acts again while held (scrolling, columns in and out); false for any
// other.
bool repeatingKey(EditorWindow& window, Session& session, const SDL_keysym& key) {
    const bool shift = key.mod & KMOD_SHIFT;
    const int screen = viewPixels(window.layout) / kCellSize;
    switch (key.sym) {
    case SDLK_LEFT: scrollCells(window, session, shift ? -screen : -1); return true;
    case SDLK_RIGHT: scrollCells(window, session, shift ? screen : 1); return true;
    case SDLK_PAGEUP: scrollCells(window, session, -screen); return true;
    case SDLK_PAGEDOWN: scrollCells(window, session, screen); return true;
    case SDLK_INSERT:
        insertColumnsAt(session, columnAtMouse(window, session), shift ? kManyColumns : 1);
        return true;
    case SDLK_DELETE:
        if (session.hover)
            deleteColumnsAt(session, session.hover->column, shift ? kManyColumns : 1);
        else session.message = "point at a column to delete it";
        return true;
    default: return false;
    }
}

void keyDown(EditorWindow& window, Session& session, const SDL_keysym& key) {
    if ((key.mod & KMOD_CTRL) && controlKey(window, session, key)) return;
    if (repeatingKey(window, session, key)) {
        window.repeat.key = key;
        window.repeat.held = true;
        window.repeat.nextMs = SDL_GetTicks() + kRepeatDelayMs;
        return;
    }
    switch (key.sym) {
    case SDLK_HOME: scrollCells(window, session, -session.viewX / kCellSize - 1); return;
    case SDLK_END: scrollCells(window, session, session.doc.level.width); return;
    case SDLK_ESCAPE:
        if (session.stroke == Stroke::Fill) session.stroke = Stroke::None;
        else endStroke(session);
        session.help = false;
        return;
    default: break;
    }
    if (key.sym >= SDLK_F1 && key.sym <= SDLK_F15) return functionKey(window, session, key.sym);
    if (!(key.mod & (KMOD_CTRL | KMOD_ALT)) && key.unicode >= kFirstPrintable &&
        key.unicode <= kLastPrintable)
        chooseBrush(session, char(key.unicode));
}

void buttonDown(EditorWindow& window, Session& session, const SDL_MouseButtonEvent& button) {
    hoverAt(window, session, button.x, button.y);
    if (button.button == SDL_BUTTON_WHEELUP) return scrollCells(window, session, -kWheelCells);
    if (button.button == SDL_BUTTON_WHEELDOWN) return scrollCells(window, session, kWheelCells);
    if (const PaletteSpot* spot = spotAt(window.layout, button.x, button.y)) {
        if (button.button == SDL_BUTTON_LEFT) chooseBrush(session, spot->character);
        return;
    }
    if (!session.hover || session.stroke != Stroke::None) return;
    const SDLMod mod = SDL_GetModState();
    const Cell cell = *session.hover;
    window.strokeButton = button.button;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        if (mod & KMOD_CTRL) pickUp(session, cell);
        else beginStroke(session, mod & KMOD_SHIFT ? Stroke::Fill : Stroke::Paint, cell);
        break;
    case SDL_BUTTON_RIGHT: beginStroke(session, Stroke::Erase, cell); break;
    case SDL_BUTTON_MIDDLE: pickUp(session, cell); break;
    default: break;
    }
}

}  // namespace

void handleEvent(EditorWindow& window, Session& session, const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN: keyDown(window, session, event.key.keysym); break;
    case SDL_KEYUP:
        if (window.repeat.held && event.key.keysym.sym == window.repeat.key.sym)
            window.repeat.held = false;
        break;
    case SDL_MOUSEMOTION:
        hoverAt(window, session, event.motion.x, event.motion.y);
        if (session.hover) strokeTo(session, *session.hover);
        break;
    case SDL_MOUSEBUTTONDOWN: buttonDown(window, session, event.button); break;
    case SDL_MOUSEBUTTONUP:
        hoverAt(window, session, event.button.x, event.button.y);
        if (event.button.button == window.strokeButton) endStroke(session);
        break;
    case SDL_ACTIVEEVENT:
        if ((event.active.state & SDL_APPMOUSEFOCUS) && !event.active.gain) {
            window.mouseX = window.mouseY = -1;
            session.hover.reset();
        }
        break;
    case SDL_QUIT: askToQuit(session); break;
    default: break;
    }
}

void repeatHeldKey(EditorWindow& window, Session& session, uint32_t nowMs) {
    if (!window.repeat.held || nowMs < window.repeat.nextMs) return;
    window.repeat.nextMs = nowMs + kRepeatIntervalMs;
    // The modifiers as they are now: shift let go turns ten columns into one.
    SDL_keysym key = window.repeat.key;
    key.mod = SDL_GetModState();
    repeatingKey(window, session, key);
}

}  // namespace trolkedit
