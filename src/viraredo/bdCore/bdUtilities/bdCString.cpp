#include "bdCore/bdUtilities/bdCString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

unsigned int bdStrlen(const char* text) {
  return text == nullptr ? 0 : static_cast<unsigned int>(std::strlen(text));
}

unsigned int bdStrlcpy(char* dest, const char* src, unsigned int size) {
  const unsigned int length = bdStrlen(src);
  if (dest == nullptr || size == 0) return length;
  const unsigned int n = length < size - 1 ? length : size - 1;
  if (n > 0) std::memmove(dest, src, n);
  dest[n] = 0;
  return length;
}

unsigned int bdStrlcat(char* dest, const char* src, unsigned int size) {
  if (dest == nullptr) return bdStrlen(src);
  const char* end = static_cast<const char*>(std::memchr(dest, 0, size));
  if (end == nullptr) return size + bdStrlen(src);  // no terminator within size
  const unsigned int used = static_cast<unsigned int>(end - dest);
  return used + bdStrlcpy(dest + used, src, size - used);
}

int bdSnprintf(char* dest, unsigned int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(size == 0 ? nullptr : dest, size, format, args);
  va_end(args);
  if (n < 0 && dest != nullptr && size > 0) dest[0] = 0;
  return n;
}

int bdMemcmp(const void* a, const void* b, std::size_t n) {
  const int r = std::memcmp(a, b, n);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}
