// End to end: the library through its exports, the real HTTP component on libcurl beside it, and two real
// authorization servers on loopback: the oauth2 test server with its protected resource (tests/servers/oauth2) and
// an OpenID Provider that checks the tokens it issued through its own introspection (tests/servers/oidc, RFC 7662).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {
namespace {

// ASCII to the library's UTF-16 (the tests pass no other text across the boundary).
std::basic_string<WideChar> Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// Returns "http://127.0.0.1:PORT" of the test server `name` (its port is in $OAUTHCLIENT_TEST_RUN_DIR/<name>.port);
// fails the test and returns "" when the port cannot be read.
std::string ServerBaseUrl(const std::string& name) {
  const char* runDir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  std::ifstream in(std::string(runDir != nullptr ? runDir : ".") + "/" + name + ".port");
  int port = 0;
  if (in >> port && port > 0) return "http://127.0.0.1:" + std::to_string(port);
  ADD_FAILURE() << "cannot read the port of the " << name << " server; run the tests through ctest";
  return "";
}

// Returns the member `name` of a JSON object: a string's value, or the JSON text of any other value (`true`, `0`);
// nullopt when the text is not an object or has no such member.
std::optional<std::string> JsonMember(const std::string& json, const std::string& name) {
  const nlohmann::json object = nlohmann::json::parse(json, nullptr, /*allow_exceptions=*/false);
  if (!object.is_object() || !object.contains(name)) return std::nullopt;
  const nlohmann::json& member = object.at(name);
  return member.is_string() ? member.get<std::string>() : member.dump();
}

// Reads an ASCII text through a token response's getter (`&ITokenResponse::GetError`): nullopt when it gives -1.
std::optional<std::string> TextOf(ITokenResponse& response, std::int32_t (ITokenResponse::*getter)(const WideChar**)) {
  const WideChar* text = nullptr;
  if ((response.*getter)(&text) != 1 || text == nullptr) return std::nullopt;
  return std::string(text, text + std::char_traits<WideChar>::length(text));
}
std::string BodyOf(IResourceResponse& response) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (response.GetBody(&data, &length) != 1 || data == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

// What RequestToken or RequestResource (`send`) gave: the result code and, on 1, the response.
template <typename Response>
struct Outcome {
  std::int32_t result = 0;
  ReleasePtr<Response> response;
};
template <typename Request, typename Response>
Outcome<Response> Send(IOAuthClient& client, std::int32_t (IOAuthClient::*send)(Request*, Response**),
                       Request& request) {
  Response* response = nullptr;
  const std::int32_t result = (client.*send)(&request, &response);
  return {result, ReleasePtr<Response>(response)};
}

// Expects a bearer token reply (RFC 6749 section 5.1) living one hour (a second may have passed since the server
// issued it), with a refresh token only when `withRefreshToken`. Returns the access token.
std::string ExpectBearerToken(const Outcome<ITokenResponse>& outcome, bool withRefreshToken) {
  EXPECT_EQ(outcome.result, 1);
  if (outcome.response == nullptr) return "";
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 200u);
  EXPECT_EQ(TextOf(response, &ITokenResponse::GetTokenType), "Bearer");
  EXPECT_NEAR(response.GetExpiresIn(), 3595, 5);
  EXPECT_EQ(TextOf(response, &ITokenResponse::GetRefreshToken).has_value(), withRefreshToken);
  return TextOf(response, &ITokenResponse::GetAccessToken).value_or("");
}

// Returns a POST token request for `url` with the grant type, client id and secret given ("" leaves one unset).
ReleasePtr<ITokenRequest> NewTokenRequest(const std::string& url, const std::string& grantType,
                                          const std::string& clientId, const std::string& clientSecret) {
  ReleasePtr<ITokenRequest> request(CreateTokenRequest());
  request->SetUrl(Wide(url).c_str());
  request->SetMethod(Wide("POST").c_str());
  if (!grantType.empty()) request->SetGrantType(Wide(grantType).c_str());
  if (!clientId.empty()) request->SetClientId(Wide(clientId).c_str());
  if (!clientSecret.empty()) request->SetClientSecret(Wide(clientSecret).c_str());
  return request;
}

class OAuth2Server {
 protected:
  // GETs the protected resource with `accessToken` as the bearer.
  Outcome<IResourceResponse> Fetch(const std::string& accessToken) {
    ReleasePtr<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(resourceUrl_).c_str());
    request->SetMethod(Wide("GET").c_str());
    request->SetAccessToken(Wide(accessToken).c_str());
    return Send(*client_, &IOAuthClient::RequestResource, *request);
  }
  // A token request of demo-client (with `secret`) for alice with `password`.
  ReleasePtr<ITokenRequest> PasswordRequest(const std::string& password, const std::string& secret = "demo-secret") {
    auto request = NewTokenRequest(tokenUrl_, "password", "demo-client", secret);
    request->SetUserName(Wide("alice").c_str());
    request->SetPassword(Wide(password).c_str());
    return request;
  }

  const std::string base_ = ServerBaseUrl("oauth2");
  const std::string tokenUrl_ = base_ + "/oauth/token", resourceUrl_ = base_ + "/api/resource";
  ReleasePtr<IOAuthClient> client_{CreateOAuthClient()};
};
class OAuth2ServerTest : public OAuth2Server, public ::testing::Test {};

// One token request of demo-client and what the server answers: a token that opens the resource as `user`, or
// an error reply (RFC 6749 section 5.2) read through GetError. A row prints as its name, not as raw bytes.
struct TokenCase {
  const char* name;
  const char* secret;
  const char* password;  // "": the client_credentials grant, else the password grant for alice
  const char* scope;
  unsigned status;
  const char* error;  // "": a token for `user`
  const char* user;
};
void PrintTo(const TokenCase& c, std::ostream* out) { *out << c.name; }
class OAuth2TokenTest : public OAuth2Server, public ::testing::TestWithParam<TokenCase> {};

TEST_P(OAuth2TokenTest, AnswersTheTokenRequest) {
  const TokenCase& c = GetParam();
  auto request = *c.password ? PasswordRequest(c.password, c.secret)
                             : NewTokenRequest(tokenUrl_, "client_credentials", "demo-client", c.secret);
  if (*c.scope) request->SetScope(Wide(c.scope).c_str());
  const Outcome<ITokenResponse> token = Send(*client_, &IOAuthClient::RequestToken, *request);
  ASSERT_EQ(token.result, 1) << "an error reply is still an answer";
  EXPECT_EQ(token.response->GetStatusCode(), c.status);
  EXPECT_EQ(TextOf(*token.response, &ITokenResponse::GetError).value_or(""), c.error);
  if (*c.error) {
    EXPECT_NE(TextOf(*token.response, &ITokenResponse::GetErrorDescription).value_or(""), "");
    EXPECT_EQ(TextOf(*token.response, &ITokenResponse::GetAccessToken), std::nullopt);
    return;
  }
  const Outcome<IResourceResponse> resource = Fetch(ExpectBearerToken(token, /*withRefreshToken=*/*c.password));
  ASSERT_EQ(resource.result, 1);
  EXPECT_EQ(resource.response->GetStatusCode(), 200u);
  const std::string body = BodyOf(*resource.response);
  EXPECT_EQ(JsonMember(body, "user"), c.user) << body;
  EXPECT_EQ(JsonMember(body, "scope").value_or(""), c.scope) << body;
  EXPECT_EQ(JsonMember(body, "client_id"), "demo-client") << body;
}

INSTANTIATE_TEST_SUITE_P(
    Grants, OAuth2TokenTest,
    ::testing::Values(TokenCase{"PasswordWithScope", "demo-secret", "wonderland", "read", 200, "", "alice"},
                      TokenCase{"ClientCredentialsTwoScopes", "demo-secret", "", "read write", 200, "", "demo-client"},
                      TokenCase{"WrongSecret", "not-the-secret", "", "", 401, "invalid_client", ""},
                      TokenCase{"WrongPassword", "demo-secret", "looking-glass", "", 400, "invalid_grant", ""},
                      TokenCase{"UnknownScope", "demo-secret", "", "admin", 400, "invalid_scope", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The scope asked for; the default body appends it unencoded, and the blank still separates two scopes.
class OidcServerTest : public ::testing::TestWithParam<const char*> {
 protected:
  // Asks the provider what it knows of a token; the introspection endpoint takes a plain form POST, sent here as a
  // resource request that carries its own client authorization (Base64 of "oidc-client:oidc-secret").
  std::string Introspect(const std::string& accessToken) {
    ReleasePtr<IOAuthRequest> request(CreateOAuthRequest());
    request->SetUrl(Wide(base_ + "/token/introspection").c_str());
    request->SetMethod(Wide("POST").c_str());
    request->AddHeader(Wide("Authorization").c_str(), Wide("Basic b2lkYy1jbGllbnQ6b2lkYy1zZWNyZXQ=").c_str());
    request->AddHeader(Wide("Content-Type").c_str(), Wide("application/x-www-form-urlencoded").c_str());
    const std::string form = "token=" + accessToken;
    request->SetBody(reinterpret_cast<const unsigned char*>(form.data()), static_cast<std::uint32_t>(form.size()));
    const Outcome<IResourceResponse> outcome = Send(*client_, &IOAuthClient::RequestResource, *request);
    EXPECT_EQ(outcome.result, 1);
    return outcome.response != nullptr ? BodyOf(*outcome.response) : "";
  }

  const std::string base_ = ServerBaseUrl("oidc");
  ReleasePtr<IOAuthClient> client_{CreateOAuthClient()};
};

TEST_P(OidcServerTest, ClientCredentialsGiveAnActiveTokenForTheResource) {
  const std::string scope = GetParam();
  auto request = NewTokenRequest(base_ + "/token", "client_credentials", "oidc-client", "oidc-secret");
  if (!scope.empty()) request->SetScope(Wide(scope).c_str());
  const std::string accessToken =
      ExpectBearerToken(Send(*client_, &IOAuthClient::RequestToken, *request), /*withRefreshToken=*/false);

  const std::string introspection = Introspect(accessToken);
  EXPECT_EQ(JsonMember(introspection, "active"), "true") << introspection;
  EXPECT_EQ(JsonMember(introspection, "client_id"), "oidc-client") << introspection;
  EXPECT_EQ(JsonMember(introspection, "aud"), "urn:oauthclient:test-api") << introspection;
  EXPECT_EQ(JsonMember(introspection, "scope").value_or(""), scope) << introspection;
  EXPECT_EQ(JsonMember(Introspect("not-" + accessToken), "active"), "false");
}

INSTANTIATE_TEST_SUITE_P(Scopes, OidcServerTest, ::testing::Values("", "api:read api:write"),
                         [](const auto& info) { return *info.param ? "TwoScopes" : "NoScope"; });

}  // namespace
}  // namespace OAuthClient::E2e
