// End to end against the OpenID Provider test server (tests/servers/oidc): the client credentials grant with
// client_secret_basic, checked by the provider's own token introspection (RFC 7662).
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {
namespace {

class OidcServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(base_.empty());
    ASSERT_NE(client_, nullptr);
  }

  TokenOutcome ClientCredentials(const std::string& secret, const std::string& scope) {
    auto request = NewTokenRequest(base_ + "/token", "client_credentials", "oidc-client", secret);
    if (!scope.empty()) request->SetScope(Wide(scope).c_str());
    return RequestToken(*client_, *request);
  }

  // Asks the provider what it knows of a token; the introspection endpoint is a plain form POST, sent here as a
  // resource request that carries its own client authorization (Base64 of "oidc-client:oidc-secret").
  std::string Introspect(const std::string& accessToken) {
    Owned<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(base_ + "/token/introspection").c_str());
    request->SetMethod(Wide("POST").c_str());
    request->AddHeader(Wide("Authorization").c_str(), Wide("Basic b2lkYy1jbGllbnQ6b2lkYy1zZWNyZXQ=").c_str());
    request->AddHeader(Wide("Content-Type").c_str(), Wide("application/x-www-form-urlencoded").c_str());
    const std::string form = "token=" + accessToken;
    request->SetBody(reinterpret_cast<const unsigned char*>(form.data()), static_cast<std::uint32_t>(form.size()));
    const ResourceOutcome outcome = RequestResource(*client_, *request);
    EXPECT_EQ(outcome.result, 1);
    if (outcome.response == nullptr) return "";
    EXPECT_EQ(outcome.response->GetStatusCode(), 200u);
    return BodyOf(*outcome.response);
  }

  const std::string base_ = ServerBaseUrl("oidc");
  Owned<IOAuthClient> client_{CreateOAuthClient()};
};

TEST_F(OidcServerTest, ClientCredentialsGiveAnActiveTokenForTheResource) {
  // The default body appends the scope unencoded; the blank still separates two scopes.
  for (const char* scope : {"", "api:read api:write"}) {
    SCOPED_TRACE(scope);
    const std::string accessToken = ExpectBearerToken(ClientCredentials("oidc-secret", scope), /*withRefreshToken=*/false);
    ASSERT_FALSE(accessToken.empty());

    const std::string introspection = Introspect(accessToken);
    EXPECT_EQ(JsonMember(introspection, "active"), "true") << introspection;
    EXPECT_EQ(JsonMember(introspection, "client_id"), "oidc-client") << introspection;
    EXPECT_EQ(JsonMember(introspection, "aud"), "urn:oauthclient:test-api") << introspection;
    EXPECT_EQ(JsonMember(introspection, "scope"), *scope ? std::optional<std::string>(scope) : std::nullopt);
  }
  EXPECT_EQ(JsonMember(Introspect("not-a-token"), "active"), "false");
}

TEST_F(OidcServerTest, WrongSecretGivesInvalidClient) {
  const TokenOutcome outcome = ClientCredentials("not-the-secret", "");
  ASSERT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.response->GetStatusCode(), 401u);
  EXPECT_EQ(TokenText(*outcome.response, &ITokenResponse::GetError), "invalid_client");
  EXPECT_EQ(TokenText(*outcome.response, &ITokenResponse::GetErrorDescription), "client authentication failed");
  EXPECT_NE(HeaderOf(*outcome.response, "WWW-AUTHENTICATE").find("invalid_client"), std::string::npos);
}

}  // namespace
}  // namespace OAuthClient::E2e
