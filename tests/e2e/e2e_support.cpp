// Helpers of the end-to-end tests.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace OAuthClient::E2e {

WideString Wide(std::string_view ascii) { return WideString(ascii.begin(), ascii.end()); }

std::string Narrow(const WideChar* text) {
  std::string out;
  for (const WideChar* p = text; p != nullptr && *p != 0; ++p) out += static_cast<char>(*p);
  return out;
}

std::string ServerBaseUrl(const std::string& name) {
  const char* runDir = std::getenv("OAUTHCLIENT_TEST_RUN_DIR");
  std::ifstream in(std::string(runDir != nullptr ? runDir : ".") + "/" + name + ".port");
  int port = 0;
  if (!(in >> port) || port <= 0) {
    ADD_FAILURE() << "cannot read the port of the " << name << " server; run the tests through ctest";
    return "";
  }
  return "http://127.0.0.1:" + std::to_string(port);
}

std::optional<std::string> JsonMember(std::string_view json, std::string_view name) {
  const std::string key = "\"" + std::string(name) + "\":";
  const size_t at = json.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  size_t i = json.find_first_not_of(' ', at + key.size());
  if (i == std::string_view::npos) return std::nullopt;
  if (json[i] != '"') return std::string(json.substr(i, json.find_first_of(",}", i) - i));
  std::string out;
  for (++i; i < json.size() && json[i] != '"'; ++i) {
    if (json[i] == '\\' && ++i < json.size()) {
      const char e = json[i];
      out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == 'b' ? '\b' : e == 'f' ? '\f' : e;
    } else {
      out += json[i];
    }
  }
  if (i >= json.size()) return std::nullopt;  // the string does not end
  return out;
}

TokenOutcome RequestToken(IOAuthClient& client, ITokenRequest& request) {
  ITokenResponse* response = nullptr;
  const std::int32_t result = client.RequestToken(&request, &response);
  return {result, Owned<ITokenResponse>(response)};
}

ResourceOutcome RequestResource(IOAuthClient& client, IOAuthRequest& request) {
  IResourceResponse* response = nullptr;
  const std::int32_t result = client.RequestResource(&request, &response);
  return {result, Owned<IResourceResponse>(response)};
}

std::optional<std::string> TokenText(ITokenResponse& response, TokenTextGetter getter) {
  const WideChar* text = nullptr;
  if ((response.*getter)(&text) != 1) return std::nullopt;
  return Narrow(text);
}

std::string ExpectBearerToken(const TokenOutcome& outcome, bool withRefreshToken) {
  EXPECT_EQ(outcome.result, 1);
  if (outcome.response == nullptr) return "";
  ITokenResponse& response = *outcome.response;
  EXPECT_EQ(response.GetStatusCode(), 200u);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetTokenType), "Bearer");
  EXPECT_GE(response.GetExpiresIn(), 3590);
  EXPECT_LE(response.GetExpiresIn(), 3600);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetRefreshToken).has_value(), withRefreshToken);
  EXPECT_EQ(TokenText(response, &ITokenResponse::GetError), std::nullopt);
  const std::string accessToken = TokenText(response, &ITokenResponse::GetAccessToken).value_or("");
  EXPECT_FALSE(accessToken.empty());
  return accessToken;
}

std::string BodyOf(IResourceResponse& response) {
  const unsigned char* data = nullptr;
  std::uint32_t length = 0;
  if (response.GetBody(&data, &length) != 1 || data == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(data), length);
}

Owned<ITokenRequest> NewTokenRequest(const std::string& url, const std::string& grantType,
                                     const std::string& clientId, const std::string& clientSecret) {
  Owned<ITokenRequest> request(CreateTokenRequest());
  request->SetUrl(Wide(url).c_str());
  request->SetMethod(Wide("POST").c_str());
  if (!grantType.empty()) request->SetGrantType(Wide(grantType).c_str());
  if (!clientId.empty()) request->SetClientId(Wide(clientId).c_str());
  if (!clientSecret.empty()) request->SetClientSecret(Wide(clientSecret).c_str());
  return request;
}

}  // namespace OAuthClient::E2e
