// Form URL encoding and Base64 for the texts the host builds itself.
#include "form_encoding.h"

namespace OAuthClient {
namespace Cli {

namespace {

bool IsUnreservedInForm(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-' ||
         c == '.' || c == '_';
}

}  // namespace

std::string FormUrlEncode(std::string_view value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(value.size() * 3);
  for (const char raw : value) {
    const auto c = static_cast<unsigned char>(raw);
    if (IsUnreservedInForm(c)) {
      encoded.push_back(static_cast<char>(c));
    } else if (c == ' ') {
      encoded.push_back('+');
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[c >> 4]);
      encoded.push_back(kHex[c & 0x0F]);
    }
  }
  return encoded;
}

std::string Base64Encode(std::string_view bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string encoded;
  encoded.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned group = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
    encoded.push_back(kAlphabet[(group >> 18) & 0x3F]);
    encoded.push_back(kAlphabet[(group >> 12) & 0x3F]);
    encoded.push_back(kAlphabet[(group >> 6) & 0x3F]);
    encoded.push_back(kAlphabet[group & 0x3F]);
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    encoded.push_back(kAlphabet[(group >> 18) & 0x3F]);
    encoded.push_back(kAlphabet[(group >> 12) & 0x3F]);
    encoded.push_back(rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=');
    encoded.push_back('=');
  }
  return encoded;
}

}  // namespace Cli
}  // namespace OAuthClient
