#include "app/startup.h"

#include <SDL.h>

#include <cstdlib>

#include "app/command_line.h"
#include "app/fatal.h"
#include "app/frame_clock.h"
#include "app/input.h"
#include "archive/archive.h"
#include "audio/sound.h"
#include "video/display.h"

namespace app {

namespace {

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
    if (SDL_Init(SDL_INIT_AUDIO) < 0) fatalError("SDL_Init", SDL_GetError());
    if (audio::openAudio(audio::kMixFrequency, audio::kMixFormat, audio::kMixChannels,
                         audio::kMixChunkSize) == -1)
        fatalError("Mix_OpenAudio", SDL_GetError());
    audio::allocateMixingChannels(audio::kMixingChannels);
}

// The mouse pointer disappears over the window: a 1 x 1 cursor with nothing in it.
void hideCursor() {
    Uint8 data = 0;
    Uint8 mask = 0;
    session.cursor = SDL_CreateCursor(&data, &mask, 1, 1, 0, 0);
    SDL_SetCursor(session.cursor);
}

// Until the game itself is in place: a black picture, paced, until escape or a close.
void showBlackUntilQuit() {
    resetFrameClock();
    while (!input.quitRequested) {
        video::fillRect(video::backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                        video::colorBlack);
        video::presentFrame();
        paceFrame();
        pollInput();
    }
}

}  // namespace

int runProgram(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.showHelp) {
        printHelp();
        return 0;
    }

    if (SDL_Init(SDL_INIT_VIDEO) < 0) fatalError("Unable to init SDL", SDL_GetError());
    std::atexit(SDL_Quit);
    video::setUpDisplay(line.display);
    openJoystick();
    openAudioDevice();
    SDL_WM_SetCaption("TROLK", nullptr);
    hideCursor();
    archive::openArchives();

    showBlackUntilQuit();

    SDL_FreeCursor(session.cursor);
    return shutdownGame();
}

int shutdownGame() {
    if (session.joystick) SDL_JoystickClose(session.joystick);
    session.joystick = nullptr;
    video::freeSmoothBuffer();
    for (int id = 0; id < audio::kSoundCount; ++id) audio::freeSound(audio::SoundId(id));
    archive::closeArchives();
    audio::closeAudio();
    SDL_Quit();
    return 0;
}

}  // namespace app
