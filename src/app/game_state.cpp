#include "app/game_state.h"

namespace app {

GameState game;

}  // namespace app
