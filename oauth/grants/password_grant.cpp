// CPasswordGrant: the resource owner password credentials grant (RFC 6749 section 4.3).
#include "oauth/grants/password_grant.h"

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kPasswordFlow = {ClientAuth::kBasic, ProxyStep::kChooseOnce, EmptyForm::kSentAsForm,
                                     &BuildPasswordForm};

}  // namespace

std::optional<std::u16string> BuildPasswordForm(ITokenRequest& request, bool isGet) {
  // The first form text only completes the request's parameters (grant type, scope, user name and password);
  // the text sent is always the unencoded one, which servers built for this library expect in the query too.
  ReadParametersText(request, /*urlEncode=*/isGet);
  const std::u16string scope = ReadText(request, &ITokenRequest::GetScope);
  std::u16string form = ReadParametersText(request, /*urlEncode=*/false);
  if (!form.empty()) return form;

  const std::u16string userName = ReadText(request, &ITokenRequest::GetUserName);
  const std::u16string password = ReadText(request, &ITokenRequest::GetPassword);
  if (userName.empty() || password.empty()) return std::nullopt;
  form = u"grant_type=password&username=" + userName + u"&password=" + password;
  if (!scope.empty()) form.append(u"&scope=").append(scope);
  return form;
}

std::int32_t CPasswordGrant::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kPasswordFlow);
}

void CPasswordGrant::Release() { delete this; }

}  // namespace OAuthClient
