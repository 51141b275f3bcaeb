#pragma once
// GUIDs: CoCreateGuid on Windows, random version-4 identifiers natively.
#include <cstdint>
#include <string>

namespace platform {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};

  bool IsNull() const;
  bool operator==(const Guid& o) const;
  bool operator!=(const Guid& o) const { return !(*this == o); }
};

Guid CreateGuid();
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
std::string GuidToString(const Guid& g);

// Fills buf with bytes from the system's entropy source; false on failure.
bool SystemRandomBytes(void* buf, size_t len);

}  // namespace platform
