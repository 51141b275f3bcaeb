#include "shell/res_strings.h"

#include <algorithm>
#include <cstring>

#include "platform/message_sink.h"

namespace shell {
namespace {

char g_text[1024];
char g_secondary[512];

// Copies the text of id into buf; an unknown id empties it. Texts longer than
// the buffer are cut at a character boundary (all texts are single-byte).
const char* LoadInto(uint32_t id, char* buf, size_t size) {
  const char* text = FindResString(id);
  if (!text) text = "";
  size_t n = std::min(std::strlen(text), size - 1);
  std::memcpy(buf, text, n);
  buf[n] = '\0';
  return buf;
}

}  // namespace

const char* FindResString(uint32_t id) {
  const StringTableEntry* end = kStringTable + kStringTableSize;
  const StringTableEntry* it = std::lower_bound(
      kStringTable, end, id, [](const StringTableEntry& e, uint32_t v) { return e.id < v; });
  return (it != end && it->id == id) ? it->text : nullptr;
}

const char* LoadResString(uint32_t id) { return LoadInto(id, g_text, sizeof g_text); }

const char* LoadResStringSecondary(uint32_t id) {
  return LoadInto(id, g_secondary, sizeof g_secondary);
}

int ShowResMessageBox(uint32_t textId, uint32_t captionId, uint32_t flags) {
  char text[512];
  char caption[128];
  LoadInto(textId, text, sizeof text);
  LoadInto(captionId, caption, sizeof caption);
  return platform::ShowNotice(text, caption, flags);
}

}  // namespace shell
