// CGrantDelegate: binding of the HTTP client component, the forwarding operations, the lifetime of the HTTP
// client object; and the Basic credentials encoding shared by the client credentials and password flows.
#include "oauth/grants/grant_delegate.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "oauth/grants/basic_authorization.h"
#include "oauth/grants/client_credentials_grant.h"
#include "tests/grants/grant_test_support.h"

namespace OAuthClient {
namespace {

// Calls every forwarding operation and returns what the getters and string setters gave.
std::vector<std::int32_t> Forward(IGrantDelegate& grant) {
  grant.SetOptionFlagA(1);
  grant.SetOptionFlagB(1);
  grant.SetOptionValueA(10);
  grant.SetOptionValueB(20);
  return {grant.GetOptionFlagA(), grant.GetOptionFlagB(), grant.SetStringTriple(u"http://p", u"u", u"s"),
          grant.SetStringPair(u"http://p", u"b")};
}
const std::vector<std::int32_t> kNotForwarded = {0, 0, -3, -4};

TEST(GrantBinding, RefusedComponentLeavesTheGrantUnboundAndNothingLoaded) {
  Testing::RefuseComponent refuse;
  CClientCredentialsGrant grant;
  EXPECT_FALSE(grant.IsBound());
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  auto run = Testing::RunGrant(grant, *request);
  EXPECT_EQ(run.result, -1);
  EXPECT_TRUE(run.untouched);
  EXPECT_EQ(Forward(grant), kNotForwarded);
}

TEST(GrantDelegate, ForwardsOnlyWhileItHoldsAnHttpClientObject) {
  HttpClientDouble::Hold hold;
  HttpClientDouble::Reset();
  CClientCredentialsGrant grant;
  EXPECT_EQ(Forward(grant), kNotForwarded);
  EXPECT_TRUE(HttpClientDouble::Calls().empty());

  // A request that ends early keeps its object until the grant ends; the forwarding operations reach it.
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  request->SetSecureProtocol(9);
  ASSERT_EQ(Testing::RunGrant(grant, *request).result, -1);
  HttpClientDouble::Reset();
  HttpClientDouble::ScriptResult("SetStringPair", -22);
  EXPECT_EQ(Forward(grant), (std::vector<std::int32_t>{1, 1, 1, -22}));
  EXPECT_EQ(HttpClientDouble::Calls(),
            (std::vector<std::string>{"SetOptionFlagA(1)", "SetOptionFlagB(1)", "SetOptionValueA(10)",
                                      "SetOptionValueB(20)", "GetOptionFlagA()", "GetOptionFlagB()",
                                      "SetStringTriple(http://p,u,s)", "SetStringPair(http://p,b)"}));
}

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
      // The check looks at the low byte only, so any leading unit ending in FE or FF goes too.
      {u"\u00FFd", u"x", u"ZDp4"},
      {u"\u01FE", u"x", u"Ong="},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeBasicCredentials(c.id, c.secret), c.base64) << "case " << (&c - cases);
}

}  // namespace
}  // namespace OAuthClient
