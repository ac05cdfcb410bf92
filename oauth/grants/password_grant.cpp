// CPasswordGrant: the resource owner password credentials grant (RFC 6749 section 4.3).
#include "oauth/grants/password_grant.h"

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kPasswordFlow = {
    /*basicAuthorization=*/true,
    /*requiredStringSettings=*/false,
    /*sendEmptyBodyWithoutText=*/false,
    &BuildPasswordBody,
};

}  // namespace

bool BuildPasswordBody(ITokenRequest& request, bool isGet, std::u16string* body) {
  // The first form text only completes the request's parameters (grant type, scope, user name and password);
  // the text sent is always the unencoded one, which servers built for this library expect in the query too.
  ReadParametersText(request, /*urlEncode=*/isGet);
  const std::u16string scope = ReadText(request, &ITokenRequest::GetScope);
  *body = ReadParametersText(request, /*urlEncode=*/false);
  if (!body->empty()) return true;

  const std::u16string userName = ReadText(request, &ITokenRequest::GetUserName);
  const std::u16string password = ReadText(request, &ITokenRequest::GetPassword);
  if (userName.empty() || password.empty()) return false;
  *body = u"grant_type=password&username=" + userName + u"&password=" + password;
  if (!scope.empty()) body->append(u"&scope=").append(scope);
  return true;
}

std::int32_t CPasswordGrant::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kPasswordFlow);
}

void CPasswordGrant::Release() { delete this; }

}  // namespace OAuthClient
