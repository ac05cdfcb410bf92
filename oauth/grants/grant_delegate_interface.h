// IGrantDelegate: the interface of every grant flow that the client facade runs for a token request.
#ifndef OAUTH_GRANTS_GRANT_DELEGATE_INTERFACE_H
#define OAUTH_GRANTS_GRANT_DELEGATE_INTERFACE_H

#include <cstdint>
#include <memory>

#include "oauthclient/token_request.h"
#include "oauthclient/token_response.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Slots in this order (internal to the library, kept in the documented order all the same). A grant object serves
// one token request and ends through Release.
class IGrantDelegate {
 public:
  virtual ~IGrantDelegate() = default;

  // Forwarding operations: pass their arguments to the IHttpClient operation of the same name on the HTTP client
  // object that the grant holds while a request runs. Unbound, or without such an object, they forward nothing:
  // the getters then give 0, SetStringTriple -3 and SetStringPair -4. Nothing in the library calls them.
  virtual void SetOptionFlagA(Bool8 value) = 0;
  virtual std::int32_t GetOptionFlagA() = 0;
  virtual void SetOptionFlagB(Bool8 value) = 0;
  virtual std::int32_t GetOptionFlagB() = 0;
  virtual std::int32_t SetStringTriple(const WideChar* a, const WideChar* b, const WideChar* c) = 0;
  virtual std::int32_t SetStringPair(const WideChar* a, const WideChar* b) = 0;
  virtual void SetOptionValueA(std::uint32_t value) = 0;
  virtual void SetOptionValueB(std::uint32_t value) = 0;

  // Sends the token request to its endpoint. 1: the server answered and a new token response, owned by the
  // caller, was stored in *response. -1: nothing was sent. Any other value: the HTTP client object's own code.
  // Only 1 writes *response.
  virtual std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) = 0;
  // Destroys the grant: releases an HTTP client object it still holds, then unloads the HTTP client library.
  virtual void Release() = 0;
};

// Ends a grant object through its own Release.
struct GrantReleaser {
  void operator()(IGrantDelegate* grant) const {
    if (grant != nullptr) grant->Release();
  }
};
// The RAII owner of one grant object.
using GrantHandle = std::unique_ptr<IGrantDelegate, GrantReleaser>;

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_GRANT_DELEGATE_INTERFACE_H
