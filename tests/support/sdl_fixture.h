// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Brings SDL up once per test program with the dummy drivers, so tests can push events,
// make surfaces and open the mixer without a real display or sound card.

#include <SDL.h>
#include <gtest/gtest.h>

namespace test_support {

class SdlEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(320, 240, 16, 0), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }
};

}  // namespace test_support
