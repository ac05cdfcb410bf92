// End to end against the oauth2 test server (tests/servers/oauth2): the library, the real HTTP component on
// libcurl and a real authorization server with its protected resource, all through the library's exports.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "oauthclient/http_client_codes.h"
#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {
namespace {

// Base64 of "demo-client:demo-secret", the Basic client authorization of RFC 6749 section 2.3.1.
constexpr char kDemoClientBasic[] = "Basic ZGVtby1jbGllbnQ6ZGVtby1zZWNyZXQ=";

class OAuth2ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = ServerBaseUrl("oauth2");
    ASSERT_FALSE(base_.empty());
    client_.reset(CreateOAuthClient());
    ASSERT_NE(client_, nullptr);
  }

  std::string TokenUrl() const { return base_ + "/oauth/token"; }
  std::string ResourceUrl() const { return base_ + "/api/resource"; }

  Owned<ITokenRequest> PasswordRequest(const std::string& user, const std::string& password) const {
    auto request = NewTokenRequest(TokenUrl(), "password", "demo-client", "demo-secret");
    request->SetUserName(Wide(user).c_str());
    request->SetPassword(Wide(password).c_str());
    return request;
  }

  // Refreshes through the extension grant flow, which adds nothing of its own: the host brings the refresh
  // token as a parameter and the client authorization and content type as its own headers.
  TokenOutcome Refresh(const std::string& refreshToken) {
    auto request = NewTokenRequest(TokenUrl(), "refresh_token", "", "");
    request->AddParameter(Wide("refresh_token").c_str(), Wide(refreshToken).c_str());
    EXPECT_EQ(request->AddHeader(Wide("Authorization").c_str(), Wide(kDemoClientBasic).c_str()), 1);
    EXPECT_EQ(request->AddHeader(Wide("Content-Type").c_str(), Wide("application/x-www-form-urlencoded").c_str()), 1);
    return RequestToken(*client_, *request);
  }

  ResourceOutcome Fetch(const std::string& method, const std::string& accessToken) {
    Owned<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(ResourceUrl()).c_str());
    request->SetMethod(Wide(method).c_str());
    request->SetAccessToken(Wide(accessToken).c_str());
    return RequestResource(*client_, *request);
  }

  std::string base_;
  Owned<IOAuthClient> client_;
};

// A token reply as RFC 6749 section 5.1 has it; the refresh token only where the grant issues one.
void ExpectBearerToken(const TokenOutcome& outcome, bool withRefreshToken) {
  ASSERT_EQ(outcome.result, 1);
  ASSERT_NE(outcome.response, nullptr);
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 200u);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetTokenType), "Bearer");
  // The server counts the lifetime down from the moment it issued the token, so a second may have passed.
  EXPECT_GE(response.GetExpiresIn(), 3590);
  EXPECT_LE(response.GetExpiresIn(), 3600);
  const auto accessToken = TokenText(response, &ITokenResponse::GetAccessToken);
  ASSERT_TRUE(accessToken.has_value());
  EXPECT_FALSE(accessToken->empty());
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetRefreshToken).has_value(), withRefreshToken);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), std::nullopt);
}

std::string AccessTokenOf(const TokenOutcome& outcome) {
  return outcome.response ? TokenText(*outcome.response, &ITokenResponse::GetAccessToken).value_or("") : "";
}

std::string RefreshTokenOf(const TokenOutcome& outcome) {
  return outcome.response ? TokenText(*outcome.response, &ITokenResponse::GetRefreshToken).value_or("") : "";
}

TEST_F(OAuth2ServerTest, ClientCredentialsGrantGivesBearerTokenWithoutRefreshToken) {
  auto request = NewTokenRequest(TokenUrl(), "client_credentials", "demo-client", "demo-secret");
  const TokenOutcome outcome = RequestToken(*client_, *request);
  ExpectBearerToken(outcome, /*withRefreshToken=*/false);

  const WideChar* contentType = nullptr;
  ASSERT_EQ(outcome.response->GetHeader(Wide("content-type").c_str(), &contentType), 1);
  EXPECT_NE(Narrow(contentType).find("application/json"), std::string::npos);
  const WideChar* statusText = nullptr;
  ASSERT_EQ(outcome.response->GetStatusText(&statusText), 1);
  EXPECT_EQ(Narrow(statusText), "OK");
}

TEST_F(OAuth2ServerTest, PasswordGrantGivesTokenForTheUserWithTheScopeAskedFor) {
  auto request = PasswordRequest("alice", "wonderland");
  request->SetScope(Wide("read").c_str());
  const TokenOutcome token = RequestToken(*client_, *request);
  ExpectBearerToken(token, /*withRefreshToken=*/true);

  const ResourceOutcome resource = Fetch("GET", AccessTokenOf(token));
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  const std::string body = BodyOf(*resource.response);
  EXPECT_EQ(JsonMember(body, "user"), "alice") << body;
  EXPECT_EQ(JsonMember(body, "scope"), "read") << body;
  EXPECT_EQ(JsonMember(body, "client_id"), "demo-client") << body;
}

struct RejectedTokenCase {
  const char* name;
  const char* grantType;
  const char* clientSecret;
  const char* userName;  // null: none set
  const char* password;
  const char* scope;  // null: none set
  unsigned status;
  const char* error;
};

class OAuth2RejectedTokenTest : public OAuth2ServerTest, public ::testing::WithParamInterface<RejectedTokenCase> {};

// The server's error reply (RFC 6749 section 5.2) reaches the host through GetError and GetErrorDescription.
TEST_P(OAuth2RejectedTokenTest, ErrorReplyIsReadThroughGetError) {
  const RejectedTokenCase& c = GetParam();
  auto request = NewTokenRequest(TokenUrl(), c.grantType, "demo-client", c.clientSecret);
  if (c.userName != nullptr) request->SetUserName(Wide(c.userName).c_str());
  if (c.password != nullptr) request->SetPassword(Wide(c.password).c_str());
  if (c.scope != nullptr) request->SetScope(Wide(c.scope).c_str());

  const TokenOutcome outcome = RequestToken(*client_, *request);
  ASSERT_EQ(outcome.result, 1) << "an error reply is still an answer";
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), c.status);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), c.error);
  const auto description = TokenText(response, &ITokenResponse::GetErrorDescription);
  ASSERT_TRUE(description.has_value());
  EXPECT_FALSE(description->empty());
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetAccessToken), std::nullopt);
  EXPECT_EQ(response.GetExpiresIn(), 0);
  const auto raw = TokenText(response, &ITokenResponse::GetResponseText);
  ASSERT_TRUE(raw.has_value());
  EXPECT_EQ(JsonMember(*raw, "error"), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OAuth2RejectedTokenTest,
    ::testing::Values(
        RejectedTokenCase{"ClientCredentialsWrongSecret", "client_credentials", "not-the-secret", nullptr, nullptr,
                          nullptr, 401, "invalid_client"},
        RejectedTokenCase{"PasswordWrongSecret", "password", "not-the-secret", "alice", "wonderland", nullptr, 401,
                          "invalid_client"},
        RejectedTokenCase{"PasswordWrongPassword", "password", "demo-secret", "alice", "looking-glass", nullptr, 400,
                          "invalid_grant"},
        RejectedTokenCase{"PasswordUnknownUser", "password", "demo-secret", "bob", "wonderland", nullptr, 400,
                          "invalid_grant"},
        RejectedTokenCase{"ClientCredentialsUnknownScope", "client_credentials", "demo-secret", nullptr, nullptr,
                          "admin", 400, "invalid_scope"}),
    [](const ::testing::TestParamInfo<RejectedTokenCase>& info) { return std::string(info.param.name); });

TEST_F(OAuth2ServerTest, RefreshThroughExtensionGrantGivesNewTokensThatOpenTheResource) {
  auto request = PasswordRequest("alice", "wonderland");
  const TokenOutcome first = RequestToken(*client_, *request);
  ExpectBearerToken(first, /*withRefreshToken=*/true);
  const std::string firstRefreshToken = RefreshTokenOf(first);

  const TokenOutcome refreshed = Refresh(firstRefreshToken);
  ExpectBearerToken(refreshed, /*withRefreshToken=*/true);
  EXPECT_NE(AccessTokenOf(refreshed), AccessTokenOf(first));
  EXPECT_NE(RefreshTokenOf(refreshed), firstRefreshToken);

  const ResourceOutcome resource = Fetch("GET", AccessTokenOf(refreshed));
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  EXPECT_EQ(JsonMember(BodyOf(*resource.response), "user"), "alice");

  // The server rotates refresh tokens: the first one is spent.
  const TokenOutcome reused = Refresh(firstRefreshToken);
  ASSERT_EQ(reused.result, 1);
  EXPECT_EQ(reused.response->GetStatusCode(), 400u);
  EXPECT_EQ(TokenText(*reused.response, &ITokenResponse::GetError), "invalid_grant");
}

TEST_F(OAuth2ServerTest, ResourceGetsMethodAndBodyWithTheBearerToken) {
  auto tokenRequest = NewTokenRequest(TokenUrl(), "client_credentials", "demo-client", "demo-secret");
  const TokenOutcome token = RequestToken(*client_, *tokenRequest);
  ASSERT_EQ(token.result, 1);

  Owned<IOAuthRequest> request(CreateOAuthRequest());
  request->SetUrl(Wide(ResourceUrl() + "?page=2").c_str());
  request->SetMethod(Wide("POST").c_str());
  request->SetAccessToken(Wide(AccessTokenOf(token)).c_str());
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

TEST_F(OAuth2ServerTest, HostsOwnAuthorizationHeaderReplacesTheBearerOfTheAccessToken) {
  auto tokenRequest = NewTokenRequest(TokenUrl(), "client_credentials", "demo-client", "demo-secret");
  const TokenOutcome token = RequestToken(*client_, *tokenRequest);
  ASSERT_EQ(token.result, 1);

  Owned<IOAuthRequest> request(CreateOAuthRequest());
  request->SetUrl(Wide(ResourceUrl()).c_str());
  request->SetMethod(Wide("GET").c_str());
  request->SetAccessToken(Wide("not-a-token").c_str());
  request->AddHeader(Wide("authorization").c_str(), Wide("Bearer " + AccessTokenOf(token)).c_str());
  const ResourceOutcome resource = RequestResource(*client_, *request);
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
}

TEST_F(OAuth2ServerTest, WrongAccessTokenGets401WithTheResourceServersError) {
  const ResourceOutcome resource = Fetch("GET", "not-a-token");
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 401u);
  const std::string body = BodyOf(*resource.response);
  EXPECT_EQ(JsonMember(body, "error"), "invalid_token") << body;
  const WideChar* challenge = nullptr;
  ASSERT_EQ(resource.response->GetHeader(Wide("www-authenticate").c_str(), &challenge), 1);
  EXPECT_NE(Narrow(challenge).find("Bearer"), std::string::npos) << Narrow(challenge);
}

struct GetTokenCase {
  const char* name;
  bool withParameter;  // adds audience="x y", so the form comes from the parameter text, URL-encoded
  const char* expectedQuery;
};

class OAuth2GetTokenTest : public OAuth2ServerTest, public ::testing::WithParamInterface<GetTokenCase> {};

// With the method "GET" the form travels in the URL's query. The server's token endpoint wants POST and
// answers with an error reply that echoes what reached it.
TEST_P(OAuth2GetTokenTest, FormArrivesInTheQueryWithBasicAuthorization) {
  const GetTokenCase& c = GetParam();
  auto request = NewTokenRequest(TokenUrl(), "client_credentials", "demo-client", "demo-secret");
  request->SetMethod(Wide("GET").c_str());
  request->SetScope(Wide("read").c_str());
  if (c.withParameter) request->AddParameter(Wide("audience").c_str(), Wide("x y").c_str());

  const TokenOutcome outcome = RequestToken(*client_, *request);
  ASSERT_EQ(outcome.result, 1);
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 400u);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), "invalid_request");
  const std::string raw = TokenText(response, &ITokenResponse::GetResponseText).value_or("");
  EXPECT_EQ(JsonMember(raw, "received_method"), "GET") << raw;
  EXPECT_EQ(JsonMember(raw, "received_body_bytes"), "0") << raw;
  EXPECT_EQ(JsonMember(raw, "received_authorization"), kDemoClientBasic) << raw;
  EXPECT_EQ(JsonMember(raw, "query.grant_type"), "client_credentials") << raw;
  EXPECT_EQ(JsonMember(raw, "query.scope"), "read") << raw;
  if (c.withParameter) {
    EXPECT_EQ(JsonMember(raw, "query.audience"), "x y") << raw;
  }
  if (c.expectedQuery != nullptr) {
    EXPECT_EQ(JsonMember(raw, "received_query"), c.expectedQuery) << raw;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OAuth2GetTokenTest,
    ::testing::Values(GetTokenCase{"DefaultBody", false, "grant_type=client_credentials&scope=read"},
                      // The encoding of the blank (%20 or +) is the form encoder's choice; the decoded value counts.
                      GetTokenCase{"ParameterText", true, nullptr}),
    [](const ::testing::TestParamInfo<GetTokenCase>& info) { return std::string(info.param.name); });

TEST_F(OAuth2ServerTest, OneClientServesTokenAndResourceRequestsInTurn) {
  for (int round = 0; round < 3; ++round) {
    auto password = PasswordRequest("alice", "wonderland");
    const TokenOutcome userToken = RequestToken(*client_, *password);
    ExpectBearerToken(userToken, /*withRefreshToken=*/true);
    auto service = NewTokenRequest(TokenUrl(), "client_credentials", "demo-client", "demo-secret");
    const TokenOutcome serviceToken = RequestToken(*client_, *service);
    ExpectBearerToken(serviceToken, /*withRefreshToken=*/false);

    // Both tokens stay valid after the client moved on to the next grant.
    EXPECT_EQ(JsonMember(BodyOf(*Fetch("GET", AccessTokenOf(userToken)).response), "user"), "alice");
    EXPECT_EQ(JsonMember(BodyOf(*Fetch("GET", AccessTokenOf(serviceToken)).response), "user"),
              "demo-client");
  }
}

// A transport failure is the HTTP component's own code, passed on unchanged; the out-pointer keeps its content.
TEST(TransportFailureTest, ClosedPortGivesConnectFailedAndLeavesResponsesUntouched) {
  const int port = ClosedLoopbackPort();
  ASSERT_GT(port, 0);
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  Owned<IOAuthClient> client(CreateOAuthClient());

  auto tokenRequest = NewTokenRequest(base + "/oauth/token", "client_credentials", "demo-client", "demo-secret");
  auto* const tokenSentinel = reinterpret_cast<ITokenResponse*>(static_cast<std::uintptr_t>(0x1));
  ITokenResponse* tokenResponse = tokenSentinel;
  EXPECT_EQ(client->RequestToken(tokenRequest.get(), &tokenResponse), kHttpConnectFailed);
  EXPECT_EQ(tokenResponse, tokenSentinel);

  Owned<IOAuthRequest> resourceRequest(CreateOAuthRequest());
  resourceRequest->SetUrl(Wide(base + "/api/resource").c_str());
  resourceRequest->SetMethod(Wide("GET").c_str());
  resourceRequest->SetAccessToken(Wide("token").c_str());
  auto* const resourceSentinel = reinterpret_cast<IResourceResponse*>(static_cast<std::uintptr_t>(0x1));
  IResourceResponse* resourceResponse = resourceSentinel;
  EXPECT_EQ(client->RequestResource(resourceRequest.get(), &resourceResponse), kHttpConnectFailed);
  EXPECT_EQ(resourceResponse, resourceSentinel);
}

}  // namespace
}  // namespace OAuthClient::E2e
