// CGrantDelegate: the common base of the grant flows: the hold on the HTTP client component and the token request
// procedure that every flow follows.
#ifndef OAUTH_GRANTS_GRANT_DELEGATE_H
#define OAUTH_GRANTS_GRANT_DELEGATE_H

#include <cstdint>
#include <optional>
#include <string>

#include "oauth/grants/grant_delegate_interface.h"
#include "oauth/http/http_client_binding.h"
#include "oauth/http/transport_settings_copy.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

class BasicAuthorizationCache;

// How the client authenticates itself to the token endpoint.
enum class ClientAuth {
  // HTTP Basic with the client id and secret (RFC 6749 section 2.3.1), plus the form content type, unless the
  // request carries its own "Authorization" header.
  kBasic,
  // Nothing added: extension grants authenticate through their own parameters or headers.
  kNone,
};

// How a flow sends a form that came out empty.
enum class EmptyForm {
  // As it is: an empty body, or an empty query after "?" for GET.
  kSentAsForm,
  // With Send (method, URL) and no body or query, whatever the method.
  kSentWithoutBody,
};

// What sets one grant flow apart within the token request procedure.
struct GrantFlow {
  ClientAuth clientAuth;
  ProxyStep proxyStep;  // see ApplyTransportSettings; an unknown secure protocol always refuses a token request
  EmptyForm emptyForm;
  // Returns the form text to send, or nothing when the request cannot be sent; `isGet` tells whether the method is
  // exactly "GET".
  std::optional<std::u16string> (*buildForm)(ITokenRequest& request, bool isGet);
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

  // Gives the grant its client object's Basic authorization cache (not owned; it outlives the grant). Without
  // one the credentials are encoded for the request alone.
  void UseBasicAuthorizationCache(BasicAuthorizationCache* cache) { basicCache_ = cache; }

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
  BasicAuthorizationCache* basicCache_ = nullptr;  // not owned
};

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_GRANT_DELEGATE_H
