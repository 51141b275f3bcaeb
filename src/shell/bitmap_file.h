#pragma once
// Turns a ".bmp" file image into a packed device-independent bitmap: a
// 40-byte info header, the colour table, then the pixel bits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace shell {

// nullopt unless the image starts with "BM" and every header field, table
// and the pixel bits lie inside the image. 8 bits per pixel needs a 40-byte
// info header and keeps the image behind its 14-byte file header as is;
// other depths are rebuilt, a 12-byte core header widened to 40 bytes.
std::optional<std::vector<uint8_t>> BitmapFileToPackedDib(const uint8_t* image, size_t size);

}  // namespace shell
