// Test support for the grant flows, the token response and the client facade: owning handles, a filled token
// request and a token request run that tells whether the response pointer was written.
#ifndef OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H
#define OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H

#include <cstdint>

#include "oauth/grants/grant_delegate_interface.h"
#include "oauth/requests/token_request.h"
#include "oauthclient/host_runtime.h"
#include "oauthclient/release_ptr.h"
#include "tests/double/http_client_double.h"
#include "tests/requests/test_text.h"

namespace OAuthClient::Testing {

template <typename T>
using Handle = ReleasePtr<T>;

// Returns a token request with the parts every flow needs: POST to https://as.example/token, client credentials.
inline Handle<ITokenRequest> MakeTokenRequest(const char16_t* grantType) {
  Handle<ITokenRequest> request(new CTokenRequest());
  if (grantType != nullptr) request->SetGrantType(W(grantType));
  request->SetMethod(W(u"POST"));
  request->SetUrl(W(u"https://as.example/token"));
  request->SetClientId(W(u"client"));
  request->SetClientSecret(W(u"secret"));
  return request;
}

// Runs the token request through `runner` (a grant or the client) with a preset response pointer; `untouched` tells
// whether the preset survived.
struct TokenRun {
  std::int32_t result;
  Handle<ITokenResponse> response;
  bool untouched;
};
template <typename Runner>
TokenRun RunTokenRequest(Runner& runner, ITokenRequest& request) {
  ITokenResponse* const preset = reinterpret_cast<ITokenResponse*>(static_cast<std::uintptr_t>(0x5a5a5a50));
  ITokenResponse* response = preset;
  TokenRun run{runner.RequestToken(&request, &response), nullptr, response == preset};
  if (!run.untouched) run.response.reset(response);
  return run;
}

// Makes the host runtime refuse the HTTP client component while it lives.
class RefuseComponent {
 public:
  RefuseComponent() { ZqshrSetRefused(W(u"zqhttpclient.dll"), 1); }
  ~RefuseComponent() { ZqshrSetRefused(nullptr, 0); }
};

}  // namespace OAuthClient::Testing

#endif  // OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H
