// Decoding a response body to UTF-16 by the charset its Content-Type names.
#ifndef ZQHTTPCLIENT_CHARSET_DECODER_H
#define ZQHTTPCLIENT_CHARSET_DECODER_H

#include <string>
#include <string_view>

namespace OAuthClient::Http {

// Returns the charset parameter of a Content-Type value (RFC 9110 section 8.3), lower-cased and unquoted, or an
// empty text when there is none. "text/plain; charset=\"UTF-8\"" gives "utf-8".
std::string CharsetOfContentType(std::string_view contentType);

// Decodes `body` to UTF-16 into `out`, replacing what it held:
//  - a byte-order mark at the start (EF BB BF, FF FE, FE FF) decides the encoding and is removed, whatever the
//    charset says (as browsers do);
//  - else the charset: "utf-16le", "utf-16be", "utf-16" (little-endian without a mark, as
//    browsers read it), "iso-8859-1" /
//    "latin1" / "us-ascii" and their aliases byte for byte, "windows-1252" with its 0x80-0x9F characters;
//  - else (no charset, "utf-8", or one this component does not know) UTF-8.
// Malformed input never fails: each bad sequence becomes U+FFFD, an odd trailing UTF-16 byte too.
void DecodeBody(std::string_view body, std::string_view charset, std::u16string* out);

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_CHARSET_DECODER_H
