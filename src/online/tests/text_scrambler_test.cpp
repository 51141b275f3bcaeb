// The account file's text scrambler.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "online/text_scrambler.h"

namespace {

TEST(TextScramblerTest, XorsEveryByteBeforeTheTerminatorWithTheKeyAndUndoesItself) {
  online::BuildScrambleKey();
  const unsigned char* key = online::ScrambleKey();
  unsigned char zero[online::kScrambleKeySize] = {};
  ASSERT_NE(std::memcmp(key, zero, sizeof zero), 0);

  const std::string text = "a login of forty characters, and more...";  // crosses 32
  auto scrambled = online::ScrambleText(text.c_str());
  for (size_t i = 0; i < text.size(); ++i)
    EXPECT_EQ(static_cast<unsigned char>(scrambled[i]),
              static_cast<unsigned char>(text[i]) ^ key[(i % 32) / 2])
        << i;
  EXPECT_EQ(scrambled[text.size()], '\0');
  online::ScrambleBytes(scrambled.get(), text.size());
  EXPECT_EQ(std::string(scrambled.get()), text);
  EXPECT_EQ(online::ScrambleText(nullptr), nullptr);
}

TEST(TextScramblerTest, TheKeyIsTheDigestOfAThirteenCharacterIdentifierAndClears) {
  online::BuildScrambleKey();
  unsigned char first[online::kScrambleKeySize];
  std::memcpy(first, online::ScrambleKey(), sizeof first);
  online::ClearScrambleKey();
  unsigned char zero[online::kScrambleKeySize] = {};
  EXPECT_EQ(std::memcmp(online::ScrambleKey(), zero, sizeof zero), 0);
  EXPECT_STREQ(online::ScrambleText("same").get(), "same");  // a zero key changes nothing
  online::BuildScrambleKey();
  EXPECT_EQ(std::memcmp(online::ScrambleKey(), first, sizeof first), 0);  // stable
  unsigned char digest[16];
  OX_Toolbox::Md5Digest::compute("Tessarin-2004", 13, digest);
  EXPECT_EQ(std::memcmp(online::ScrambleKey(), digest, sizeof digest), 0);
}

}  // namespace
