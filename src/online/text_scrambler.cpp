#include "online/text_scrambler.h"

#include <cstring>
#include <string>

#include "Modules/Core/Src/Digest/Md5Digest.h"

namespace online {

namespace {

unsigned char g_key[kScrambleKeySize] = {};

// Composed at run time rather than kept as one literal, so the file's key
// is not a string a search of the program would show.
std::string ProductIdentifier() {
  std::string id = "Tessarin";
  id += '-';
  id += std::to_string(2004);
  return id;  // 13 characters
}

}  // namespace

void BuildScrambleKey() {
  const std::string id = ProductIdentifier();
  OX_Toolbox::Md5Digest::compute(id.data(), id.size(), g_key);
}

void ClearScrambleKey() { std::memset(g_key, 0, sizeof g_key); }

const unsigned char* ScrambleKey() { return g_key; }

void ScrambleBytes(char* bytes, std::size_t length) {
  OX_Toolbox::XorWithKey32(g_key, bytes, length);
}

std::unique_ptr<char[]> ScrambleText(const char* text) {
  if (text == nullptr) return nullptr;
  const std::size_t length = std::strlen(text);
  std::unique_ptr<char[]> copy(new char[length + 1]);
  std::memcpy(copy.get(), text, length + 1);
  ScrambleBytes(copy.get(), length);
  return copy;
}

}  // namespace online
