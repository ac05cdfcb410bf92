// The encodings the host applies itself: application/x-www-form-urlencoded values and Base64.
#ifndef OAUTH_CLIENT_CLI_FORM_ENCODING_H
#define OAUTH_CLIENT_CLI_FORM_ENCODING_H

#include <string>
#include <string_view>

namespace OAuthClient {
namespace Cli {

// Returns the application/x-www-form-urlencoded form of the UTF-8 bytes `value`: ASCII letters, digits and
// "*-._" unchanged, a blank as "+", every other byte as "%XX" with upper-case hex digits (WHATWG URL
// Standard, urlencoded serializer; RFC 6749 Appendix B).
std::string FormUrlEncode(std::string_view value);

// Returns the standard Base64 form (RFC 4648 section 4, with "=" padding) of `bytes`.
std::string Base64Encode(std::string_view bytes);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_FORM_ENCODING_H
