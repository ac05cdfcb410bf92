// Codes by which a host names the byte encoding of a body.
#ifndef OAUTHCLIENT_TEXT_ENCODING_H
#define OAUTHCLIENT_TEXT_ENCODING_H

#include <cstdint>

namespace OAuthClient {

// The 32-bit code passed to SetBodyText / GetBodyText. Values are fixed: never renumber, only append. Hosts
// know these names, so they keep their spelling.
enum TextEncoding : std::uint32_t {
  // NOLINTBEGIN(readability-identifier-naming)
  Ansi = 0,     // the active ANSI code page (Windows-1252 on POSIX), no byte-order mark
  Utf16Le = 1,  // FF FE, then UTF-16 little-endian
  Utf8 = 2,     // EF BB BF, then UTF-8
  Utf16Be = 3,  // FE FF, then UTF-16 big-endian
  // NOLINTEND(readability-identifier-naming)
};

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TEXT_ENCODING_H
