// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The enemy kinds, one row each, at the index of their EnemyType: the marker codes a level
// starts one with (and the characters the level texts write them with), what a marker leaves
// in its cell, how the kind moves, what a stomp does to it, what it gives and says, and the
// pictures it shows. The enemy rules read these columns and dispatch on the behaviour
// columns (motion, stomp rule); the level text tools read the same rows for the enemies'
// legend characters and for the pictures no level may show as scenery.
//
// A kind of an existing behaviour is one row here, its enum value, its marker code and its
// pictures in the tile sheet.
//
// Pictures are indices of the tile sheet. A moving enemy shows its left or right cycle, one
// picture every `period` frames of its counter; a squashed or stunned one shows its stopped
// pictures.

#include "audio/sound.h"
#include "world/score.h"
#include "world/tiles.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace world {

enum EnemyType : int32_t {
    ENEMY_NONE = 0,  // a free slot
    ENEMY_BLOB = 1,
    ENEMY_HOGLET = 2,
    ENEMY_BAT = 3,
    ENEMY_DYING_BAT = 4,  // what a stomped bat becomes
    ENEMY_PIRANHA = 5,
    ENEMY_HAT_GUY = 6,
    ENEMY_COUNT  // rows of the kind table
};

// How a kind moves up and down (every kind moves left and right alike).
enum EnemyMotion : uint8_t {
    MOTION_WALK,  // falls under gravity and lands on solid cells
    MOTION_FLY,   // keeps its height for ever
    MOTION_SWIM,  // keeps its height for ever, in the water or out of it
};

// What a stomp does to a kind.
enum StompRule : uint8_t {
    STOMP_NONE,    // cannot be stomped: a touch from above kills as any other
    STOMP_SQUASH,  // stops squashed and is gone `stoppedFrames` later
    STOMP_DIE,     // becomes its `dying` kind, which is gone after that kind's `lifeFrames`
    STOMP_STUN,    // stops stunned and walks off the other way after more than `stoppedFrames`;
                   // only the first stomp scores
};

constexpr int32_t kNoPicture = -1;
constexpr size_t kEnemyCycle = 4;  // pictures of a moving enemy's cycle
using EnemyCycle = std::array<int32_t, kEnemyCycle>;
constexpr EnemyCycle kNoCycle = {kNoPicture, kNoPicture, kNoPicture, kNoPicture};

// A code of the level grid that starts an enemy, and the character of the level texts for it.
struct EnemyMarker {
    TileCode code = TILE_EMPTY;  // TILE_EMPTY: none
    char legend = 0;
};

// A row of the kind table. Columns a row leaves out keep these defaults: no marker, no stomp,
// a speed of 1 and no vertical motion, no picture.
struct EnemyKind {
    EnemyType type = ENEMY_NONE;
    std::string_view name = {};            // what the level tools call it ("blob")
    std::array<EnemyMarker, 2> markers{};  // the codes a level starts it with
    TileCode leaves = TILE_EMPTY;          // what a marker cell becomes
    int32_t speed = 1;                     // pixels per frame; it starts moving left
    EnemyMotion motion = MOTION_FLY;       // how it moves up and down
    StompRule stomp = STOMP_NONE;          // what a stomp does to it
    audio::SoundId stompSound = {};        // played by a stomp
    int32_t points = 0;                    // what a stomp gives
    EnemyType dying = ENEMY_NONE;          // STOMP_DIE: what a stomp turns it into
    int32_t stoppedFrames = 0;             // frames squashed (then gone) or stunned
    int32_t lifeFrames = 0;                // gone once its counter reaches this; 0: never
    std::string_view deathMessage = {};    // shown when it kills the player
    EnemyCycle left = kNoCycle;            // moving left (and a dying kind, which does not move)
    EnemyCycle right = kNoCycle;           // moving right
    int32_t period = 1;                    // frames per picture of a cycle
    int32_t stopped = kNoPicture;          // squashed or stunned
    int32_t gettingUp = kNoPicture;        // stunned, in its last frames
};

// clang-format off
constexpr std::array<EnemyKind, ENEMY_COUNT> kEnemyKinds = {{
    // A free slot.
    {.type = ENEMY_NONE},
    // Blob: walks; a stomp squashes it flat, and it blinks out.
    {.type = ENEMY_BLOB, .name = "blob", .markers = {{{TILE_BLOB_MARKER, 'b'}}},
     .motion = MOTION_WALK, .stomp = STOMP_SQUASH, .stompSound = audio::SOUND_BLUBB,
     .points = kStompPoints, .stoppedFrames = 120, .deathMessage = "KILLED BY A BLOB",
     .left = {9, 10, 11, 10}, .right = {9, 10, 11, 10}, .period = 6, .stopped = 12},
    // Hoglet: walks; no stomping it.
    {.type = ENEMY_HOGLET, .name = "hoglet", .markers = {{{TILE_HOGLET_MARKER, 'h'}}},
     .motion = MOTION_WALK, .deathMessage = "KILLED BY A HOGLET",
     .left = {13, 14, 13, 14}, .right = {15, 16, 15, 16}, .period = 8},
    // Bat: flies at its height; a stomp sends it tumbling away as a dying bat.
    {.type = ENEMY_BAT, .name = "bat", .markers = {{{TILE_BAT_MARKER, 'v'}}},
     .motion = MOTION_FLY, .stomp = STOMP_DIE, .stompSound = audio::SOUND_BAT,
     .points = kStompPoints, .dying = ENEMY_DYING_BAT, .deathMessage = "KILLED BY A BAT",
     .left = {33, 57, 34, 57}, .right = {33, 57, 34, 57}, .period = 6},
    // Dying bat: a stomped bat, gone 12 frames after the stomp (its last picture never shows).
    {.type = ENEMY_DYING_BAT, .name = "bat", .motion = MOTION_FLY, .lifeFrames = 12,
     .deathMessage = "KILLED BY A BAT",
     .left = {35, 36, 37, 37}, .right = {35, 36, 37, 37}, .period = 4},
    // Piranha: swims at its height; no stomping it; its marker leaves water.
    {.type = ENEMY_PIRANHA, .name = "piranha", .markers = {{{TILE_PIRANHA_MARKER, 'p'}}},
     .leaves = TILE_WATER, .motion = MOTION_SWIM, .deathMessage = "EATEN BY A PIRANHA",
     .left = {53, 54, 53, 54}, .right = {55, 56, 55, 56}, .period = 15},
    // Hat guy: walks fast; a stomp stuns him, and he gets up and walks off the other way.
    {.type = ENEMY_HAT_GUY, .name = "hat guy",
     .markers = {{{TILE_HAT_GUY_MARKER, 'g'}, {TILE_HAT_GUY_MARKER_2, 'G'}}}, .speed = 2,
     .motion = MOTION_WALK, .stomp = STOMP_STUN, .stompSound = audio::SOUND_KLACK,
     .points = kStompPoints, .stoppedFrames = 225, .deathMessage = "KILLED BY A HAT GUY",
     .left = {144, 143, 142, 141}, .right = {121, 122, 123, 124}, .period = 4, .stopped = 125,
     .gettingUp = 126},
}};
// clang-format on

// The row of a kind; a type outside the table reads the free slot's row.
constexpr const EnemyKind& enemyKind(EnemyType type) {
    return kEnemyKinds[size_t(type) < kEnemyKinds.size() ? size_t(type) : size_t(ENEMY_NONE)];
}

// The kind a marker code starts, by code; ENEMY_NONE for codes that start none.
constexpr std::array<EnemyType, kTileCodeCount> kMarkedKinds = [] {
    std::array<EnemyType, kTileCodeCount> kinds{};
    for (const EnemyKind& kind : kEnemyKinds)
        for (const EnemyMarker& marker : kind.markers)
            if (marker.code != TILE_EMPTY) kinds[size_t(marker.code)] = kind.type;
    return kinds;
}();

// The kind the marker code starts, or ENEMY_NONE.
constexpr EnemyType enemyOfMarker(TileCode code) {
    return code >= 0 && code < kTileCodeCount ? kMarkedKinds[size_t(code)] : ENEMY_NONE;
}

namespace enemy_table_checks {

constexpr bool rowsStandAtTheirType() {
    for (size_t i = 0; i < kEnemyKinds.size(); ++i)
        if (size_t(kEnemyKinds[i].type) != i) return false;
    return true;
}

// Marker codes and legend characters belong to one kind each; a marker has a character a
// level text can hold (printable, not the comment's ';').
constexpr bool markersAreDistinct() {
    std::array<int, kTileCodeCount> codes{};
    std::array<int, 128> characters{};
    for (const EnemyKind& kind : kEnemyKinds) {
        for (const EnemyMarker& marker : kind.markers) {
            if (marker.code == TILE_EMPTY) continue;
            if (marker.code < 0 || marker.code >= kTileCodeCount) return false;
            if (marker.legend <= ' ' || marker.legend > '~' || marker.legend == ';') return false;
            if (++codes[size_t(marker.code)] > 1 || ++characters[size_t(marker.legend)] > 1)
                return false;
        }
    }
    return true;
}

// Every column a behaviour reads is there: a stomp has its frames or its dying kind, the
// dying kind ends, the cycles have a period.
constexpr bool behavioursAreWhole() {
    for (const EnemyKind& kind : kEnemyKinds) {
        if (kind.period <= 0) return false;
        switch (kind.stomp) {
        case STOMP_NONE: break;
        case STOMP_SQUASH:
            if (kind.stoppedFrames <= 0 || kind.stopped == kNoPicture) return false;
            break;
        case STOMP_STUN:
            if (kind.stoppedFrames <= 0 || kind.stopped == kNoPicture ||
                kind.gettingUp == kNoPicture)
                return false;
            break;
        case STOMP_DIE:
            if (enemyKind(kind.dying).lifeFrames <= 0 || kind.dying == kind.type) return false;
            break;
        }
    }
    return true;
}

}  // namespace enemy_table_checks

static_assert(enemy_table_checks::rowsStandAtTheirType(), "each kind's row stands at its type");
static_assert(enemy_table_checks::markersAreDistinct(),
              "each marker code and legend character starts one kind");
static_assert(enemy_table_checks::behavioursAreWhole(), "a behaviour lacks one of its columns");

}  // namespace world
