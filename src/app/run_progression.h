#pragma once
// How a run goes from level to level: the story before level 1, a lost life, the tally at
// the end of a level with its time and life bonuses, the savegame written on entering a
// level, the game over with the hiscore entry and the offer to continue, and the ending.
// Each of these ends by preparing the next pass of the game loop.

namespace app {

// Title choice "NEW GAME" or "CONTINUE": levelCounter is already 1 or savedLevel + 1.
void startRun();
// The death timer ran out: one life less, then the same level again or the game over.
void loseLife();
// The player touched the open exit door: bonuses, then the next level or the ending.
void finishLevel();

}  // namespace app
