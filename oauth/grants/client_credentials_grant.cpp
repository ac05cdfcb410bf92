// CClientCredentialsGrant: the "client_credentials" grant (RFC 6749 section 4.4).
#include "oauth/grants/client_credentials_grant.h"

#include <string_view>

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kClientCredentialsFlow = {ClientAuth::kBasic, ProxyStep::kChooseOnce, EmptyForm::kSentAsForm,
                                              &BuildClientCredentialsForm};

}  // namespace

std::optional<std::u16string> BuildClientCredentialsForm(ITokenRequest& request, bool isGet) {
  const std::u16string scope = ReadText(request, &ITokenRequest::GetScope);
  std::u16string form = ReadParametersText(request, /*urlEncode=*/isGet);
  if (!form.empty()) return form;
  constexpr std::u16string_view kDefaultForm = u"grant_type=client_credentials";
  form.assign(kDefaultForm);
  if (!scope.empty()) form.append(u"&scope=").append(scope);
  return form;
}

std::int32_t CClientCredentialsGrant::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kClientCredentialsFlow);
}

void CClientCredentialsGrant::Release() { delete this; }

}  // namespace OAuthClient
