#pragma once
// File-name checks, groups of files read whole, and the text-fit and page
// arithmetic behind lists and labels.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shell {

// True for the reserved device names (CON, PRN, AUX, CLOCK$, NUL, COM1-COM9,
// LPT1-LPT9), whatever the case and extension: "com1.txt" and "Clock$" are,
// "COM10" is not.
bool IsReservedDeviceName(const char* name);
// False when the name holds \ / : * ? " < > | or is a reserved device name.
bool IsValidFileName(const char* name);

// Reads up to `size` bytes of every file matching the pattern (wildcards in
// the last component) and returns the buffers sorted by their text (byte
// order up to the first NUL). Each buffer is NUL-terminated after its bytes.
std::vector<std::vector<uint8_t>> LoadMatchingFiles(const char* pattern, size_t size);
// The path of the first matching file whose first `size` bytes equal the
// first `size` bytes of `header`; empty when none does.
std::string FindFileByHeader(const char* pattern, const void* header, size_t size);

// The page of an item: (index + offset) / pageSize, or 0 when index or offset
// is negative, offset is not below pageSize, or pageSize is not positive.
int PageOfIndex(int index, int pageSize, int offset);

// The length of the first prefix (from one character) whose measured width
// exceeds `width`, or the whole length when the text fits.
using TextMeasure = std::function<int(const char* text, size_t length)>;
size_t FitTextLength(const char* text, int width, const TextMeasure& measure);

// List-box scrolling: the top row that makes `item` visible, or -1 for an
// item outside the list. An item above the top becomes the top; one below the
// visible rows becomes the last visible row (visible rows at least 1).
int TopIndexForItem(int itemCount, int topIndex, int item, int clientHeight, int itemHeight);

// Copies a whole file (the copy replaces `to` in one step).
bool CopyWholeFile(const char* from, const char* to);
// Removes a file or an empty folder.
bool RemovePath(const char* path);

// snprintf into a std::string that refuses (returns false) when the result
// would not fit in `limit` bytes with its terminator.
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
bool FormatPath(std::string& out, size_t limit, const char* format, ...);

}  // namespace shell
