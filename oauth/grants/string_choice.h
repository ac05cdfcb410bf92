// ApplyStringChoice: how a request's proxy settings (the string triple or pair) reach the HTTP client object.
#ifndef OAUTH_GRANTS_STRING_CHOICE_H
#define OAUTH_GRANTS_STRING_CHOICE_H

#include "oauth/grants/copied_text.h"
#include "oauthclient/http_client.h"

namespace OAuthClient {

// Reads the request's GetStringTriple, then GetStringPair, and sets the first complete one on `client`: the triple
// (proxy URL, user, password) when all three are non-empty, else the pair (proxy URL, bypass list) when both are,
// else SetStringNone (a direct connection). The component's result is not looked at. `Request` is ITokenRequest
// or IOAuthRequest, whose getters hand out caller-owned copies; they are freed before this returns.
template <typename Request>
void ApplyStringChoice(Request& request, IHttpClient& client) {
  CopiedText a, b, c, d, e;
  request.GetStringTriple(a.Out(), b.Out(), c.Out());
  request.GetStringPair(d.Out(), e.Out());
  if (a.HasText() && b.HasText() && c.HasText()) {
    client.SetStringTriple(a.Get(), b.Get(), c.Get());
  } else if (d.HasText() && e.HasText()) {
    client.SetStringPair(d.Get(), e.Get());
  } else {
    client.SetStringNone();
  }
}

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_STRING_CHOICE_H
