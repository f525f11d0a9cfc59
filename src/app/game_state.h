#pragma once
// The game-flow state that the whole program reads: which level runs, which menu entry is
// chosen, whether the game is paused or the player wants to leave. The game loop owns it;
// the HUD and the overlays draw from it.

namespace app {

// Title menu entries; the pause menu uses 1..3 (suicide, go on, exit).
enum MenuEntry : int {
    MENU_HISCORE_LIST = -3,  // the hiscore list is shown over the title: no title overlay
    MENU_PRESS_START = 0,
    MENU_NEW_GAME = 1,
    MENU_CONTINUE = 2,
    MENU_HISCORES = 3,
    MENU_EXIT = 4,
};
enum PauseEntry : int { PAUSE_SUICIDE = 1, PAUSE_GO_ON = 2, PAUSE_EXIT = 3 };

struct GameState {
    int menuSelection = 0;           // see MenuEntry and PauseEntry; 0 when no menu is open
    bool paused = false;
    int savedLevel = 0;           // finished levels stored in the savegame, 0 when none
    int moonX = 0;                // moon position in background pixels, drawn per level
};

extern GameState game;

}  // namespace app
