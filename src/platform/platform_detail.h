#pragma once
// Internals shared by the platform layer's own files; not for other subsystems.
#include <string>
#include <vector>

#include "platform/path.h"

namespace platform {
namespace detail {

// Case folding as the Win32 name comparisons do it for the ANSI code page
// (Windows-1252): ASCII letters plus the accented Latin letters.
unsigned char FoldCase(unsigned char c);
int CompareNoCase(const std::string& a, const std::string& b);
bool EqualsNoCase(const std::string& a, const std::string& b);
// Ini names: only ASCII letters ignore case, as the profile API under Wine
// compares them.
bool EqualsNoCaseAscii(const std::string& a, const std::string& b);

// WriteFileAtomic with a choice of forcing the data to disk before the
// rename; frequent small rewrites (ini files) skip that cost.
bool WriteFileReplacing(const char* path, const void* data, size_t size, bool sync);

// The entries matching `pattern`, in directory order (FindFiles sorts them).
std::vector<FindEntry> FindFilesUnsorted(const char* pattern);

}  // namespace detail
}  // namespace platform
