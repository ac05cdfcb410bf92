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

using Calls = std::vector<std::string>;

// Calls every forwarding operation and returns what the getters and string setters gave.
std::vector<std::int32_t> Forward(IGrantDelegate& grant) {
  grant.SetOptionFlagA(1);
  grant.SetOptionFlagB(1);
  grant.SetOptionValueA(10);
  grant.SetOptionValueB(20);
  return {grant.GetOptionFlagA(), grant.GetOptionFlagB(), grant.SetStringTriple(u"http://p", u"u", u"s"),
          grant.SetStringPair(u"http://p", u"b")};
}

TEST(GrantBinding, RefusedComponentLeavesTheGrantUnboundAndNothingLoaded) {
  Testing::RefuseComponent refuse;
  CClientCredentialsGrant grant;
  EXPECT_FALSE(grant.IsBound());
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  auto run = Testing::RunGrant(grant, *request);
  EXPECT_EQ(run.result, -1);
  EXPECT_TRUE(run.untouched);
  EXPECT_EQ(Forward(grant), (std::vector<std::int32_t>{0, 0, -3, -4}));
}

class GrantDelegateTest : public ::testing::Test {
 protected:
  void SetUp() override { HttpClientDouble::Reset(); }
  HttpClientDouble::Hold hold_;
};

TEST_F(GrantDelegateTest, FactoryWithoutObjectGivesMinusOne) {
  HttpClientDouble::ScriptResult("CreateHttpClient", 0);
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  CClientCredentialsGrant grant;
  auto run = Testing::RunGrant(grant, *request);
  EXPECT_EQ(run.result, -1);
  EXPECT_TRUE(run.untouched);
  EXPECT_EQ(HttpClientDouble::CreatedObjects(), 0);
}

TEST_F(GrantDelegateTest, ForwardsOnlyWhileItHoldsAnHttpClientObject) {
  CClientCredentialsGrant grant;
  EXPECT_EQ(Forward(grant), (std::vector<std::int32_t>{0, 0, -3, -4}));
  EXPECT_TRUE(HttpClientDouble::Calls().empty());

  // A request that ends early keeps its object until the grant ends; the forwarding operations reach it.
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  request->SetSecureProtocol(9);
  ASSERT_EQ(Testing::RunGrant(grant, *request).result, -1);
  HttpClientDouble::Reset();
  HttpClientDouble::ScriptResult("SetStringPair", -22);
  EXPECT_EQ(Forward(grant), (std::vector<std::int32_t>{1, 1, 1, -22}));
  EXPECT_EQ(HttpClientDouble::Calls(),
            (Calls{"SetOptionFlagA(1)", "SetOptionFlagB(1)", "SetOptionValueA(10)", "SetOptionValueB(20)",
                   "GetOptionFlagA()", "GetOptionFlagB()", "SetStringTriple(http://p,u,s)",
                   "SetStringPair(http://p,b)"}));
}

TEST(GrantLifetime, ObjectIsReleasedWhileTheComponentIsStillLoaded) {
  // No hold of the test's own: the grant's load is the only one, so releasing the object after the unload would
  // call into an unmapped library.
  auto request = Testing::MakeTokenRequest(u"client_credentials");
  request->SetSecureProtocol(5);
  auto* grant = new CClientCredentialsGrant();
  ASSERT_EQ(Testing::RunGrant(*grant, *request).result, -1);
  ASSERT_EQ(HttpClientDouble::LiveObjects(), 1);
  grant->Release();
  // Released at the grant's end, not at the request's: only then does the library go.
  EXPECT_FALSE(HttpClientDouble::IsLoaded());
}

TEST(BasicCredentials, EncodesAnsiBytesInBase64) {
  const struct {
    const char* name;
    std::u16string id;
    std::u16string secret;
    std::optional<std::u16string> base64;
  } cases[] = {
      {"Plain", u"client", u"secret", u"Y2xpZW50OnNlY3JldA=="},
      {"ColonInIdentifierIsNotEscaped", u"a:b", u"c", u"YTpiOmM="},
      // Windows-1252 has the euro sign (0x80); the check mark becomes the code page's "?".
      {"AnsiCodePageNotUtf8", u"id", u"s\u20ac\u2713", u"aWQ6c4A/"},
      {"LeadingByteOrderMarkIsLeftOut", u"\uFEFFid", u"x", u"aWQ6eA=="},
      // The check looks at the low byte only, so any unit ending in FE or FF goes too.
      {"LeadingUnitWithLowByteFfIsLeftOut", u"\u00FFd", u"x", u"ZDp4"},
      {"LeadingUnitWithLowByteFeIsLeftOut", u"\u01FE", u"x", u"Ong="},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeBasicCredentials(c.id, c.secret), c.base64) << c.name;
  }
}

}  // namespace
}  // namespace OAuthClient
