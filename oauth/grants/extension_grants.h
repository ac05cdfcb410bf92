// CExtensionGrants: every grant type other than "password" and "client_credentials" (RFC 6749 section 4.5).
#ifndef OAUTH_GRANTS_EXTENSION_GRANTS_H
#define OAUTH_GRANTS_EXTENSION_GRANTS_H

#include <cstdint>
#include <optional>
#include <string>

#include "oauth/grants/grant_delegate.h"

namespace OAuthClient {

// Adds no authorization and no content type of its own (the host supplies them as request headers) and sends the
// request's form text unencoded, which holds the grant type once the host has added at least one parameter. A
// request without parameters goes out with Send (method, URL) and no body, whatever the method. The request's
// proxy pair and triple are set as given before anything else; a refusal by the component ends the request with
// the component's code.
class CExtensionGrants final : public CGrantDelegate {
 public:
  CExtensionGrants() = default;
  ~CExtensionGrants() override = default;

  std::int32_t RequestToken(ITokenRequest* request, ITokenResponse** response) override;
  void Release() override;
};

// Returns the form text of an extension grant (possibly empty, never nothing).
std::optional<std::u16string> BuildExtensionForm(ITokenRequest& request, bool isGet);

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_EXTENSION_GRANTS_H
