// ApplyProxyChoice: which of a request's proxy settings reaches the HTTP client object.
#ifndef OAUTH_HTTP_PROXY_CHOICE_H
#define OAUTH_HTTP_PROXY_CHOICE_H

#include "oauth/http/copied_text.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

// Reads the request's authenticated proxy (GetStringTriple), then its proxy with bypass list (GetStringPair), and
// sets the first complete one on `client`: the authenticated proxy when URL, user and password are all non-empty,
// else the proxy with bypass list when both are, else a direct connection (SetStringNone). The component's result
// is not looked at. `Request` is ITokenRequest or IOAuthRequest, whose getters hand out caller-owned copies; they are
// freed before this returns.
template <typename Request>
void ApplyProxyChoice(Request& request, IHttpClient& client) {
  CopiedText proxyUrl, proxyUser, proxyPassword, bypassProxyUrl, bypassList;
  request.GetStringTriple(proxyUrl.Out(), proxyUser.Out(), proxyPassword.Out());
  request.GetStringPair(bypassProxyUrl.Out(), bypassList.Out());
  if (proxyUrl.HasText() && proxyUser.HasText() && proxyPassword.HasText()) {
    client.SetStringTriple(proxyUrl.Get(), proxyUser.Get(), proxyPassword.Get());
  } else if (bypassProxyUrl.HasText() && bypassList.HasText()) {
    client.SetStringPair(bypassProxyUrl.Get(), bypassList.Get());
  } else {
    client.SetStringNone();
  }
}

}  // namespace OAuthClient

#endif  // OAUTH_HTTP_PROXY_CHOICE_H
