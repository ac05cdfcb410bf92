// IOAuthClient: the client facade that obtains tokens and fetches protected resources.
#ifndef OAUTHCLIENT_OAUTH_CLIENT_H
#define OAUTHCLIENT_OAUTH_CLIENT_H

#include <cstdint>

#include "oauthclient/oauth_request.h"
#include "oauthclient/resource_response.h"
#include "oauthclient/token_request.h"
#include "oauthclient/token_response.h"

namespace OAuthClient {

// The order of the slots below is the ABI. No virtual destructor: the object ends through Release.
//
// Results of RequestToken and RequestResource:
//    1  the server answered (any HTTP status); a new response object, owned by the host, was stored in *response
//   -1  nothing was sent: the HTTP component is unavailable, or the request lacks a part the flow needs
//  any other value: the HTTP component's own code, passed on unchanged (see oauthclient/http_client_codes.h)
// Only a result of 1 writes *response; otherwise it keeps its old content.
class IOAuthClient {
 public:
  // Obtains a token from the request's token endpoint with the flow its grant type selects.
  virtual std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) = 0;
  // Sends the resource request with its "Bearer" access token.
  virtual std::int32_t RequestResource(IOAuthRequest* request, IResourceResponse** response) = 0;
  // Destroys the client and everything it owns.
  virtual void Release() = 0;
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_OAUTH_CLIENT_H
