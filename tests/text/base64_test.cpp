// Base64 encoding of Basic credentials.
#include "oauth/text/base64.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

TEST(Base64Test, EncodesWithPaddingAndNoLineBreaks) {
  const std::pair<std::string, std::string> cases[] = {
      {"abc", "YWJj"},
      {"ab", "YWI="},
      {"a", "YQ=="},
      {std::string("\xFB\xFF\x00", 3), "+/8A"},
      {std::string(59, 'x'), std::string(76, '-') + "eHg="},  // '-' stands for the repeated "eHh4"
  };
  for (auto [data, text] : cases) {
    for (std::size_t i = 0; i < text.size() && text[i] == '-'; i += 4) text.replace(i, 4, "eHh4");
    std::string out = "old";
    ASSERT_EQ(Base64Encode(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &out), 0);
    EXPECT_EQ(out, text) << data;
  }
}

TEST(Base64Test, NothingToEncodeFailsAndLeavesTheOutputAlone) {
  std::string out = "old";
  const unsigned char byte = 'a';
  EXPECT_EQ(Base64Encode(&byte, 0, &out), 1);
  EXPECT_EQ(Base64Encode(nullptr, 3, &out), 1);
  EXPECT_EQ(out, "old");
}

}  // namespace
}  // namespace OAuthClient
