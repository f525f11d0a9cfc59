// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Escape is looked for in SDL's queue before each frame, so that the game never turns it into
// "SURE TO QUIT?"; should one slip through between the look and the game's own poll, the
// question ends the play all the same.

#include "play_here.h"

#include "app/flow.h"
#include "app/game_loop.h"
#include "platform/input.h"
#include "platform/ticks.h"
#include "world/lifetimes.h"

#include <SDL.h>

namespace trolkedit {

namespace {

constexpr int kPeekedEvents = 64;

// Whether escape or a close waits in the queue; the events stay where they are.
bool leaveWaiting() {
    SDL_PumpEvents();
    SDL_Event events[kPeekedEvents];
    const int n = SDL_PeepEvents(events, kPeekedEvents, SDL_PEEKEVENT,
                                 SDL_EVENTMASK(SDL_KEYDOWN) | SDL_EVENTMASK(SDL_QUIT));
    for (int i = 0; i < n; ++i)
        if (events[i].type == SDL_QUIT || events[i].key.keysym.sym == SDLK_ESCAPE) return true;
    return false;
}

// The screens of the game a play goes through; any other one ends it.
bool playing(app::Screen screen) {
    switch (screen) {
    case app::Screen::Play:
    case app::Screen::Pause:
    case app::Screen::GameOver: return true;
    default: return false;
    }
}

std::string deathsText(int deaths) {
    if (deaths == 0) return "no life lost";
    return std::to_string(deaths) + (deaths == 1 ? " life lost" : " lives lost");
}

void end(PlayState& play, Session& session, const std::string& how) {
    play.active = false;
    app::endGame();
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {}
    platform::input = {};
    platform::actions = {};
    session.message = "played from " + play.from + ": " + how + ", " + deathsText(play.deaths);
}

}  // namespace

bool startPlay(PlayState& play, Session& session, const video::DisplaySettings& gameDisplay) {
    const PlayRequest request = *session.play;
    session.play.reset();
    play = {};
    play.bytes = level_text::levelFileBytes(session.doc.level);
    play.from = request.from;
    platform::input = {};
    platform::actions = {};
    video::setUpDisplay(gameDisplay);
    const world::LevelFault fault =
        app::beginGameOn(play.bytes.data(), play.bytes.size(), request.x, request.y);
    if (fault != world::LEVEL_OK) {
        session.message =
            "cannot play from " + play.from + ": " + std::string(world::levelFaultText(fault));
        return false;
    }
    play.active = true;
    return true;
}

void playFrame(PlayState& play, Session& session) {
    if (leaveWaiting()) return end(play, session, "left with escape");
    app::runFramesUntil(platform::readTicks() + 1);
    const world::PlayerState& hero = world::life.player;
    const bool down = !hero.alive || hero.dying;
    if (down && !play.heroDown && app::flow.screen == app::Screen::Play) ++play.deaths;
    play.heroDown = down;
    if (playing(app::flow.screen)) return;
    switch (app::pass.end) {
    case app::PassEnd::Finished:
        return end(play, session,
                   "the door reached with " + std::to_string(world::life.timeLeft) +
                       " frames to spare");
    case app::PassEnd::Quit: return end(play, session, "a restart point without ground");
    default: break;
    }
    end(play, session, app::flow.screen == app::Screen::QuitQuestion ? "left" : "GAME OVER");
}

}  // namespace trolkedit
