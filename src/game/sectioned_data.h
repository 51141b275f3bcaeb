#pragma once
// Sectioned data files: plain texts divided into sections written between
// braces ("{NAME body}"), and the lists of names and values their bodies
// hold ("name&),%value" a line). The parser works in place: names and
// bodies point into the caller's buffer, which it cuts with NULs.
#include <cstddef>
#include <string>
#include <vector>

struct SectionRef {
  char* name = nullptr;
  char* body = nullptr;  // null when the section has no body
};

struct ListItem {
  char* name = nullptr;
  char* value = nullptr;
};

// The separator of a list line's name and value.
constexpr char kListSeparator[] = "&),%";

// The sections of the text (NUL-terminated, `size` bytes at most), at most
// maxSections; a further one shows "there are more sections than expected"
// and ends the walk. Each section's header is cut off by SplitSectionHeader.
std::vector<SectionRef> FindSections(char* text, size_t size, size_t maxSections);
// The name runs to the first CR LF, blank, tab or NUL of the section, which
// becomes NUL; the body starts two characters on, never past `end`.
SectionRef SplitSectionHeader(char* start, const char* end);
// The list of a section body up to `end`; at most maxItems (a further item
// shows the "too many files" message and ends the parse). Lines whose name
// has fewer than two characters or that have no value give no item.
std::vector<ListItem> ParseListItems(char* body, const char* end, size_t maxItems, bool* tooMany);
// Reads the file (at most maxBytes) into `buffer` and parses its first
// section as a list. False when the file cannot be read.
bool LoadSectionedList(const char* path, size_t maxBytes, size_t maxItems, std::string& buffer,
                       std::vector<ListItem>& items);
