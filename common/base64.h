// Base64 encoding (RFC 4648 section 4: the standard alphabet, "=" padding, no line breaks).
#ifndef OAUTHCLIENT_COMMON_BASE64_H
#define OAUTHCLIENT_COMMON_BASE64_H

#include <string>
#include <string_view>

namespace OAuthClient {

namespace Base64Detail {

inline constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Writes the four characters of one group of `size` (1 to 3) bytes at `out`, "=" standing for missing bytes.
inline void WriteGroup(char* out, const unsigned char* group, std::size_t size) {
  const unsigned b0 = group[0];
  const unsigned b1 = size > 1 ? group[1] : 0;
  const unsigned b2 = size > 2 ? group[2] : 0;
  out[0] = kAlphabet[b0 >> 2];
  out[1] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
  out[2] = size > 1 ? kAlphabet[((b1 & 15) << 2) | (b2 >> 6)] : '=';
  out[3] = size > 2 ? kAlphabet[b2 & 63] : '=';
}

}  // namespace Base64Detail

// Returns the Base64 text of `bytes` (empty for no bytes). Throws std::bad_alloc only when memory runs out.
inline std::string Base64Encode(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t count = bytes.size();
  std::string text((count + 2) / 3 * 4, '\0');
  char* next = text.data();
  std::size_t i = 0;
  for (; count - i >= 3; i += 3, next += 4) Base64Detail::WriteGroup(next, data + i, 3);
  if (i < count) Base64Detail::WriteGroup(next, data + i, count - i);
  return text;
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_BASE64_H
