// End to end against the OpenID Provider test server (tests/servers/oidc): the client credentials grant with
// client_secret_basic, checked by the provider's own token introspection (RFC 7662).
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {
namespace {

// Base64 of "oidc-client:oidc-secret".
constexpr char kOidcClientBasic[] = "Basic b2lkYy1jbGllbnQ6b2lkYy1zZWNyZXQ=";

class OidcServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = ServerBaseUrl("oidc");
    ASSERT_FALSE(base_.empty());
    client_.reset(CreateOAuthClient());
    ASSERT_NE(client_, nullptr);
  }

  TokenOutcome ClientCredentials(const std::string& secret, const std::string& scope) {
    auto request = NewTokenRequest(base_ + "/token", "client_credentials", "oidc-client", secret);
    if (!scope.empty()) request->SetScope(Wide(scope).c_str());
    return RequestToken(*client_, *request);
  }

  // Asks the provider what it knows of a token; the introspection endpoint is a plain form POST, sent here as a
  // resource request that carries its own client authorization.
  std::string Introspect(const std::string& accessToken) {
    Owned<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(base_ + "/token/introspection").c_str());
    request->SetMethod(Wide("POST").c_str());
    request->AddHeader(Wide("Authorization").c_str(), Wide(kOidcClientBasic).c_str());
    request->AddHeader(Wide("Content-Type").c_str(), Wide("application/x-www-form-urlencoded").c_str());
    const std::string form = "token=" + accessToken;
    request->SetBody(reinterpret_cast<const unsigned char*>(form.data()), static_cast<std::uint32_t>(form.size()));
    const ResourceOutcome outcome = RequestResource(*client_, *request);
    EXPECT_EQ(outcome.result, 1);
    if (outcome.response == nullptr) return "";
    EXPECT_EQ(outcome.response->GetStatusCode(), 200u);
    return BodyOf(*outcome.response);
  }

  std::string base_;
  Owned<IOAuthClient> client_;
};

struct IssuedTokenCase {
  const char* name;
  const char* scope;           // "" : none asked for
  const char* grantedScope;    // what introspection reports; null: no scope member
};

class OidcIssuedTokenTest : public OidcServerTest, public ::testing::WithParamInterface<IssuedTokenCase> {};

TEST_P(OidcIssuedTokenTest, ClientCredentialsGiveAnActiveTokenForTheResource) {
  const IssuedTokenCase& c = GetParam();
  const TokenOutcome outcome = ClientCredentials("oidc-secret", c.scope);
  ASSERT_EQ(outcome.result, 1);
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 200u);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetTokenType), "Bearer");
  // The server counts the lifetime down from the moment it issued the token, so a second may have passed.
  EXPECT_GE(response.GetExpiresIn(), 3590);
  EXPECT_LE(response.GetExpiresIn(), 3600);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetRefreshToken), std::nullopt);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), std::nullopt);
  const std::string accessToken = TokenText(response, &ITokenResponse::GetAccessToken).value_or("");
  ASSERT_FALSE(accessToken.empty());

  const std::string introspection = Introspect(accessToken);
  EXPECT_EQ(JsonMember(introspection, "active"), "true") << introspection;
  EXPECT_EQ(JsonMember(introspection, "client_id"), "oidc-client") << introspection;
  EXPECT_EQ(JsonMember(introspection, "aud"), "urn:oauthclient:test-api") << introspection;
  if (c.grantedScope != nullptr) {
    EXPECT_EQ(JsonMember(introspection, "scope"), c.grantedScope) << introspection;
  } else {
    EXPECT_EQ(JsonMember(introspection, "scope"), std::nullopt) << introspection;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OidcIssuedTokenTest,
    ::testing::Values(IssuedTokenCase{"NoScope", "", nullptr},
                      IssuedTokenCase{"OneScope", "api:read", "api:read"},
                      // The default body appends the scope unencoded; the blank still separates two scopes.
                      IssuedTokenCase{"TwoScopes", "api:read api:write", "api:read api:write"}),
    [](const ::testing::TestParamInfo<IssuedTokenCase>& info) { return std::string(info.param.name); });

TEST_F(OidcServerTest, WrongSecretGivesInvalidClient) {
  const TokenOutcome outcome = ClientCredentials("not-the-secret", "");
  ASSERT_EQ(outcome.result, 1);
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 401u);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), "invalid_client");
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetErrorDescription), "client authentication failed");
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetAccessToken), std::nullopt);
  const WideChar* challenge = nullptr;
  ASSERT_EQ(response.GetHeader(Wide("WWW-AUTHENTICATE").c_str(), &challenge), 1);
  EXPECT_NE(Narrow(challenge).find("invalid_client"), std::string::npos) << Narrow(challenge);
}

TEST_F(OidcServerTest, IntrospectionOfAnUnknownTokenSaysInactive) {
  EXPECT_EQ(JsonMember(Introspect("not-a-token"), "active"), "false");
}

}  // namespace
}  // namespace OAuthClient::E2e
