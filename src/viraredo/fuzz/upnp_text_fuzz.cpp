// Reads arbitrary text as a router's SSDP answer, device description and
// mapping query reply: every read stays inside the text, and every path
// accepted fits its room and is printable.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bdUPnP/bdUPnPText.h"
#include "fuzz_core.h"

namespace {
void checkPath(const char* path, unsigned int size) {
  const std::size_t length = strnlen(path, size);
  FUZZ_CHECK(length > 0 && length < size);
  for (std::size_t i = 0; i < length; ++i)
    FUZZ_CHECK(static_cast<unsigned char>(path[i]) > ' ');
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzStartCore();
  if (size > 8192) return 0;
  std::vector<char> text(data, data + size);
  text.push_back(0);

  bdAddr addr;
  char path[64];
  if (bdUPnPText::parseLocation(text.data(), addr, path, sizeof path) == bdUPnPText::LOCATION_OK) {
    FUZZ_CHECK(addr.isValid());
    checkPath(path, sizeof path);
  }
  bdAddr router("10.0.0.1:5000");
  bool isIP = false;
  char control[64];
  if (bdUPnPText::parseDescription(text.data(), router, isIP, control, sizeof control) ==
      bdUPnPText::DESCRIPTION_OK) {
    FUZZ_CHECK(router.isValid());
    checkPath(control, sizeof control);
  }
  bdInetAddr client;
  if (bdUPnPText::parseQueryReply(text.data(), client) == bdUPnPText::QUERY_MAPPED)
    FUZZ_CHECK(client.isValid());
  return 0;
}
