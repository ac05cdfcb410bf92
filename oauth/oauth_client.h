// COAuthClient: the client facade behind IOAuthClient, which picks the grant flow of a token request and hands
// resource requests to its resource retriever.
#ifndef OAUTH_OAUTH_CLIENT_H
#define OAUTH_OAUTH_CLIENT_H

#include <cstdint>
#include <memory>

#include "oauth/grants/basic_authorization_cache.h"
#include "oauth/grants/grant_delegate_interface.h"
#include "oauthclient/oauth_client.h"

namespace OAuthClient {

class CResourceRetriever;

// Owns at most one grant object (the one made for its latest token request, kept until the next token request or
// Release, together with that grant's load of the HTTP client component) and at most one resource retriever (made
// at the first resource request and kept, whether or not it could bind the component, until Release). Calls on
// one client are made one at a time; separate clients share nothing.
//
// Choices of this implementation: a null request or response pointer gives -1 at once; nothing is made, sent or
// destroyed, and the current grant stays.
class COAuthClient final : public IOAuthClient {
 public:
  COAuthClient();
  COAuthClient(const COAuthClient&) = delete;
  COAuthClient& operator=(const COAuthClient&) = delete;

  // Destroys the previous grant, then runs the flow that the request's grant type selects: exactly "password"
  // CPasswordGrant, exactly "client_credentials" CClientCredentialsGrant, anything else (an unset one, another
  // letter case, a prefix) CExtensionGrants. Returns the flow's result unchanged.
  std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) override;
  // Makes the resource retriever at the first call and returns its result unchanged.
  std::int32_t RequestResource(IOAuthRequest* request, IResourceResponse** response) override;
  // Destroys the current grant, then the retriever, then the client.
  void Release() override;

  // Returns the grant made by the latest token request (null before the first one); owned by the client.
  IGrantDelegate* CurrentGrant() const { return grant_.get(); }
  // Returns the resource retriever (null before the first resource request); owned by the client.
  CResourceRetriever* Retriever() const { return retriever_.get(); }

 private:
  ~COAuthClient();

  BasicAuthorizationCache basicCache_;  // this client's own: client objects share nothing
  GrantHandle grant_;
  std::unique_ptr<CResourceRetriever> retriever_;
};

// Returns a new grant object for `grantType` (null counts as empty), bound to the HTTP client component or not,
// using `cache` (when given) for its Basic client authorization.
GrantHandle CreateGrantFor(const WideChar* grantType, BasicAuthorizationCache* cache = nullptr);

}  // namespace OAuthClient

#endif  // OAUTH_OAUTH_CLIENT_H
