// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playing the level in the editor's window: the game itself, in its test mode, on the level
// as it is now (held in memory, nothing written), from the level start, a checkpoint or any
// cell. The game's own flow runs a frame at a time: its world step, its drawing and HUD, its
// deaths and restarts at the last checkpoint, its display (the window shows the game's
// doubled picture meanwhile). Escape or the window's close button are taken by the editor
// before the game sees them and end the play; so do the open door, the game over and the end
// of the game's flow. The session's message then says how it went.

#include "session.h"

#include "video/display.h"

#include <cstdint>
#include <vector>

namespace trolkedit {

struct PlayState {
    bool active = false;
    std::vector<uint8_t> bytes;  // the level played; the game reads it for every life
    std::string from;            // where the lives start, in words
    int deaths = 0;
    bool heroDown = false;  // the hero of this life has died
};

// Starts the game on the session's level from its play request, in the game's display.
// False, with the reason in the session's message, when no life can start there.
bool startPlay(PlayState& play, Session& session, const video::DisplaySettings& gameDisplay);
// One frame of the game, unless the play ends first (escape, a close, the door, the game
// over); then `active` turns false and the session's message says how it went.
void playFrame(PlayState& play, Session& session);

}  // namespace trolkedit
