#include <cstdarg>
#include <cstdio>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdCString.h"
#include "bdSocket/bdCommonAddr.h"

namespace {
// Appends formatted text, cut to the buffer, which stays terminated.
class TextOut {
 public:
  TextOut(char* buffer, unsigned int size) : m_buffer(buffer), m_size(size) {
    if (m_size > 0) m_buffer[0] = 0;
  }
  void add(const char* format, ...) BD_PRINTF_FORMAT(2, 3) {
    if (m_size == 0) return;
    const unsigned int used = bdStrlen(m_buffer);
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_buffer + used, m_size - used, format, args);
    va_end(args);
  }
  unsigned int length() const { return m_size == 0 ? 0 : bdStrlen(m_buffer); }

 private:
  char* m_buffer;
  unsigned int m_size;
};

bool usable(const bdReference<bdCommonAddr>& addr, char* buffer, unsigned int size) {
  if (addr.isNull()) {
    bdLogWarn("commonaddrinfo", "Info requested for 'null' common addr, Request Ignored");
    return false;
  }
  return buffer != nullptr && size > 0;
}
}  // namespace

unsigned int bdCommonAddrInfo::getInfo(bdReference<bdCommonAddr> addr, char* buffer,
                                       unsigned int size) {
  if (!usable(addr, buffer, size)) return 0;
  TextOut out(buffer, size);
  char text[24];
  const bdArray<bdAddr>& locals = addr->getLocalAddrs();
  out.add("NAT Type: %s\n", bdNATTypeToString(addr->getNATType()));
  out.add("%u Local Addrs Found: \n", locals.getSize());
  for (unsigned int i = 0; i < locals.getSize(); ++i) {
    locals[i].toString(text, sizeof text);
    out.add("Local Addr %u :  %s \n", i, text);
  }
  addr->getPublicAddr().toString(text, sizeof text);
  out.add("Public Addr :  %s \n", text);
  out.add("Addr is loopback : %s  -- Addr Hash : %u \n", addr->isLoopback() ? "TRUE" : "FALSE",
          addr->getHash());
  return out.length();
}

unsigned int bdCommonAddrInfo::getBriefInfo(bdReference<bdCommonAddr> addr, char* buffer,
                                            unsigned int size) {
  if (!usable(addr, buffer, size)) return 0;
  TextOut out(buffer, size);
  char text[24];
  if (addr->getPublicAddr().isValid()) {
    addr->getPublicAddr().toString(text, sizeof text);
    out.add("Public Addr: %s\n", text);
    return out.length();
  }
  const bdArray<bdAddr>& locals = addr->getLocalAddrs();
  if (locals.isEmpty()) {
    out.add("Empty\n");
    return out.length();
  }
  bdAssert(locals.getSize() <= bdCommonAddr::MAX_LOCAL_ADDRS, "bdCommonAddr invalid.");
  out.add("Local Addr: ");
  for (unsigned int i = 0; i < locals.getSize(); ++i) {
    locals[i].toString(text, sizeof text);
    out.add(i == 0 ? "%s" : ", %s", text);
  }
  out.add("\n");
  return out.length();
}
