// PNG output for pictures that leave the game's datafiles: the review
// sheets and the desktop icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

// Writes c as an 8-bit RGB PNG, or RGBA when alpha holds one byte per pixel
// (row by row, 255 opaque). Returns false on failure.
bool WritePng(const Canvas& c, const std::string& path,
              const std::vector<uint8_t>* alpha = nullptr);

}  // namespace art
