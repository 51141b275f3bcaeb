// The bounded decoders behind archive entries (bitmap files, LZSS, ADPCM)
// must take any bytes without faults and never pass their bounds.
#include <cstdlib>
#include <vector>

#include "shell/adpcm.h"
#include "shell/bitmap_file.h"
#include "shell/lzss.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto dib = shell::BitmapFileToPackedDib(data, size)) {
    if (dib->size() < 40) std::abort();  // a packed DIB starts with its 40-byte header
  }
  const size_t bound = size % 4096;
  std::vector<uint8_t> out(bound);
  size_t count = 0;
  shell::LzssDecodeInto(data, size, out.data(), bound, &count);
  if (count > bound) std::abort();
  const uint32_t unpacked = uint32_t(size * 3);
  if (shell::AdpcmDecodeEntry(data, size, unpacked).size() > unpacked) std::abort();
  return 0;
}
