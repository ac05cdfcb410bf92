// CClientCredentialsGrant: the "client_credentials" grant (RFC 6749 section 4.4).
#ifndef OAUTH_GRANTS_CLIENT_CREDENTIALS_GRANT_H
#define OAUTH_GRANTS_CLIENT_CREDENTIALS_GRANT_H

#include <cstdint>
#include <optional>
#include <string>

#include "oauth/grants/grant_delegate.h"

namespace OAuthClient {

// Authenticates the client with Basic authorization (unless the request brings its own "Authorization" header) and
// sends the request's form text, or, when it has no parameters, "grant_type=client_credentials" followed by
// "&scope=" and the scope as given (not URL-encoded) when a scope is set. With the method "GET" the form text is
// asked for with its values form-URL-encoded, as it goes into the URL's query.
class CClientCredentialsGrant final : public CGrantDelegate {
 public:
  CClientCredentialsGrant() = default;
  ~CClientCredentialsGrant() override = default;

  std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) override;
  void Release() override;
};

// Returns the form text of the client credentials grant (never nothing).
std::optional<std::u16string> BuildClientCredentialsForm(ITokenRequest& request, bool isGet);

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_CLIENT_CREDENTIALS_GRANT_H
