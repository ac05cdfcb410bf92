// Helpers of the end-to-end tests: texts across the boundary, owners for the library's objects, where the test
// servers listen, and the members of their flat JSON replies. Uses the public headers only.
#ifndef OAUTHCLIENT_TESTS_E2E_E2E_SUPPORT_H
#define OAUTHCLIENT_TESTS_E2E_E2E_SUPPORT_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "oauthclient/oauthclient.h"

namespace OAuthClient::E2e {

using WideString = std::basic_string<WideChar>;

// ASCII to the library's UTF-16 and back (the tests pass no other text across the boundary); null gives "".
WideString Wide(std::string_view ascii);
std::string Narrow(const WideChar* text);

// Ends a library object through its own Release.
struct ReleaseObject {
  template <typename T>
  void operator()(T* object) const { object->Release(); }
};
template <typename T>
using Owned = std::unique_ptr<T, ReleaseObject>;

// Returns "http://127.0.0.1:PORT" for the test server `name`, from $OAUTHCLIENT_TEST_RUN_DIR/<name>.port.
// Fails the calling test (and returns "") when the port file cannot be read.
std::string ServerBaseUrl(const std::string& name);

// Returns the value of the member `name` of a flat JSON object: a string with its escapes (but \u) decoded, or
// the text of a bare value (number, true, false, null). nullopt when the member is absent.
std::optional<std::string> JsonMember(std::string_view json, std::string_view name);

// What a token or resource request gave: the result code and, on 1, the response.
template <typename Response>
struct Outcome {
  std::int32_t result = 0;
  Owned<Response> response;
};
using TokenOutcome = Outcome<ITokenResponse>;
using ResourceOutcome = Outcome<IResourceResponse>;

// Runs RequestToken / RequestResource and takes ownership of the response.
TokenOutcome RequestToken(IOAuthClient& client, ITokenRequest& request);
ResourceOutcome RequestResource(IOAuthClient& client, IOAuthRequest& request);

// Reads one text member of a token response through its getter (e.g. &ITokenResponse::GetAccessToken):
// nullopt when the getter gives -1, else the text.
using TokenTextGetter = std::int32_t (ITokenResponse::*)(const WideChar**);
std::optional<std::string> TokenText(ITokenResponse& response, TokenTextGetter getter);

// Expects a bearer token reply as RFC 6749 section 5.1 has it, with a lifetime of one hour (a second may have
// passed since the server issued it) and a refresh token only when `withRefreshToken`. Returns the access token.
std::string ExpectBearerToken(const TokenOutcome& outcome, bool withRefreshToken);

// Returns a response header's value ("<absent>" when missing) and a resource response's body as bytes.
template <typename Response>
std::string HeaderOf(Response& response, const std::string& name) {
  const WideChar* value = nullptr;
  return response.GetHeader(Wide(name).c_str(), &value) == 1 ? Narrow(value) : "<absent>";
}
std::string BodyOf(IResourceResponse& response);

// Returns a token request for `url` with the method "POST" and the grant type, client id and secret given (empty
// texts are left unset).
Owned<ITokenRequest> NewTokenRequest(const std::string& url, const std::string& grantType,
                                     const std::string& clientId, const std::string& clientSecret);

}  // namespace OAuthClient::E2e

#endif  // OAUTHCLIENT_TESTS_E2E_E2E_SUPPORT_H
