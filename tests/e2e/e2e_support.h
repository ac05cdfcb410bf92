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

// Returns the UTF-16 form of a UTF-8 text.
WideString Wide(std::string_view utf8);
// Returns the UTF-8 form of a zero-terminated UTF-16 text; null gives "".
std::string Narrow(const WideChar* text);

// Ends a library object through its own Release.
struct ReleaseObject {
  template <typename T>
  void operator()(T* object) const {
    if (object != nullptr) object->Release();
  }
};
template <typename T>
using Owned = std::unique_ptr<T, ReleaseObject>;

// Returns "http://127.0.0.1:PORT" for the test server `name`, from $OAUTHCLIENT_TEST_RUN_DIR/<name>.port.
// Fails the calling test (and returns "") when the port file cannot be read.
std::string ServerBaseUrl(const std::string& name);

// Returns a loopback port on which nothing listens right now: the system picks a free one, which is closed again.
int ClosedLoopbackPort();

// Returns the value of the member `name` of a flat JSON object, as UTF-8: a string with its escapes decoded, or
// the text of a bare value (number, true, false, null). nullopt when the member is absent.
std::optional<std::string> JsonMember(std::string_view json, std::string_view name);

// What a token request gave: the result code and, on 1, the response.
struct TokenOutcome {
  std::int32_t result = 0;
  Owned<ITokenResponse> response;
};
// What a resource request gave: the result code and, on 1, the response.
struct ResourceOutcome {
  std::int32_t result = 0;
  Owned<IResourceResponse> response;
};

// Runs RequestToken / RequestResource and takes ownership of the response.
TokenOutcome RequestToken(IOAuthClient& client, ITokenRequest& request);
ResourceOutcome RequestResource(IOAuthClient& client, IOAuthRequest& request);

// Reads one text member of a token response through its getter (e.g. &ITokenResponse::GetAccessToken):
// nullopt when the getter gives -1, else the text.
using TokenTextGetter = std::int32_t (ITokenResponse::*)(const WideChar**);
std::optional<std::string> TokenText(ITokenResponse& response, TokenTextGetter getter);

// Returns the body of a resource response as UTF-8 bytes ("" when it has none).
std::string BodyOf(IResourceResponse& response);

// Returns a token request for `url` with the method "POST" and the grant type, client id and secret given (empty
// texts are left unset).
Owned<ITokenRequest> NewTokenRequest(const std::string& url, const std::string& grantType,
                                     const std::string& clientId, const std::string& clientSecret);

}  // namespace OAuthClient::E2e

#endif  // OAUTHCLIENT_TESTS_E2E_E2E_SUPPORT_H
