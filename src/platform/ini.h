#pragma once
// Private-profile ini files with exactly the Win32 semantics
// (GetPrivateProfileStringA/IntA, WritePrivateProfileStringA): the real API on
// Windows, our own implementation natively. Paths may use backslashes.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// As GetPrivateProfileStringA: section == nullptr lists the section names,
// key == nullptr lists the keys of the section (each NUL-terminated, the list
// ending with a second NUL); names compare case-insensitively; a missing
// value gives `def` (trailing blanks removed); the result is cut to fit
// `size` and the return is the number of characters copied, not counting the
// terminating NUL (size - 1, or size - 2 for a cut list).
uint32_t IniGetString(const char* section, const char* key, const char* def, char* out,
                      uint32_t size, const char* file);
// As GetPrivateProfileIntA: leading decimal digits, optional sign, else `def`.
int IniGetInt(const char* section, const char* key, int def, const char* file);
// As WritePrivateProfileStringA: key == nullptr deletes the section,
// value == nullptr deletes the key; creates the file when missing.
bool IniWriteString(const char* section, const char* key, const char* value, const char* file);

// Conveniences over the calls above.
std::string IniGet(const char* section, const char* key, const char* def, const char* file,
                   uint32_t maxLen = 1024);
std::vector<std::string> IniSections(const char* file);
std::vector<std::string> IniKeys(const char* section, const char* file);

}  // namespace platform
