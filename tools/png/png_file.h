// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Writes review pictures as PNG files (through stb_image_write).

#include <cstdint>
#include <string>

namespace png_file {

// Writes `width` x `height` pixels of 8-bit R, G, B, row after row; false when it fails.
bool writeRgb(const std::string& path, int width, int height, const uint8_t* rgb);

}  // namespace png_file
