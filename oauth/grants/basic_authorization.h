// Basic client authentication for the token endpoint (RFC 6749 section 2.3.1, RFC 7617).
#ifndef OAUTH_GRANTS_BASIC_AUTHORIZATION_H
#define OAUTH_GRANTS_BASIC_AUTHORIZATION_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "oauthclient/http_client.h"
#include "oauthclient/token_request.h"

namespace OAuthClient {

class BasicAuthorizationCache;

// Returns the Base64 text of `clientId` ":" `clientSecret` converted to the active ANSI code page (characters the
// code page lacks become its replacement character "?"; hosts of this library have always sent ANSI, not UTF-8,
// and servers built for them decode it so). Neither part is escaped, so a ":" in the identifier stays as it is.
// A first unit whose low byte is FE or FF (a byte-order mark) is left out. Nothing when the conversion gives no
// bytes or the Base64 text cannot be widened. The buffers made on the way are overwritten with zeros before they are
// freed; the result (which decodes to the secret) is the caller's to wipe when it drops it.
std::optional<std::u16string> EncodeBasicCredentials(std::u16string_view clientId, std::u16string_view clientSecret);

// Adds "Content-Type: application/x-www-form-urlencoded", then "Authorization: Basic <credentials>" to `client`,
// from the request's client identifier and secret. Returns 1, or -1 (nothing added) when either is absent or empty
// or the credentials do not encode. The value comes from `cache` when it holds the same pair, and is kept there
// otherwise; without a cache it is encoded for this request alone.
std::int32_t AddBasicAuthorization(ITokenRequest& request, IHttpClient& client, BasicAuthorizationCache* cache);

}  // namespace OAuthClient

#endif  // OAUTH_GRANTS_BASIC_AUTHORIZATION_H
