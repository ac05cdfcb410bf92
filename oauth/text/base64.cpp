// Base64 encoding (RFC 4648 section 4: standard alphabet, "=" padding, no line breaks).
#include "oauth/text/base64.h"

#include <new>

namespace OAuthClient {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Writes the four characters of one group of `size` (1 to 3) bytes at `out`, "=" standing for missing bytes.
void WriteGroup(char* out, const unsigned char* group, std::size_t size) {
  const unsigned b0 = group[0];
  const unsigned b1 = size > 1 ? group[1] : 0;
  const unsigned b2 = size > 2 ? group[2] : 0;
  out[0] = kAlphabet[b0 >> 2];
  out[1] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
  out[2] = size > 1 ? kAlphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
  out[3] = size > 2 ? kAlphabet[b2 & 63] : '=';
}

}  // namespace

int Base64Encode(const unsigned char* data, std::size_t count, std::string* out) {
  if (data == nullptr || count == 0 || out == nullptr) return 1;
  try {
    std::string text((count + 2) / 3 * 4, '\0');
    char* next = text.data();
    std::size_t i = 0;
    for (; count - i >= 3; i += 3, next += 4) WriteGroup(next, data + i, 3);
    if (i < count) WriteGroup(next, data + i, count - i);
    *out = std::move(text);
    return 0;
  } catch (const std::bad_alloc&) {
    return 1;
  }
}

}  // namespace OAuthClient
