#pragma once
// The two screens shown at start-up before the style choice: a warning about the game's
// difficulty and the credits of the libraries it uses. Each shows a blinking title and
// fixed lines, and ends when up or jump is let go (or at once on a quit request).

namespace screens {

void showWarningScreen();
void showCreditsScreen();

}  // namespace screens
