// Base64 encoding (RFC 4648 standard alphabet, with padding, no line breaks), for Basic credentials.
#ifndef OAUTH_TEXT_BASE64_H
#define OAUTH_TEXT_BASE64_H

#include <cstddef>
#include <string>

namespace OAuthClient {

// Encodes `count` bytes into *out (replacing its content); the character count is out->size(). Returns 0 on
// success, 1 (out untouched) for a null `data` or `out`, a zero `count`, or exhausted memory.
int Base64Encode(const unsigned char* data, std::size_t count, std::string* out);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_BASE64_H
