#pragma once
// The game's alphabet: one byte per letter in every board grid, rack and move
// record.
//
//   'a'..'z'  a tile showing that letter (board, rack, move records)
//   'A'..'Z'  a blank tile showing that letter (board, move records)
//   '`'       an unassigned blank (rack; letter index 0)
//   '_'       an empty rack place
//   0         an empty board square
//
// A letter's index is its byte with the top three bits cleared: 0 the blank,
// 1..26 A..Z (27..29 are the extra letters of tile set 2). Every per-letter
// table (values, counts, counters) has kLetterSlots entries indexed this way.
#include <cstdint>
#include <string>

constexpr int kLetterSlots = 32;
constexpr int kBlankIndex = 0;
constexpr int kFirstLetterIndex = 1;  // A
constexpr int kLastLetterIndex = 26;  // Z

constexpr char kEmptySquare = 0;
constexpr char kEmptyRackPlace = '_';
constexpr char kUnassignedBlank = '`';
// Crossagram boards mark squares still to be filled with this byte; it counts
// as empty when a move is placed.
constexpr char kCrossagramPlaceholder = '{';

// Rack text buffers hold up to 20 places and a NUL.
constexpr int kRackTextSize = 21;
constexpr int kMaxRackPlaces = kRackTextSize - 1;

// Tile-set letter codes carry the letter index in the low five bits and this
// bit for a vowel (the robot's balance terms and the bag's draw modes read it).
constexpr int kLetterCodeVowel = 0x80;

// The vowel letters, for every tile set (rack and bag balance rules).
constexpr char kVowelLetters[] = "aeiouy";

inline int LetterIndex(char c) { return static_cast<uint8_t>(c) & 31; }

// A real tile showing a letter, as on the board or a rack.
inline bool IsTileLetter(char c) { return c >= 'a' && c <= 'z'; }
// A blank tile showing a letter (board and move records only).
inline bool IsBlankLetter(char c) { return c >= 'A' && c <= 'Z'; }
// Either kind of placed letter.
inline bool IsPlacedLetter(char c) { return IsTileLetter(c) || IsBlankLetter(c); }
// A place of a rack holding no tile ('_', or NUL past the end of short text).
inline bool IsEmptyRackPlace(char c) { return c == kEmptyRackPlace || c == 0; }

// The rack/bag byte of a letter index: a tile 'a'..'z', index 0 gives '`'.
inline char TileForIndex(int index) { return static_cast<char>((index & 31) + 0x60); }
// The board byte of a blank showing the letter of this index ('A'..'Z').
inline char BlankShowingIndex(int index) { return static_cast<char>((index & 31) + 0x40); }

// True for the six vowel letters (a tile byte, compared as written).
inline bool IsVowel(char c) {
  for (const char* v = kVowelLetters; *v; ++v)
    if (*v == c) return true;
  return false;
}

inline bool CodeIsVowel(int letterCode) { return (letterCode & kLetterCodeVowel) != 0; }

// Number of bytes of the text equal to one of the six vowel letters.
inline int CountVowels(const char* text) {
  int n = 0;
  for (; *text; ++text)
    if (IsVowel(*text)) ++n;
  return n;
}

// Writes, for each index i, counts[i] copies of the byte i + 0x60 (blanks as
// '`'); negative counts write nothing.
inline std::string LetterCountsToString(const int32_t counts[kLetterSlots]) {
  std::string out;
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0) out.append(static_cast<size_t>(counts[i]), TileForIndex(i));
  return out;
}
