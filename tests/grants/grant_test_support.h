// Test support for the grant flows and the token response: double objects, a filled token request, expected logs.
#ifndef OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H
#define OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "oauth/grants/grant_delegate_interface.h"
#include "oauth/http/http_client_binding.h"
#include "oauth/requests/token_request.h"
#include "oauthclient/host_runtime.h"
#include "tests/double/http_client_double.h"

namespace OAuthClient::Testing {

struct RequestReleaser {
  void operator()(ITokenRequest* request) const { request->Release(); }
};
using TokenRequestHandle = std::unique_ptr<ITokenRequest, RequestReleaser>;

struct ResponseReleaser {
  void operator()(ITokenResponse* response) const { response->Release(); }
};
using TokenResponseHandle = std::unique_ptr<ITokenResponse, ResponseReleaser>;

// Keeps the double loaded and makes its objects through its own CreateHttpClient, outside any grant flow.
class DoubleFactory {
 public:
  DoubleFactory() : module_(dlopen(HttpClientDouble::kFileName, RTLD_NOW)) {}
  ~DoubleFactory() { dlclose(module_); }
  DoubleFactory(const DoubleFactory&) = delete;
  DoubleFactory& operator=(const DoubleFactory&) = delete;
  HttpClientHandle Make() const {
    auto factory = reinterpret_cast<CreateHttpClientFunction>(dlsym(module_, "CreateHttpClient"));
    return HttpClientHandle(factory != nullptr ? factory() : nullptr);
  }

 private:
  void* module_;
};

// Returns the text a getter handed out, "<unchanged>" when it left the preset sentinel alone, "<null>" for null.
inline std::u16string TextOf(const WideChar* text, const WideChar* sentinel) {
  if (text == sentinel) return u"<unchanged>";
  return text == nullptr ? u"<null>" : std::u16string(reinterpret_cast<const char16_t*>(text));
}

// What CTokenResponse reads after a send that returned 1, then the release of the HTTP client object.
inline const std::vector<std::string>& ResponseReadAndRelease() {
  static const std::vector<std::string> calls = {
      "GetResponseText()", "GetResponseValue()",       "GetStatusCode()",   "GetStatusText()",
      "GetResponseHeadersText()", "GetResponseText()", "Release()",
  };
  return calls;
}

// Returns `calls` followed by the response read and the release.
inline std::vector<std::string> ThenResponse(std::vector<std::string> calls) {
  calls.insert(calls.end(), ResponseReadAndRelease().begin(), ResponseReadAndRelease().end());
  return calls;
}

// Returns a token request with the parts every flow needs: POST to https://as.example/token, client credentials.
inline TokenRequestHandle MakeTokenRequest(const char16_t* grantType) {
  TokenRequestHandle request(new CTokenRequest());
  if (grantType != nullptr) request->SetGrantType(grantType);
  request->SetMethod(u"POST");
  request->SetUrl(u"https://as.example/token");
  request->SetClientId(u"client");
  request->SetClientSecret(u"secret");
  return request;
}

// Runs the grant's token request with a preset response pointer. Returns the result; *response is null unless
// the flow wrote it, and `untouched` tells whether the preset value survived.
struct TokenRun {
  std::int32_t result;
  TokenResponseHandle response;
  bool untouched;
};
inline TokenRun RunGrant(IGrantDelegate& grant, ITokenRequest& request) {
  ITokenResponse* const preset = reinterpret_cast<ITokenResponse*>(static_cast<std::uintptr_t>(0x5a5a5a50));
  ITokenResponse* response = preset;
  TokenRun run{grant.RequestToken(&request, &response), nullptr, response == preset};
  if (!run.untouched) run.response.reset(response);
  return run;
}

// Makes the host runtime refuse the HTTP client component while it lives.
class RefuseComponent {
 public:
  RefuseComponent() { ZqshrSetRefused(u"zqhttpclient.dll", 1); }
  ~RefuseComponent() { ZqshrSetRefused(nullptr, 0); }
};

}  // namespace OAuthClient::Testing

#endif  // OAUTHCLIENT_TESTS_GRANTS_GRANT_TEST_SUPPORT_H
