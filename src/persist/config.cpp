#include "persist/config.h"

namespace persist {

KeyBindings keyBindings;
MixSettings mixSettings;
int volume = kMaxVolume;

}  // namespace persist
