// CPasswordGrant: the resource owner password credentials grant (RFC 6749 section 4.3).
#ifndef OAUTH_GRANTS_PASSWORD_GRANT_H
#define OAUTH_GRANTS_PASSWORD_GRANT_H

#include <cstdint>
#include <optional>
#include <string>

#include "oauth/grants/grant_delegate.h"

namespace OAuthClient {

// Authenticates the client as the client credentials grant does and sends the request's form text with its values
// unencoded (with "GET" as well), or, when it has no parameters, "grant_type=password&username=U&password=P"
// followed by "&scope=" and the scope when one is set, nothing escaped. Without parameters, a missing user name or
// password ends the request with -1 before anything is sent.
class CPasswordGrant final : public CGrantDelegate {
 public:
  CPasswordGrant() = default;
  ~CPasswordGrant() override = default;

  std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) override;
  void Release() override;
};

// Returns the form text of the password grant, or nothing when there is none to send.
std::optional<std::u16string> BuildPasswordForm(ITokenRequest& request, bool isGet);

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_PASSWORD_GRANT_H
