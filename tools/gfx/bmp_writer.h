// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The BMP files the game loads: a 14-byte file header, a 40-byte information header and
// 24-bit pixels stored bottom-up, blue-green-red, each row padded to a multiple of four
// bytes. SDL 1.2 decodes this form from memory.

#include "image.h"

#include <cstdint>
#include <vector>

namespace gfx {

constexpr int kBmpHeaderBytes = 54;

// The complete file for a picture.
std::vector<uint8_t> encodeBmp(const Image& image);

}  // namespace gfx
