// Form URL encoding of a parameter value (application/x-www-form-urlencoded, RFC 6749 appendix B).
#include "oauth/text/form_url_encode.h"

#include <new>

#include "oauth/platform/code_page.h"
#include "oauth/text/text_encodings.h"

namespace OAuthClient {
namespace {

// The bytes kept as they are: letters, digits and the marks ! ' ( ) * - . _ ~ (the unreserved set of RFC 2396,
// plus "~"). Everything else, the space aside, is percent-encoded.
bool IsKeptAsIs(unsigned char byte) {
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) return true;
  switch (byte) {
    case '!': case '\'': case '(': case ')': case '*': case '-': case '.': case '_': case '~':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string FormUrlEncode(std::u16string_view text) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  ByteBuffer utf8;
  const int count = WideToMultiByte(&utf8, text, Platform::kCodePageUtf8);
  if (count <= 0) return {};
  try {
    std::string encoded;
    encoded.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const unsigned char byte = utf8[static_cast<std::size_t>(i)];
      if (IsKeptAsIs(byte)) {
        encoded.push_back(static_cast<char>(byte));
      } else if (byte == ' ') {
        encoded.push_back('+');
      } else {
        encoded.push_back('%');
        encoded.push_back(kHexDigits[byte >> 4]);
        encoded.push_back(kHexDigits[byte & 0x0F]);
      }
    }
    return encoded;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace OAuthClient
