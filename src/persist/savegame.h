// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The savegame: how many levels of a run are finished, so that "CONTINUE" can start after
// them. savegame.dat holds four bytes, the count masked with a random 16-bit value that is
// stored beside it: Mh, Ml ^ L, Ml, Mh ^ L. The two masked halves must agree, which catches
// damaged or hand-edited files; anything odd reads as no savegame.
//
// The count itself lives in the game-flow record (app::game.savedLevel): the game loop
// puts the result of readSavegame there, and the run progression the result of
// writeSavegame.

#include <cstddef>
#include <cstdint>

namespace persist {

constexpr int kSaveFileBytes = 4;
constexpr uint16_t kSaveFallbackMask = 0x7C41;  // when ten draws gave no usable mask
constexpr int kSaveMaskDraws = 10;
constexpr int kMaxSavedLevel = 16;

// The stored count of finished levels: 1..16, or 0 when there is no usable savegame.
int readSavegame();
// Stores levelCounter - 1 (the level being entered minus one; its low eight bits go to the
// file) under a fresh mask and returns that value, written or not.
int writeSavegame(int levelCounter);

// The count in four file bytes: 1..16, or 0 when they are short, badly masked or damaged.
int decodeSavegame(const uint8_t* bytes, size_t size);
// The four file bytes of `level` (its low eight bits) under `mask`.
void encodeSavegame(int level, uint16_t mask, uint8_t* bytes);

// A mask from up to kSaveMaskDraws values of `draw` (its low 16 bits); never 0 or 0xFFFF.
template <class Draw> uint16_t drawSaveMask(Draw&& draw) {
    for (int i = 0; i < kSaveMaskDraws; ++i) {
        const uint16_t mask = uint16_t(draw() & 0xFFFF);
        if (mask != 0 && mask != 0xFFFF) return mask;
    }
    return kSaveFallbackMask;
}

}  // namespace persist
