// Form URL encoding of token request parameter values.
#include "oauth/text/form_url_encode.h"

#include <gtest/gtest.h>

namespace OAuthClient {
namespace {

TEST(FormUrlEncodeTest, EncodesUtf8BytesWithLowerCaseHex) {
  struct Case {
    std::u16string text;
    std::string encoded;
  };
  const Case cases[] = {
      {u"a b&c=d/\u00E9", "a+b%26c%3dd%2f%c3%a9"},
      {u"-_.!~*'()", "-_.!~*'()"},
      {u"AZaz09", "AZaz09"},
      {u"+%\r\n\t\"#", "%2b%25%0d%0a%09%22%23"},
      {u"\U0001F600", "%f0%9f%98%80"},
      {u"\xD800", "%ef%bf%bd"},  // a lone surrogate is encoded as the UTF-8 converter renders it
      {u"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FormUrlEncode(c.text), c.encoded) << c.encoded;
}

}  // namespace
}  // namespace OAuthClient
