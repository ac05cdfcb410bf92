// Form URL encoding (application/x-www-form-urlencoded) of UTF-8 bytes: one encoder, two named policies.
#ifndef OAUTHCLIENT_COMMON_FORM_URL_ENCODING_H
#define OAUTHCLIENT_COMMON_FORM_URL_ENCODING_H

#include <string>
#include <string_view>

namespace OAuthClient {

// Which bytes stay as they are and how the others are written. Letters and digits always stay and a space always
// becomes "+".
struct FormEncodingPolicy {
  std::string_view keptMarks;  // the punctuation kept as it is
  bool upperCaseHex;           // "%2F" rather than "%2f"
};

// What the library has always sent in request bodies: the unreserved marks of RFC 2396 plus "~" kept, lower-case
// hex. Hosts compare bodies and signatures against these exact bytes, so the library keeps them.
inline constexpr FormEncodingPolicy kLibraryFormEncoding{"!'()*-._~", false};

// The application/x-www-form-urlencoded serializer of the WHATWG URL Standard, which RFC 6749 appendix B defers
// to: only "*-._" kept, upper-case hex (RFC 3986 section 2.1 recommends upper case).
inline constexpr FormEncodingPolicy kStandardFormEncoding{"*-._", true};

// Returns `utf8` form-encoded under `policy`: kept bytes as they are, a space as "+", every other byte as "%" and
// two hex digits. Throws std::bad_alloc only when memory runs out.
inline std::string FormUrlEncode(std::string_view utf8, const FormEncodingPolicy& policy) {
  const char* hexDigits = policy.upperCaseHex ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string encoded;
  encoded.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    const bool alphanumeric =
        (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9');
    if (alphanumeric || (byte != 0 && policy.keptMarks.find(c) != std::string_view::npos)) {
      encoded.push_back(c);
    } else if (byte == ' ') {
      encoded.push_back('+');
    } else {
      encoded.push_back('%');
      encoded.push_back(hexDigits[byte >> 4]);
      encoded.push_back(hexDigits[byte & 0x0F]);
    }
  }
  return encoded;
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_FORM_URL_ENCODING_H
