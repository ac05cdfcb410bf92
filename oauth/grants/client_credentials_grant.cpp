// CClientCredentialsGrant: the "client_credentials" grant (RFC 6749 section 4.4).
#include "oauth/grants/client_credentials_grant.h"

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kClientCredentialsFlow = {
    /*basicAuthorization=*/true,
    /*requiredStringSettings=*/false,
    /*sendEmptyBodyWithoutText=*/false,
    &BuildClientCredentialsBody,
};

}  // namespace

bool BuildClientCredentialsBody(ITokenRequest& request, bool isGet, std::u16string* body) {
  const std::u16string scope = ReadText(request, &ITokenRequest::GetScope);
  *body = ReadParametersText(request, /*urlEncode=*/isGet);
  if (!body->empty()) return true;
  *body = u"grant_type=client_credentials";
  if (!scope.empty()) body->append(u"&scope=").append(scope);
  return true;
}

std::int32_t CClientCredentialsGrant::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kClientCredentialsFlow);
}

void CClientCredentialsGrant::Release() { delete this; }

}  // namespace OAuthClient
