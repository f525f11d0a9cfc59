// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One life of a level played with the game's world update, frame by frame.

#include "playback.h"
#include "world/lifetimes.h"

namespace replay {

std::vector<StartPoint> startPoints(const std::vector<uint8_t>& levelBytes) {
    std::vector<StartPoint> points{StartPoint{}};
    if (world::checkLevelBytes(levelBytes.data(), levelBytes.size()) != world::LEVEL_OK)
        return points;
    const int32_t width = int32_t(levelBytes[0] | levelBytes[1] << 8) + 1;
    for (int32_t column = 0; column < width; ++column)
        for (int32_t row = 0; row < world::kMapRows; ++row)
            if (levelBytes[size_t(world::kLevelHeaderSize + column * world::kMapRows + row)] ==
                world::TILE_CHECKPOINT)
                points.push_back({column * world::kTileSize, row * world::kTileSize, true});
    return points;
}

bool startLife(const std::vector<uint8_t>& levelBytes, int32_t startX, int32_t startY,
               world::PlayerState& player, std::string& error) {
    world::startRun(world::kTitleLevel);
    world::startLevel();
    world::level.restartX = startX;
    world::level.restartY = startY;
    const world::LevelFault fault =
        world::startLife(levelBytes.data(), levelBytes.size(), world::Arrival::Player);
    if (fault == world::LEVEL_NO_GROUND) {
        error = "no solid cell below the start point " + std::to_string(startX) + ", " +
                std::to_string(startY);
        return false;
    }
    if (fault != world::LEVEL_OK) {
        error = std::string(world::levelFaultText(fault));
        return false;
    }
    player = world::life.player;
    return true;
}

bool lifeOver(const world::PlayerState& player) {
    return !player.alive || player.dying || player.reachedExit;
}

bool levelDone(const world::PlayerState& player) {
    return player.reachedExit && player.alive && !player.dying && world::life.itemsLeft == 0 &&
           world::life.timeLeft > 0;
}

std::string LifeResult::summary() const {
    if (!error.empty()) return "cannot start: " + error;
    const std::string where = " at x " + std::to_string(x) + ", y " + std::to_string(y);
    const std::string after = " after " + std::to_string(frames) + " frames";
    if (finished())
        return "exit reached" + after + ", " + std::to_string(timeLeft) + " frames to spare";
    if (died) return "died" + after + where + ": " + deathMessage;
    if (reachedExit)
        return "exit reached" + after + " but " + std::to_string(itemsLeft) + " items are left";
    return "controls ran out" + after + where + " with " + std::to_string(itemsLeft) +
           " items left";
}

LifeResult playLife(const std::vector<uint8_t>& levelBytes, int32_t startX, int32_t startY,
                    const std::vector<world::Controls>& frames, bool keepPath) {
    LifeResult result;
    world::PlayerState player;
    if (!startLife(levelBytes, startX, startY, player, result.error)) return result;
    if (keepPath) {
        result.path.reserve(frames.size() + 1);
        result.path.push_back({player.x, player.y});
    }
    for (const world::Controls& controls : frames) {
        world::stepPlayFrame(player, controls);
        ++result.frames;
        if (keepPath) result.path.push_back({player.x, player.y});
        if (lifeOver(player)) break;
    }
    result.reachedExit = player.reachedExit && player.alive;
    result.died = !player.alive || player.dying;
    if (result.died) result.deathMessage = std::string(world::life.deathMessage);
    result.itemsLeft = world::life.itemsLeft;
    result.timeLeft = world::life.timeLeft;
    result.x = player.x;
    result.y = player.y;
    return result;
}

}  // namespace replay
