// CExtensionGrants: every grant type other than "password" and "client_credentials" (RFC 6749 section 4.5).
#include "oauth/grants/extension_grants.h"

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kExtensionFlow = {
    /*basicAuthorization=*/false,
    /*requiredStringSettings=*/true,
    /*sendEmptyBodyWithoutText=*/true,
    &BuildExtensionBody,
};

}  // namespace

bool BuildExtensionBody(ITokenRequest& request, bool isGet, std::u16string* body) {
  // As for the password grant, the first form text only completes the parameters; the unencoded one is sent.
  ReadParametersText(request, /*urlEncode=*/isGet);
  *body = ReadParametersText(request, /*urlEncode=*/false);
  return true;
}

std::int32_t CExtensionGrants::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kExtensionFlow);
}

void CExtensionGrants::Release() { delete this; }

}  // namespace OAuthClient
