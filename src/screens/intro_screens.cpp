#include "screens/intro_screens.h"

#include <span>
#include <string_view>

#include "platform/frame_clock.h"
#include "platform/input.h"
#include "video/display.h"
#include "video/text.h"

namespace screens {

namespace {

constexpr int kTitleY = 40;
constexpr int kTitleBlinkBit = 32;  // the title shows while this bit of the frame count is clear

constexpr video::TextLine kWarningLines[] = {
    {90, "THIS GAME IS VERY DIFFICULT."}, {110, "WE ARE NOT RESPONSIBLE IF"},
    {120, "YOU BREAK YOUR DEVICE OR"},    {130, "THROW IT AGAINST AN OBJECT."},
    {150, "IF YOU DO NOT HAVE NERVES,"},  {160, "PLEASE PLAY GOLF OR DO"},
    {170, "SOME MEDITATION INSTEAD!"},    {200, "PRESS UP TO GO ON"},
};

constexpr video::TextLine kCreditsLines[] = {
    {80, "THIS PROJECT USES CODE"},
    {90, "OF THE FOLLOWING OPEN-SOURCE"},
    {100, "PROJECTS IN AN UNMODDED FORM:"},
    {120, "SDL, SDL MIXER, LIBMODPLUG"},
    {130, "AND ZLIB"},
    {150, "YOU CAN GET THE SOURCE CODE"},
    {160, "OF THE MENTIONED LIBRARIES"},
    {170, "BY VISITING THE RESPECTIVE"},
    {180, "HOMEPAGES."},
    {210, "PRESS UP TO GO ON"},
};

void showTextScreen(std::string_view title, std::span<const video::TextLine> lines) {
    platform::resetFrameClock();
    int frame = 0;
    while (!platform::input.quitRequested) {
        video::fillRect(video::backBuffer, 0, 0, video::kScreenWidth, video::kScreenHeight,
                        video::colorBlack);
        ++frame;
        if (!(frame & kTitleBlinkBit)) video::drawTextCentered(title, kTitleY, video::bigFont);
        video::drawCenteredLines(lines, video::smallFont);
        video::presentFrame();
        platform::paceFrame();
        platform::pollInput();
        if (platform::input.released == int(platform::INPUT_UP) ||
            platform::input.released == int(platform::INPUT_JUMP))
            return;
    }
}

}  // namespace

void showWarningScreen() { showTextScreen("WARNING", kWarningLines); }

void showCreditsScreen() { showTextScreen("CREDITS", kCreditsLines); }

}  // namespace screens
