#pragma once
// The anagram game's word-map key: words made of the same letters share it.
#include <cstdint>

// The first `length` bytes of the word (at most 15) sorted in descending
// byte order, run through the program's CRC: the reflected CRC-32 table of
// 0xEDB88320 with a register that starts all ones, shifts right keeping its
// sign bit, and is not inverted at the end. Only equality of keys matters.
uint32_t AnagramKey(const char* word, int length);
