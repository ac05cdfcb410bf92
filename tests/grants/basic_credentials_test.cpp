// EncodeBasicCredentials: the Basic credentials of the client credentials and password flows, as ANSI bytes in
// Base64.
#include "oauth/grants/basic_authorization.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace OAuthClient {
namespace {

TEST(BasicCredentials, EncodesAnsiBytesInBase64) {
  const struct {
    std::u16string id;
    std::u16string secret;
    std::optional<std::u16string> base64;
  } cases[] = {
      {u"a:b", u"c", u"YTpiOmM="},  // a colon in the identifier is not escaped
      // Windows-1252 has the euro sign (0x80); the check mark becomes the code page's "?".
      {u"id", u"s\u20ac\u2713", u"aWQ6c4A/"},
      {u"\uFEFFid", u"x", u"aWQ6eA=="},  // a leading byte order mark is left out
      {u"\u01FE", u"x", u"Ong="},  // the check looks at the low byte only: any leading unit ending in FE or FF goes
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeBasicCredentials(c.id, c.secret), c.base64) << "case " << (&c - cases);
}

}  // namespace
}  // namespace OAuthClient
