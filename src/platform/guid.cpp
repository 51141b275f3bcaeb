#include "platform/guid.h"

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#include <objbase.h>
#include <wincrypt.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

bool Guid::IsNull() const {
  static const Guid zero;
  return *this == zero;
}

bool Guid::operator==(const Guid& o) const {
  return data1 == o.data1 && data2 == o.data2 && data3 == o.data3 &&
         std::memcmp(data4, o.data4, sizeof data4) == 0;
}

#ifdef _WIN32
Guid CreateGuid() {
  GUID g;
  Guid r;
  if (CoCreateGuid(&g) != S_OK) return r;
  r.data1 = g.Data1;
  r.data2 = g.Data2;
  r.data3 = g.Data3;
  std::memcpy(r.data4, g.Data4, 8);
  return r;
}

bool SystemRandomBytes(void* buf, size_t len) {
  HCRYPTPROV prov;
  if (!CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL,
                            CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
    return false;
  BOOL ok = CryptGenRandom(prov, static_cast<DWORD>(len), static_cast<BYTE*>(buf));
  CryptReleaseContext(prov, 0);
  return ok != FALSE;
}
#else
bool SystemRandomBytes(void* buf, size_t len) {
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  auto* p = static_cast<unsigned char*>(buf);
  size_t done = 0;
  while (done < len) {
    ssize_t n = read(fd, p + done, len - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  close(fd);
  return done == len;
}

Guid CreateGuid() {
  unsigned char b[16];
  Guid r;
  if (!SystemRandomBytes(b, sizeof b)) return r;
  b[6] = static_cast<unsigned char>((b[6] & 0x0f) | 0x40);  // version 4
  b[8] = static_cast<unsigned char>((b[8] & 0x3f) | 0x80);  // RFC 4122 variant
  r.data1 = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
  r.data2 = static_cast<uint16_t>((b[4] << 8) | b[5]);
  r.data3 = static_cast<uint16_t>((b[6] << 8) | b[7]);
  std::memcpy(r.data4, b + 8, 8);
  return r;
}
#endif

std::string GuidToString(const Guid& g) {
  char s[40];
  std::snprintf(s, sizeof s, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2,
                g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5],
                g.data4[6], g.data4[7]);
  return s;
}

}  // namespace platform
