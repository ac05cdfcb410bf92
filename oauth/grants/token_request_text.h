// Reading texts out of an ITokenRequest into owned strings.
#ifndef OAUTH_GRANTS_TOKEN_REQUEST_TEXT_H
#define OAUTH_GRANTS_TOKEN_REQUEST_TEXT_H

#include <string>

#include "oauth/text/boundary_text.h"
#include "oauthclient/token_request.h"

namespace OAuthClient {

// A text getter of ITokenRequest (GetUrl, GetMethod, GetClientId, ...).
using TokenRequestTextGetter = void (ITokenRequest::*)(const WideChar**);

// Returns a copy of the text that `getter` hands out; empty when it hands out null or nothing. The copy keeps the
// text safe from the request's later calls that replace its caches.
inline std::u16string ReadText(ITokenRequest& request, TokenRequestTextGetter getter) {
  const WideChar* text = nullptr;
  (request.*getter)(&text);
  return std::u16string(ViewOf(text));
}

// Returns a copy of the request's form text (values form-URL-encoded when `urlEncode`); empty when the request has
// no parameters or refuses to encode one.
inline std::u16string ReadParametersText(ITokenRequest& request, bool urlEncode) {
  const WideChar* text = nullptr;
  request.GetParametersText(&text, urlEncode ? 1 : 0);
  return std::u16string(ViewOf(text));
}

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_TOKEN_REQUEST_TEXT_H
