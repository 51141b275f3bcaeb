#include "game/sectioned_data.h"

#include <cstring>

#include "platform/message_sink.h"
#include "platform/path.h"

namespace {

constexpr char kDataErrorCaption[] = "tessarin error";
constexpr char kSectionErrorCaption[] = "tessarin error - section";

bool IsBreak(char c) { return c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == 0; }

}  // namespace

SectionRef SplitSectionHeader(char* start, const char* end) {
  SectionRef s;
  s.name = start;
  char* p = start;
  while (p < end && !IsBreak(*p))
    ++p;
  if (p >= end) return s;  // no line break: the section has no body
  *p = 0;
  // Two characters on (a CR LF's length), held at the section's end.
  s.body = end - p >= 2 ? p + 2 : const_cast<char*>(end);
  return s;
}

std::vector<SectionRef> FindSections(char* text, size_t size, size_t maxSections) {
  std::vector<SectionRef> sections;
  if (!text) return sections;
  const size_t length = strnlen(text, size);
  char* end = text + length;
  char* open = nullptr;
  for (char* p = text; p < end; ++p) {
    if (!open) {
      if (*p != '{') continue;
      if (sections.size() >= maxSections) {
        platform::ShowNotice("there are more sections than expected", kDataErrorCaption, 0);
        break;
      }
      open = p + 1;
    } else if (*p == '}') {
      *p = 0;
      sections.push_back(SplitSectionHeader(open, p));
      open = nullptr;
    }
  }
  return sections;
}

std::vector<ListItem> ParseListItems(char* body, const char* end, size_t maxItems, bool* tooMany) {
  std::vector<ListItem> items;
  if (tooMany) *tooMany = false;
  if (!body) return items;
  char* p = body;
  while (p < end) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == 0 || *p == '\r' || *p == '\n'))
      ++p;
    if (p >= end) break;
    char* line = p;
    while (p < end && *p != '\r' && *p != '\n')
      ++p;
    if (items.size() >= maxItems) {
      platform::ShowNotice("Le nombre de fichiers a charger est trop grand.", kSectionErrorCaption,
                           0);
      if (tooMany) *tooMany = true;
      break;
    }
    if (p < end) *p++ = 0;
    char* separator = std::strstr(line, kListSeparator);
    if (!separator || separator - line < 2) continue;
    *separator = 0;
    char* value = separator + std::strlen(kListSeparator);
    while (*value == ' ' || *value == '\t')
      ++value;
    if (!*value) continue;
    items.push_back({line, value});
  }
  return items;
}

bool LoadSectionedList(const char* path, size_t maxBytes, size_t maxItems, std::string& buffer,
                       std::vector<ListItem>& items) {
  items.clear();
  std::vector<uint8_t> bytes;
  if (platform::ReadFileBounded(path, maxBytes, bytes) != platform::ReadStatus::kOk) {
    platform::ShowNotice("size of file unacceptable", kDataErrorCaption, 0);
    return false;
  }
  buffer.assign(bytes.begin(), bytes.end());
  buffer.append(16, '\0');
  std::vector<SectionRef> sections = FindSections(&buffer[0], buffer.size(), 1);
  if (sections.empty() || !sections[0].body) return true;
  const char* end = sections[0].body + std::strlen(sections[0].body);
  bool tooMany = false;
  items = ParseListItems(sections[0].body, end, maxItems, &tooMany);
  if (tooMany) {
    items.clear();
    buffer.clear();
  }
  return true;
}
