// Tile effects. Each update writes one code into the effect's cell, chosen by the frames t
// since it started; the effect ends as it writes its last code:
//   bricks and crumbling blocks: entry t >> 1 of their five frames and two empties,
//   spike traps: entry t >> 1 of (0, 87, 105, 105),
//   bump blocks: entry t >> 1 of (80, 100, 120, 20, 20),
//   trap doors: 89 for four frames, then 69,
//   checkpoints: 17 + ((t / 3) >> 1) until t / 3 = 5,
//   pick-ups: 0 at once.

#include "world/effects.h"
#include "world/lifetimes.h"

#include "world/tiles.h"

#include <cstddef>

namespace world {


namespace {

constexpr std::array<TileCode, 6> kBreakingBrick = {200, 201, 202, 203, 0, 0};
constexpr std::array<TileCode, 6> kCrumblingBlock = {180, 181, 182, 183, 0, 0};
constexpr std::array<TileCode, 4> kSpringingTrap = {0, 87, 105, 105};
constexpr std::array<TileCode, 5> kBumpedBlock = {80, 100, 120, 20, 20};
constexpr TileCode kTrapDoorStep = TILE_TRAP_DOOR_CLOSING - TILE_TRAP_DOOR_CLOSED;  // 20
constexpr int32_t kCheckpointLastStep = 5;

// The code an effect writes at frame t, and whether it is its last.
struct EffectFrame {
    TileCode code = 0;
    bool last = true;
};

template <size_t N> EffectFrame sequenceFrame(const std::array<TileCode, N>& codes, int32_t t) {
    const size_t entry = size_t(t >> 1);
    if (entry >= N - 1) return {codes[N - 1], true};
    return {codes[entry], false};
}

EffectFrame effectFrame(EffectType type, int32_t t) {
    switch (type) {
    case EFFECT_BRICK: return sequenceFrame(kBreakingBrick, t);
    case EFFECT_CRUMBLE: return sequenceFrame(kCrumblingBlock, t);
    case EFFECT_SPIKE_TRAP: return sequenceFrame(kSpringingTrap, t);
    case EFFECT_BUMP: return sequenceFrame(kBumpedBlock, t);
    case EFFECT_TRAP_DOOR:
        return {TILE_TRAP_DOOR_CLOSING - kTrapDoorStep * (t >> 2), (t >> 2) >= 1};
    case EFFECT_CHECKPOINT: return {TILE_CHECKPOINT + ((t / 3) >> 1), t / 3 >= kCheckpointLastStep};
    case EFFECT_PICK_UP: return {TILE_EMPTY, true};
    case EFFECT_NONE: break;
    }
    return {TILE_EMPTY, true};
}

}  // namespace

bool startTileEffect(int32_t x, int32_t y, EffectType type) {
    for (TileEffect& effect : life.tileEffects) {
        if (effect.active && effect.x == x && effect.y == y) {
            effect.t = 0;
            effect.type = type;
            return false;
        }
    }
    for (TileEffect& effect : life.tileEffects) {
        if (!effect.active) {
            effect = {x, y, 0, type, 1};
            return true;
        }
    }
    return false;
}

bool tileEffectAt(int32_t x, int32_t y) {
    for (const TileEffect& effect : life.tileEffects)
        if (effect.active && effect.x == x && effect.y == y) return true;
    return false;
}

void updateTileEffect(TileEffect& effect) {
    if (!effect.active) return;
    if (effect.type == EFFECT_NONE) {  // no sequence: nothing to write
        effect.active = 0;
        return;
    }
    const EffectFrame frame = effectFrame(effect.type, effect.t);
    ++effect.t;
    if (frame.last) effect.active = 0;
    setCell(effect.x >> 4, effect.y >> 4, frame.code);
}


}  // namespace world
