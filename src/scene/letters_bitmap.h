#pragma once
// The letters picture behind the 2D letter sprites of the rack panels: 22 x
// 22 pixel letters, read from the skin folder ("letters.bmp", or
// "letters_fr.bmp" for a French user) into one process-wide packed bitmap.
#include <cstdint>
#include <vector>

namespace scene {

constexpr int kLetterSpriteSize = 22;

// False (and no picture) when the file is missing or not a bitmap.
bool LoadLettersBitmap();
void FreeLettersBitmap();
// The packed bitmap, empty when none is loaded.
const std::vector<uint8_t>& GetLettersBitmap();

}  // namespace scene
