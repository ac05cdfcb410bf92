// CGrantDelegate: the common base of the grant flows: the hold on the HTTP client component and the token request
// procedure that every flow follows.
#ifndef OAUTH_GRANTS_GRANT_DELEGATE_H
#define OAUTH_GRANTS_GRANT_DELEGATE_H

#include <cstdint>
#include <string>

#include "oauth/grants/grant_delegate_interface.h"
#include "oauth/http/http_client_binding.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

// What sets one grant flow apart within the token request procedure.
struct GrantFlow {
  // Adds the Basic client authorization and the form content type, unless the request has its own
  // "Authorization" header.
  bool basicAuthorization;
  // Extension grants pass the pair and the triple on as given right after the option flags (a refusal ends the
  // request with the component's code) and make the usual proxy choice only after the timeouts; the other flows
  // make it once, right after the option flags.
  bool requiredStringSettings;
  // An empty body goes out with Send (method, URL), whatever the method, instead of an empty query or body.
  bool sendEmptyBodyWithoutText;
  // Builds the body text; `isGet` tells whether the method is exactly "GET". False: nothing to send.
  bool (*buildBody)(ITokenRequest& request, bool isGet, std::u16string* body);
};

// Binds the HTTP client component at construction (pre-load check, load, look-up of CreateHttpClient) and holds
// the load until destruction; a grant that could not bind answers its request with -1. One grant serves one token
// request. The HTTP client object made for it is released when the request ends after a send, when the
// extension grant's required proxy settings are refused, and otherwise, for a request ended early with -1, when
// the grant is destroyed, before the library is unloaded.
class CGrantDelegate : public IGrantDelegate {
 public:
  CGrantDelegate();
  ~CGrantDelegate() override;
  CGrantDelegate(const CGrantDelegate&) = delete;
  CGrantDelegate& operator=(const CGrantDelegate&) = delete;

  void SetOptionFlagA(Bool8 value) override;
  std::int32_t GetOptionFlagA() override;
  void SetOptionFlagB(Bool8 value) override;
  std::int32_t GetOptionFlagB() override;
  std::int32_t SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) override;
  std::int32_t SetStringPair(const WideChar* a, const WideChar* b) override;
  void SetOptionValueA(std::uint32_t value) override;
  void SetOptionValueB(std::uint32_t value) override;

  // Returns true when the component's factory was found at construction.
  bool IsBound() const { return binding_.IsBound(); }

 protected:
  // Runs the token request procedure with the steps of `flow`. A null request or response pointer gives -1 with
  // nothing made or sent (this implementation's choice).
  std::int32_t RunTokenRequest(ITokenRequest* request, ITokenResponse** response, const GrantFlow& flow);

 private:
  // The HTTP client object the forwarding operations talk to, or null when there is none.
  IHttpClient* ForwardingTarget() const;
  std::int32_t ConfigureAndSend(ITokenRequest& request, ITokenResponse** response, const GrantFlow& flow);

  // Declared before the client so that the client is released before the library is unloaded.
  HttpClientBinding binding_;
  ITokenRequest* request_ = nullptr;  // the request being served; not owned
  HttpClientHandle client_;
};

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_GRANT_DELEGATE_H
