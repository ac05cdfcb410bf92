// CResourceRetriever: sends one protected-resource request with its access token and wraps the answer.
#ifndef OAUTH_RESOURCE_RESOURCE_RETRIEVER_H
#define OAUTH_RESOURCE_RESOURCE_RETRIEVER_H

#include <cstdint>
#include <string>
#include <string_view>

#include "oauth/http/http_client_binding.h"
#include "oauthclient/oauth_request.h"
#include "oauthclient/resource_response.h"

namespace OAuthClient {

// Owned by the client facade, made at its first resource request and kept until the facade is released. It binds
// the HTTP client component once, at construction (pre-load check, load, look-up of CreateHttpClient), and holds
// that load for its whole life; an unbound retriever answers every request with -1 without trying again. Each
// request uses a fresh HTTP client object, released before Retrieve returns. Not copyable; one request at a time.
class CResourceRetriever {
 public:
  // Binds the HTTP client component.
  CResourceRetriever();
  // Releases the HTTP client object if one is still held, then frees the load of the component.
  virtual ~CResourceRetriever();
  CResourceRetriever(const CResourceRetriever&) = delete;
  CResourceRetriever& operator=(const CResourceRetriever&) = delete;

  // Sends `request` (RFC 6750 section 2.1: "Authorization: Bearer <token>" unless the request carries its own
  // Authorization header) and, when the send returns 1, stores a new CResourceResponse, owned by the caller, in
  // *response. Returns 1; -1 when nothing was sent (unbound, no HTTP client object, no access token and no own
  // Authorization header, no method or no URL); or any other value the send returned, unchanged. Only a result of
  // 1 writes *response. A null request or a null `response` gives -1 before anything is made or sent: an answer
  // that cannot be handed back is not worth a request.
  virtual std::int32_t Retrieve(IOAuthRequest* request, IResourceResponse** response);

  // Returns true when the component's factory was found at construction.
  bool IsBound() const { return binding_.IsBound(); }

 protected:
  // Copies the request's transport settings and headers into the current HTTP client object, adds the Bearer
  // authorization when needed and sends. Returns the send's result, or -1 before the send when a needed part is
  // missing (the settings applied so far stay on the object, which Retrieve releases).
  virtual std::int32_t SendRequest(IOAuthRequest& request);

 private:
  // Adds "Authorization: Bearer <token>" unless the request has its own Authorization header; false when it has
  // neither that header nor a token.
  bool AddBearerAuthorization(IOAuthRequest& request, IHttpClient& client);
  // Returns the zero-terminated "Bearer <token>" value, built anew only when the token differs from the last one.
  const char16_t* BearerValueFor(std::u16string_view token);

  // Declared in this order so the HTTP client object is released before the component is unloaded.
  HttpClientBinding binding_;
  HttpClientHandle client_;
  // The value of the last Bearer header sent. The token in it outlives its request (until another token is sent or
  // the retriever ends), so it is overwritten with zeros before it is replaced or freed.
  std::u16string bearerValue_;
};

}  // namespace OAuthClient

#endif  // OAUTH_RESOURCE_RESOURCE_RETRIEVER_H
