#pragma once
// Small shared routines: game identifiers, the date-and-time stamp written
// into records, and the removal of editorial brace groups from texts.
#include <cstddef>
#include <cstdint>
#include <string>

namespace shell {

constexpr size_t kGuidSize = 16;

// Fills the 16-byte buffer with a new identifier (Win32 GUID byte order);
// false for a null buffer or when no identifier could be made.
bool NewGuid(uint8_t* guid);
// True only when neither side is null (a null pointer or the all-zero GUID)
// and all 16 bytes are equal: two all-zero GUIDs are never the same game.
bool IsSameGuid(const uint8_t* a, const uint8_t* b);

// "MM/DD/YY HH:MM:SS" of the local time in one static buffer that the next
// call overwrites.
const char* GetDateTimeString();

// Copies source into target leaving out every "{...}" group (nested groups go
// with their outer group; an unclosed group runs to the end). target is always
// terminated and never written past targetSize. Returns 1 when a group was
// removed, else 0 (also 0 for a null pointer or a zero size).
int StripBracedText(const char* source, char* target, size_t targetSize);
std::string StripBracedText(const std::string& source, bool* removed = nullptr);

}  // namespace shell
