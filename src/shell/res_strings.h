#pragma once
// String-table access. Every user-visible text comes from the string table by
// number. The table is generated from strings/strings.txt at build time (the
// same source gives the Windows resource script), so both builds read the
// same texts, in Windows-1252.
#include <cstddef>
#include <cstdint>

namespace shell {

struct StringTableEntry {
  uint32_t id;
  const char* text;
};

// The generated table, sorted by id.
extern const StringTableEntry kStringTable[];
extern const size_t kStringTableSize;

// The text of `id`, or null when the table has no such entry.
const char* FindResString(uint32_t id);

// The text in one shared 1024-byte buffer that the next call overwrites.
// An unknown id gives an empty text (never the previous call's text).
const char* LoadResString(uint32_t id);
// The module argument of the Win32 form is accepted and ignored: the program
// has one string table.
inline const char* LoadResString(const void* /*module*/, uint32_t id) { return LoadResString(id); }
// The same in a second, 512-byte buffer, for a text needed beside the first.
const char* LoadResStringSecondary(uint32_t id);

// Loads the text (at most 512 bytes) and the caption (at most 128) and shows
// them through the program's message sink; returns the button.
int ShowResMessageBox(uint32_t textId, uint32_t captionId, uint32_t flags);

}  // namespace shell
