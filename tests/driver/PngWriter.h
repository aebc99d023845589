// Writes 24-bit RGB pictures as PNG files (stored deflate blocks: no
// compression library needed, the files are simply larger).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds width * height pixels, top row first, 3 bytes each.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
