// End to end against the oauth2 test server (tests/servers/oauth2): the library, the real HTTP component on
// libcurl and a real authorization server with its protected resource, all through the library's exports.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {
namespace {

// Base64 of "demo-client:demo-secret", the Basic client authorization of RFC 6749 section 2.3.1.
constexpr char kDemoClientBasic[] = "Basic ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ=";

class OAuth2ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(base_.empty());
    ASSERT_NE(client_, nullptr);
  }

  // A token request of demo-client for `grantType`; the user name, password and scope are set when not empty.
  TokenOutcome Token(const std::string& grantType, const std::string& secret = "demo-secret",
                     const std::string& user = "", const std::string& password = "", const std::string& scope = "") {
    auto request = NewTokenRequest(tokenUrl_, grantType, "demo-client", secret);
    if (!user.empty()) request->SetUserName(Wide(user).c_str());
    if (!password.empty()) request->SetPassword(Wide(password).c_str());
    if (!scope.empty()) request->SetScope(Wide(scope).c_str());
    return RequestToken(*client_, *request);
  }

  // Refreshes through the extension grant flow, which adds nothing of its own: the host brings the refresh
  // token as a parameter and the client authorization and content type as its own headers.
  TokenOutcome Refresh(const std::string& refreshToken) {
    auto request = NewTokenRequest(tokenUrl_, "refresh_token", "", "");
    request->AddParameter(Wide("refresh_token").c_str(), Wide(refreshToken).c_str());
    EXPECT_EQ(request->AddHeader(Wide("Authorization").c_str(), Wide(kDemoClientBasic).c_str()), 1);
    EXPECT_EQ(request->AddHeader(Wide("Content-Type").c_str(), Wide("application/x-www-form-urlencoded").c_str()), 1);
    return RequestToken(*client_, *request);
  }

  // GETs the protected resource with `accessToken` as the bearer.
  ResourceOutcome Fetch(const std::string& accessToken) {
    Owned<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(resourceUrl_).c_str());
    request->SetMethod(Wide("GET").c_str());
    request->SetAccessToken(Wide(accessToken).c_str());
    return RequestResource(*client_, *request);
  }

  const std::string base_ = ServerBaseUrl("oauth2");
  const std::string tokenUrl_ = base_ + "/oauth/token", resourceUrl_ = base_ + "/api/resource";
  Owned<IOAuthClient> client_{CreateOAuthClient()};
};

std::string RefreshTokenOf(const TokenOutcome& outcome) {
  return outcome.response ? TokenText(*outcome.response, &ITokenResponse::GetRefreshToken).value_or("") : "";
}

TEST_F(OAuth2ServerTest, PasswordGrantGivesTokenForTheUserWithTheScopeAskedFor) {
  const std::string accessToken =
      ExpectBearerToken(Token("password", "demo-secret", "alice", "wonderland", "read"), /*withRefreshToken=*/true);
  const ResourceOutcome resource = Fetch(accessToken);
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  const std::string body = BodyOf(*resource.response);
  EXPECT_EQ(JsonMember(body, "user"), "alice") << body;
  EXPECT_EQ(JsonMember(body, "scope"), "read") << body;
  EXPECT_EQ(JsonMember(body, "client_id"), "demo-client") << body;
}

// The server's error reply (RFC 6749 section 5.2) reaches the host through GetError and GetErrorDescription.
TEST_F(OAuth2ServerTest, ErrorRepliesAreReadThroughGetError) {
  const struct {
    const char* grantType;
    const char* secret;
    const char* password;  // "": no user name and password
    const char* scope;
    unsigned status;
    const char* error;
  } kCases[] = {
      {"client_credentials", "not-the-secret", "", "", 401, "invalid_client"},
      {"password", "demo-secret", "looking-glass", "", 400, "invalid_grant"},
      {"client_credentials", "demo-secret", "", "admin", 400, "invalid_scope"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.error);
    const TokenOutcome outcome = Token(c.grantType, c.secret, *c.password ? "alice" : "", c.password, c.scope);
    ASSERT_EQ(outcome.result, 1) << "an error reply is still an answer";
    ITokenResponse& response = *outcome.response;
    EXPECT_EQ(response.GetStatusCode(), c.status);
    EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), c.error);
    EXPECT_NE(TokenText(response, &ITokenResponse::GetErrorDescription).value_or(""), "");
    EXPECT_EQ(TokenText(response, &ITokenResponse::GetAccessToken), std::nullopt);
    EXPECT_EQ(response.GetExpiresIn(), 0);
    EXPECT_EQ(JsonMember(TokenText(response, &ITokenResponse::GetResponseText).value_or(""), "error"), c.error);
  }
}

TEST_F(OAuth2ServerTest, RefreshThroughExtensionGrantGivesNewTokensThatOpenTheResource) {
  const TokenOutcome first = Token("password", "demo-secret", "alice", "wonderland");
  const std::string firstAccessToken = ExpectBearerToken(first, /*withRefreshToken=*/true);
  const TokenOutcome refreshed = Refresh(RefreshTokenOf(first));
  const std::string accessToken = ExpectBearerToken(refreshed, /*withRefreshToken=*/true);
  EXPECT_NE(accessToken, firstAccessToken);
  EXPECT_NE(RefreshTokenOf(refreshed), RefreshTokenOf(first));

  const ResourceOutcome resource = Fetch(accessToken);
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  EXPECT_EQ(JsonMember(BodyOf(*resource.response), "user"), "alice");

  // The server rotates refresh tokens: the first one is spent.
  const TokenOutcome reused = Refresh(RefreshTokenOf(first));
  ASSERT_EQ(reused.result, 1);
  EXPECT_EQ(reused.response->GetStatusCode(), 400u);
  EXPECT_EQ(TokenText(*reused.response, &ITokenResponse::GetError), "invalid_grant");
}

// A client credentials token opens the resource; the host's own Authorization header takes the place of the
// bearer of the (here useless) access token.
TEST_F(OAuth2ServerTest, ClientCredentialsTokenOpensTheResourceForMethodQueryAndBody) {
  const TokenOutcome token = Token("client_credentials");
  const std::string accessToken = ExpectBearerToken(token, /*withRefreshToken=*/false);
  ASSERT_NE(token.response, nullptr);
  EXPECT_NE(HeaderOf(*token.response, "content-type").find("application/json"), std::string::npos);
  const WideChar* statusText = nullptr;
  ASSERT_EQ(token.response->GetStatusText(&statusText), 1);
  EXPECT_EQ(Narrow(statusText), "OK");

  Owned<IOAuthRequest> request(CreateOAuthRequest());
  request->SetUrl(Wide(resourceUrl_ + "?page=2").c_str());
  request->SetMethod(Wide("POST").c_str());
  request->SetAccessToken(Wide("not-a-token").c_str());
  request->AddHeader(Wide("authorization").c_str(), Wide("Bearer " + accessToken).c_str());
  request->AddHeader(Wide("Content-Type").c_str(), Wide("text/plain; charset=utf-8").c_str());
  const std::string sent = "caf\xc3\xa9 & more";
  request->SetBody(reinterpret_cast<const unsigned char*>(sent.data()), static_cast<std::uint32_t>(sent.size()));

  const ResourceOutcome resource = RequestResource(*client_, *request);
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  const std::string body = BodyOf(*resource.response);
  EXPECT_EQ(JsonMember(body, "method"), "POST") << body;
  EXPECT_EQ(JsonMember(body, "query"), "page=2") << body;
  EXPECT_EQ(JsonMember(body, "content_type"), "text/plain; charset=utf-8") << body;
  EXPECT_EQ(JsonMember(body, "body"), sent) << body;
  EXPECT_EQ(JsonMember(body, "user"), "demo-client") << body;
}

TEST_F(OAuth2ServerTest, WrongAccessTokenGets401WithTheResourceServersError) {
  const ResourceOutcome resource = Fetch("not-a-token");
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 401u);
  EXPECT_EQ(JsonMember(BodyOf(*resource.response), "error"), "invalid_token");
  EXPECT_NE(HeaderOf(*resource.response, "www-authenticate").find("Bearer"), std::string::npos);
}

// With the method "GET" the form travels in the URL's query, from the default body or from the parameter text
// when there is a parameter. The token endpoint wants POST and answers with an error reply that echoes what
// reached it.
TEST_F(OAuth2ServerTest, GetTokenRequestCarriesTheFormInTheQueryWithBasicAuthorization) {
  for (const bool withParameter : {false, true}) {
    SCOPED_TRACE(withParameter ? "parameter text" : "default body");
    auto request = NewTokenRequest(tokenUrl_, "client_credentials", "demo-client", "demo-secret");
    request->SetMethod(Wide("GET").c_str());
    request->SetScope(Wide("read").c_str());
    if (withParameter) request->AddParameter(Wide("audience").c_str(), Wide("x y").c_str());

    const TokenOutcome outcome = RequestToken(*client_, *request);
    ASSERT_EQ(outcome.result, 1);
    EXPECT_EQ(outcome.response->GetStatusCode(), 400u);
    EXPECT_EQ(TokenText(*outcome.response, &ITokenResponse::GetError), "invalid_request");
    const std::string raw = TokenText(*outcome.response, &ITokenResponse::GetResponseText).value_or("");
    EXPECT_EQ(JsonMember(raw, "received_method"), "GET") << raw;
    EXPECT_EQ(JsonMember(raw, "received_body_bytes"), "0") << raw;
    EXPECT_EQ(JsonMember(raw, "received_authorization"), kDemoClientBasic) << raw;
    EXPECT_EQ(JsonMember(raw, "query.grant_type"), "client_credentials") << raw;
    EXPECT_EQ(JsonMember(raw, "query.scope"), "read") << raw;
    // The encoding of the blank (%20 or +) is the form encoder's choice; the decoded value counts.
    EXPECT_EQ(JsonMember(raw, "query.audience"), withParameter ? std::optional<std::string>("x y") : std::nullopt);
    EXPECT_EQ(JsonMember(raw, "received_query") == "grant_type=client_credentials&scope=read", !withParameter) << raw;
  }
}

}  // namespace
}  // namespace OAuthClient::E2e
