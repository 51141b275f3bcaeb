#pragma once
// What the personality chooser's cards show and how the chooser hands its
// choice back, apart from the windows: the card title, the name written
// into the caller's line, the scroll range of the card row and the layout
// of a portrait read from the faces pack.
#include <cstddef>
#include <cstdint>
#include <string>

namespace shell {

constexpr int kPersonalityCards = 4;  // cards side by side in the chooser

// "NAME(rating)": the name upper-cased, then its rating.
std::string PersonalityCardTitle(const std::string& name, int32_t rating);
// The name as the set-ups write it: the first letter as it stands, the rest
// in lower case.
std::string PersonalityCallerName(const std::string& name);
// A file name up to its first '.'.
std::string PersonalityFileStem(const std::string& fileName);
// The first card shown, held so that the row never runs past the last
// visible personality: 0 .. max(0, visible - cards).
int ClampFirstCard(int first, int visible);

// Where a packed DIB's pixels lie. The portrait comes from a pack file, so
// every size in its header is checked against the block before use.
struct PackedDibLayout {
  int32_t width = 0;
  int32_t height = 0;  // negative for a top-down picture
  uint16_t bitCount = 0;
  size_t bitsOffset = 0;  // header and colour table
};
bool ReadPackedDibLayout(const uint8_t* data, size_t size, PackedDibLayout& out);

}  // namespace shell
