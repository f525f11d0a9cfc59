// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "video/hud.h"

#include <array>

#include "video/display.h"
#include "video/graphics.h"
#include "video/text.h"
#include "world/level.h"
#include "world/lifetimes.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tiles.h"

namespace video {

namespace {

constexpr std::string_view kScrollSentence =
    "HARD, HARDER, TROLK! IF THE GAME IS TOO DIFFICULT FOR YOU, YOU MAY CONSIDER PLAYING GOLF!";
constexpr std::string_view kScrollCredits =
    " PICTURES, SOUND, MUSIC, LEVELS AND CODE BY THE TROLK TEAM. MADE WITH SDL, SDL MIXER, "
    "LIBMODPLUG AND ZLIB. TAKE EVERY ITEM, FIND THE DOOR, MIND THE SPIKES AND KEEP YOUR HEAD "
    "ABOVE THE WATER. GREETINGS TO ALL NIGHT OWLS OUT THERE!";
static_assert(kScrollSentence.size() + kScrollCredits.size() == 318);
constexpr size_t kScrollLeadingBlanks = 40;
constexpr size_t kScrollTrailingBlanks = 41;

constexpr auto kScrollTextStorage = [] {
    std::array<char, kScrollLeadingBlanks + 318 + kScrollTrailingBlanks> text{};
    size_t i = 0;
    while (i < kScrollLeadingBlanks) text[i++] = ' ';
    for (char c : kScrollSentence) text[i++] = c;
    for (char c : kScrollCredits) text[i++] = c;
    while (i < text.size()) text[i++] = ' ';
    return text;
}();

constexpr int kBarX = 48;
constexpr int kBarWidth = 264;
constexpr int kBarHeight = 5;
constexpr int kTimeBarY = 198;
constexpr int kAirBarY = 208;

constexpr int kHudIconY = 220;
constexpr int kLivesIconX = 16, kTimesX = 40, kLivesX = 64;
constexpr int kScoreIconX = 104, kScoreX = 124;
constexpr int kItemIconX = 196, kItemsX = 216;
constexpr int kProgressIconX = 256, kLevelX = 276;
constexpr world::TileCode kLivesIcon = world::kFrameRest;  // the player resting
constexpr world::TileCode kScoreIcon = world::TILE_COIN;
constexpr world::TileCode kItemIcon = world::TILE_ITEM;
// The checkpoint's pictures for no item left, one, and several.
constexpr world::TileCode kProgressIcons[3] = {
    world::TILE_CHECKPOINT_TAKEN, world::TILE_CHECKPOINT_TAKING, world::TILE_CHECKPOINT};

constexpr int kMessageY = 96;
constexpr int kHintY = 120;
constexpr int kMenuTopY = 124;
constexpr int kMenuStep = 18;
constexpr int kPressStartY = 128;
constexpr int kVersionY = 216;
constexpr int kScrollerY = 196;
constexpr int kLogoRaise = 40;

constexpr std::string_view kPauseItems[] = {"SUICIDE", "GO ON", "EXIT"};
constexpr std::string_view kTitleItems[] = {"NEW GAME", "CONTINUE", "HISCORES", "EXIT"};

bool blinkShows(int n) { return (n & kBlinkBit) == 0; }

void drawBar(int y, int value, int full, uint32_t fill, uint32_t empty) {
    int f = kBarWidth * value / full;
    f = f < 0 ? 0 : (f > kBarWidth ? kBarWidth : f);
    fillRect(display.backBuffer, kBarX, y, f, kBarHeight, fill);
    fillRect(display.backBuffer, kBarX + f, y, kBarWidth - f, kBarHeight, empty);
}

// A column of menu entries from y 124, 18 pixels apart; the selected one blinks.
void drawMenu(const std::string_view* items, int count, int selection, int n) {
    for (int i = 0; i < count; ++i) {
        if (selection == i + 1 && !blinkShows(n)) continue;
        drawTextCentered(items[i], kMenuTopY + kMenuStep * i, bigFont);
    }
}

void drawHudRow() {
    const world::RunState& run = world::run;
    blitAt(tileImages[kLivesIcon], kLivesIconX, kHudIconY);
    drawText("X", kTimesX, kHudIconY, bigFont);
    drawHudNumber(run.lives, kLivesX, 2, bigFont);
    blitAt(tileImages[kScoreIcon], kScoreIconX, kHudIconY);
    drawHudNumber(run.score, kScoreX, 4, bigFont);
    blitAt(tileImages[kItemIcon], kItemIconX, kHudIconY);
    const int itemsLeft = world::life.itemsLeft;
    drawHudNumber(itemsLeft, kItemsX, 2, bigFont);
    const int progress = itemsLeft >= 2 ? 2 : (itemsLeft == 1 ? 1 : 0);
    blitAt(tileImages[size_t(kProgressIcons[progress])], kProgressIconX, kHudIconY);
    drawHudNumber(world::run.levelCounter - 1, kLevelX, 2, bigFont);
}

void drawLevelOverlay(int n, const world::PlayerState& player, const MenuView& menu) {
    drawHudRow();
    if (n <= 0) return;
    const bool messagePending = world::run.lives > 0 && (player.alive == 0 || player.dying == 1) &&
                                !world::life.deathMessage.empty();
    if (menu.paused || n <= kIntroFrames || messagePending) drawVeil();
    if (menu.paused) {
        drawTextCentered("-PAUSE-", kMessageY, bigFont);
        drawMenu(kPauseItems, 3, menu.selection, n);
        return;
    }
    if (blinkShows(n)) {
        if (messagePending) drawTextCentered(world::life.deathMessage, kMessageY, bigFont);
        else if (n <= kIntroFrames) drawTextCentered("TROLK, RUN!", kMessageY, bigFont);
    }
    if (player.forgotItems == 1 && player.alive == 1 && player.dying == 0) {
        drawTextCentered("YOU FORGOT ITEMS!", kMessageY, bigFont);
        drawTextCentered("GO TO PAUSE MODE AND SUICIDE", kHintY, smallFont);
    }
}

void drawTitleOverlay(int n, const MenuView& menu) {
    if (menu.selection < 0) return;
    blitAt(logoImage, (kScreenWidth - logoImage->w) >> 1,
           ((kScreenHeight - logoImage->h) >> 1) - kLogoRaise);
    drawTextCentered("TROLK V0.9.9", kVersionY, bigFont);
    if (menu.selection == MENU_PRESS_START) {
        if (blinkShows(n)) drawTextCentered("PRESS START", kPressStartY, bigFont);
    } else {
        drawMenu(kTitleItems, 4, menu.selection, n);
    }
    const int x0 = -(scroller.scrollSub >> 1);
    const std::string_view shown = scrollText.substr(size_t(scroller.scrollChar), kScrollerChars);
    for (size_t i = 0; i < shown.size(); ++i) {
        const int x = x0 + 8 * int(i);
        if (x > -8) drawText(shown.substr(i, 1), x, kScrollerY, smallFont);
    }
}

}  // namespace

const std::string_view scrollText(kScrollTextStorage.data(), kScrollTextStorage.size());
Scroller scroller;

void drawHudBars() {
    const bool handheld = graphicsStyle == STYLE_HANDHELD;
    drawText("TIME:", 4, 196, smallFont);
    drawBar(kTimeBarY, world::life.timeLeft, world::kLifeFrames,
            handheld ? display.colorLightGrey : display.colorRed,
            handheld ? display.colorGrey : display.colorDarkRed);
    drawText("AIR:", 12, 206, smallFont);
    drawBar(kAirBarY, world::life.airLeft, world::kMaxAir,
            handheld ? display.colorGrey : display.colorBlue,
            handheld ? display.colorDarkGrey : display.colorDarkBlue);
}

void drawOverlays(int n, const world::PlayerState& player, const MenuView& menu) {
    if (world::run.levelCounter == world::kTitleLevel) drawTitleOverlay(n, menu);
    else drawLevelOverlay(n, player, menu);
}

void advanceScroller() {
    if (++scroller.scrollSub < 16) return;
    scroller.scrollSub = 0;
    if (++scroller.scrollChar == int(scrollText.size())) scroller.scrollChar = 0;
}

void resetScroller() { scroller = {}; }

}  // namespace video
