#pragma once
// Hides the texts the login dialog keeps in the account list file: an XOR
// with the MD5 digest of the program's product identifier. Not encryption,
// only enough that the file does not show logins and passwords as text.
#include <cstddef>
#include <memory>

namespace online {

constexpr std::size_t kScrambleKeySize = 16;

// Built when the Internet lobby initialises, zeroed when it shuts down. While
// zeroed, scrambling leaves texts as they are.
void BuildScrambleKey();
void ClearScrambleKey();
const unsigned char* ScrambleKey();

// A copy of the text with its terminator whose bytes before the terminator
// are XOR-ed with the key (byte i with key byte (i mod 32) / 2). Applying it
// twice gives the text back. Null text: null.
std::unique_ptr<char[]> ScrambleText(const char* text);
// The same on a buffer of known length, in place.
void ScrambleBytes(char* bytes, std::size_t length);

}  // namespace online
