// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/startup.h"

#include <SDL.h>

#include <cstdlib>
#include <ctime>

#include "app/command_line.h"
#include "app/flow.h"
#include "app/game_loop.h"
#include "archive/archive.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "persist/config.h"
#include "persist/hiscores.h"
#include "platform/fatal.h"
#include "platform/input.h"
#include "platform/stop_signal.h"
#include "platform/ticks.h"
#include "video/display.h"
#include "video/graphics.h"
#include "world/level.h"

namespace app {

namespace {

constexpr int kEffectVolumeDivisor = 6;  // effects play at a sixth of the volume setting

struct Session {
    SDL_Joystick* joystick = nullptr;
    SDL_Cursor* cursor = nullptr;
    bool configRead = false;  // the configuration is written back only when it was read
};

Session session;

void openJoystick() {
    if (SDL_Init(SDL_INIT_JOYSTICK) < 0) return;
    if (SDL_NumJoysticks() > 0) session.joystick = SDL_JoystickOpen(0);
    SDL_JoystickEventState(SDL_ENABLE);
}

void openAudioDevice() {
    if (SDL_Init(SDL_INIT_AUDIO) < 0) platform::fatalError("SDL_Init", SDL_GetError());
    if (audio::openAudio(audio::kMixFrequency, audio::kMixFormat, audio::kMixChannels,
                         audio::kMixChunkSize) == -1)
        platform::fatalError("Mix_OpenAudio", SDL_GetError());
    audio::allocateMixingChannels(audio::kMixingChannels);
}

// The settings file reaches the parts that use it: the bindings to the input poll, the
// volume to the effects and the music, the mixing options to the module player.
void handOutSettings() {
    platform::keyBindings = persist::keyBindings;
    audio::setEffectVolume(persist::volume / kEffectVolumeDivisor);
    audio::setMusicVolume(persist::volume);
    const persist::MixSettings& mix = persist::mixSettings;
    audio::setMixOptions({mix.flags, mix.resamplingMode, mix.reverbDepth, mix.reverbDelay,
                          mix.bassAmount, mix.bassRange, mix.surroundDepth, mix.surroundDelay});
}

// The mouse pointer disappears over the window: a 1 x 1 cursor with nothing in it.
void hideCursor() {
    Uint8 data = 0;
    Uint8 mask = 0;
    session.cursor = SDL_CreateCursor(&data, &mask, 1, 1, 0, 0);
    SDL_SetCursor(session.cursor);
}

}  // namespace

int runProgram(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.showHelp) {
        printHelp();
        return 0;
    }

    // Chance only touches looks (water phases, the moon, default hiscore names, savegame
    // masks), and they should differ from one start to the next.
    std::srand(unsigned(std::time(nullptr)));
    platform::catchStopSignals();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) platform::fatalError("Unable to init SDL", SDL_GetError());
    std::atexit(SDL_Quit);
    video::setUpDisplay(line.display);
    openJoystick();
    openAudioDevice();
    SDL_WM_SetCaption("TROLK", nullptr);
    hideCursor();
    archive::openArchives();

    video::loadFonts();
    video::loadLogo();
    if (!line.testMode) runFlow(Screen::Warning);
    // A quit or a stop signal during the front-end screens skips the game and leaves
    // trolk.cfg untouched.
    const bool leaving = platform::input.quitRequested || platform::stopRequested();
    if (!leaving && video::graphicsStyle == video::STYLE_HANDHELD) {
        video::loadLogo();
        video::freeFonts();
        video::loadFonts();
    }
    video::loadScenePictures();

    if (!leaving) {
        persist::readConfig();
        session.configRead = true;
        handOutSettings();
        persist::loadHiscores(platform::readTicks());
        runGameLoop(line.testMode);
    }

    SDL_FreeCursor(session.cursor);
    return shutdownGame();
}

int shutdownGame() {
    if (session.joystick) SDL_JoystickClose(session.joystick);
    session.joystick = nullptr;
    video::closeDisplay();
    video::freePictures();
    video::freeTileSet();
    video::freeFonts();
    for (int id = 0; id < audio::kSoundCount; ++id) audio::freeSound(audio::SoundId(id));
    world::freeLevel();
    archive::closeArchives();
    audio::closeAudio();
    if (session.configRead) persist::writeConfig();
    SDL_Quit();
    return 0;
}

}  // namespace app
