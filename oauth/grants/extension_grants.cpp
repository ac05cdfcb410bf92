// CExtensionGrants: every grant type other than "password" and "client_credentials" (RFC 6749 section 4.5).
#include "oauth/grants/extension_grants.h"

#include "oauth/grants/token_request_text.h"

namespace OAuthClient {

namespace {

constexpr GrantFlow kExtensionFlow = {ClientAuth::kNone, ProxyStep::kPassOnThenChoose, EmptyForm::kSentWithoutBody,
                                      &BuildExtensionForm};

}  // namespace

std::optional<std::u16string> BuildExtensionForm(ITokenRequest& request, bool isGet) {
  // As for the password grant, the first form text only completes the parameters; the unencoded one is sent.
  ReadParametersText(request, /*urlEncode=*/isGet);
  return ReadParametersText(request, /*urlEncode=*/false);
}

std::int32_t CExtensionGrants::RequestToken(ITokenRequest* request, ITokenResponse** response) {
  return RunTokenRequest(request, response, kExtensionFlow);
}

void CExtensionGrants::Release() { delete this; }

}  // namespace OAuthClient
