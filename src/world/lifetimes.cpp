// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The three places where the world starts afresh. A new life resets its whole record before
// the level is read, so the tables of a life (a tile effect still running when the door was
// touched, say) never carry over into the next level's map.

#include "world/lifetimes.h"

#include "archive/archive.h"
#include "platform/fatal.h"
#include "platform/files.h"

namespace world {

RunState run;
LevelState level;
LifeState life;

void startRun(int32_t levelCounter) {
    run = {};
    run.levelCounter = levelCounter;
}

void startLevel() { level = {}; }

LevelFault startLife(const uint8_t* bytes, size_t size, Arrival arrival) {
    const LevelFault fault = checkLevelBytes(bytes, size);
    if (fault != LEVEL_OK) return fault;
    life = {};
    parseLevel(bytes, size);
    if (arrival == Arrival::Nobody) {
        life.player.alive = 0;
        life.player.idleCounter = kDeathWaitFrames;
        return LEVEL_OK;
    }
    return placePlayer(life.player) ? LEVEL_OK : LEVEL_NO_GROUND;
}

void startLifeIn(const char* name, Arrival arrival) {
    LevelFault fault = LEVEL_NO_DATA;
    if (name) {
        const archive::ResourceBuffer buffer =
            archive::loadResource(archive::ARCHIVE_MAPS, name, "bin");
        if (buffer) fault = startLife(buffer.bytes.get(), size_t(buffer.size), arrival);
    } else {
        const platform::FileBytes file = platform::readWholeFile(kTestMapPath, kMaxLevelFileBytes);
        if (file) fault = startLife(file.bytes.get(), file.size, arrival);
    }
    if (fault != LEVEL_OK) platform::fatalError(kCantLoadFile, name ? name : kTestMapPath);
}

}  // namespace world
