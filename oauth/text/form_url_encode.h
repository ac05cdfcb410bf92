// Form URL encoding of a parameter value (application/x-www-form-urlencoded, RFC 6749 appendix B).
#ifndef OAUTH_TEXT_FORM_URL_ENCODE_H
#define OAUTH_TEXT_FORM_URL_ENCODE_H

#include <string>
#include <string_view>

namespace OAuthClient {

// Returns the UTF-8 bytes of `text` with A-Z a-z 0-9 and ! ' ( ) * - . _ ~ kept, a space as "+", and every other
// byte as "%" and two lower-case hex digits (so "/" is %2f and the UTF-8 of e-acute %c3%a9). A lone surrogate is
// encoded as the UTF-8 converter renders it (U+FFFD, %ef%bf%bd). An empty text, one that does not convert, or
// exhausted memory gives the empty string.
std::string FormUrlEncode(std::u16string_view text);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_FORM_URL_ENCODE_H
