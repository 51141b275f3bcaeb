#include "bdUPnP/bdUPnPText.h"

#include <cstdlib>
#include <cstring>

namespace {
const char* const kIPService = "WANIPConnection:1";
const char* const kPPPService = "WANPPPConnection:1";
constexpr unsigned short kHTTPPort = 80;

// "a.b.c.d[:port]" in [begin, end) as an address; false for anything else.
bool parseHost(const char* begin, const char* end, bdAddr& addr) {
  char text[32];
  const std::size_t length = static_cast<std::size_t>(end - begin);
  if (length == 0 || length >= sizeof text) return false;
  std::memcpy(text, begin, length);
  text[length] = 0;
  char* colon = std::strchr(text, ':');
  unsigned long port = kHTTPPort;
  if (colon != nullptr) {
    *colon = 0;
    char* after = nullptr;
    port = std::strtoul(colon + 1, &after, 10);
    if (after == colon + 1 || *after != 0 || port == 0 || port > 65535) return false;
  }
  bdInetAddr address;
  if (!bdInetAddr::parse(text, address)) return false;
  addr = bdAddr(address, static_cast<unsigned short>(port));
  return true;
}

// Paths go into our own request lines: no spaces or control characters.
bool printable(const char* begin, const char* end) {
  for (const char* p = begin; p < end; ++p) {
    if (static_cast<unsigned char>(*p) <= ' ' || *p == 0x7F) return false;
  }
  return true;
}

// Copies [begin, end) after what out holds; false when it does not fit.
bool appendText(char* out, unsigned int size, const char* begin, const char* end) {
  const std::size_t have = std::strlen(out);
  const std::size_t length = static_cast<std::size_t>(end - begin);
  if (have + length + 1 > size) return false;
  std::memcpy(out + have, begin, length);
  out[have + length] = 0;
  return true;
}

// The text of an element opened by "<name": from after its '>' up to the
// next '<' (or the end of the text); null when there is no such element.
const char* elementValue(const char* from, const char* name, const char*& end) {
  const char* open = std::strstr(from, name);
  if (open == nullptr) return nullptr;
  const char* value = std::strchr(open, '>');
  if (value == nullptr) return nullptr;
  ++value;
  end = std::strchr(value, '<');
  if (end == nullptr) end = value + std::strlen(value);
  return value;
}

// "http://host[:port]/path" in [value, end): the address and where the path starts.
bool splitURL(const char* value, const char* end, bdAddr& addr, const char*& path) {
  if (end - value < 7 || std::strncmp(value, "http://", 7) != 0) return false;
  const char* host = value + 7;
  path = host;
  while (path < end && *path != '/')
    ++path;
  return parseHost(host, path, addr);
}
}  // namespace

bdUPnPText::LocationResult bdUPnPText::parseLocation(const char* answer, bdAddr& addr, char* path,
                                                     unsigned int pathSize) {
  const char* url = std::strstr(answer, "http://");
  if (url == nullptr) return LOCATION_NO_URL;
  const char* host = url + 7;
  const char* slash = std::strchr(host, '/');
  if (slash == nullptr) return LOCATION_NO_PATH;
  if (!parseHost(host, slash, addr)) return LOCATION_BAD_HOST;
  const char* end = std::strchr(slash, '\r');
  if (end == nullptr) return LOCATION_NO_CARRIAGE_RETURN;
  path[0] = 0;
  if (!printable(slash, end) || !appendText(path, pathSize, slash, end)) return LOCATION_BAD_PATH;
  return LOCATION_OK;
}

bdUPnPText::DescriptionResult bdUPnPText::parseDescription(const char* text, bdAddr& addr,
                                                           bool& isIP, char* path,
                                                           unsigned int pathSize) {
  path[0] = 0;
  char prefix[256] = "";
  const char* baseEnd = nullptr;
  const char* base = elementValue(text, "<URLBase", baseEnd);
  if (base != nullptr && base < baseEnd) {
    const char* basePath = nullptr;
    bdAddr baseAddr;
    if (!splitURL(base, baseEnd, baseAddr, basePath) || !printable(basePath, baseEnd) ||
        !appendText(prefix, sizeof prefix, basePath, baseEnd))
      return DESCRIPTION_BAD_URLBASE;
    addr = baseAddr;
  }
  const char* service = std::strstr(text, kIPService);
  isIP = service != nullptr;
  if (service == nullptr) service = std::strstr(text, kPPPService);
  if (service == nullptr) return DESCRIPTION_NO_SERVICE;
  const char* valueEnd = nullptr;
  const char* value = elementValue(service, "<controlURL", valueEnd);
  if (value == nullptr) return DESCRIPTION_BAD_CONTROL_URL;
  bdAddr controlAddr = addr;
  if (std::strncmp(value, "http://", 7) == 0 && !splitURL(value, valueEnd, controlAddr, value))
    return DESCRIPTION_BAD_CONTROL_URL;
  // A prefix ending in '/' and a path starting with one share the slash.
  const std::size_t prefixLength = std::strlen(prefix);
  if (prefixLength > 0 && prefix[prefixLength - 1] == '/' && value < valueEnd && *value == '/')
    ++value;
  if (value == valueEnd || !printable(value, valueEnd) ||
      !appendText(path, pathSize, prefix, prefix + prefixLength) ||
      !appendText(path, pathSize, value, valueEnd)) {
    path[0] = 0;
    return DESCRIPTION_BAD_CONTROL_URL;
  }
  addr = controlAddr;
  return DESCRIPTION_OK;
}

bdUPnPText::QueryResult bdUPnPText::parseQueryReply(const char* text, bdInetAddr& client) {
  if (!isSuccess(text)) return QUERY_NO_MAPPING;
  const char* end = nullptr;
  const char* value = elementValue(text, "<NewInternalClient", end);
  if (value == nullptr || *end != '<' || end[1] != '/') return QUERY_MALFORMED;
  char owner[32];
  const std::size_t length = static_cast<std::size_t>(end - value);
  if (length >= sizeof owner) return QUERY_MALFORMED;
  std::memcpy(owner, value, length);
  owner[length] = 0;
  return bdInetAddr::parse(owner, client) ? QUERY_MAPPED : QUERY_MALFORMED;
}

bool bdUPnPText::isSuccess(const char* text) { return std::strstr(text, "200 OK") != nullptr; }
