// Conversions between the UTF-16 text of the interface and the UTF-8 / Latin-1 bytes that go on the wire.
#ifndef ZQHTTPCLIENT_UTF16_H
#define ZQHTTPCLIENT_UTF16_H

#include <string>
#include <string_view>

#include "oauthclient/wide_char.h"

namespace OAuthClient::Http {

// Returns the length of a zero-terminated wide text (0 for null).
std::size_t WideLength(const WideChar* text);

// Returns a zero-terminated wide text as a view (empty for null).
std::u16string_view WideView(const WideChar* text);

// Encodes UTF-16 as UTF-8. An unpaired surrogate becomes U+FFFD, so the result is always well-formed UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes UTF-8 to UTF-16. Each malformed sequence (bad lead or continuation byte, overlong form, surrogate code
// point, value above U+10FFFF, truncated end) becomes one U+FFFD, as the WHATWG decoder does.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Returns true when `bytes` is well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Decodes ISO-8859-1: every byte is the code point of the same value.
std::u16string Latin1ToUtf16(std::string_view bytes);

// Decodes header bytes: as UTF-8 when they are well-formed UTF-8, else as ISO-8859-1 (the historical header
// charset), so no byte is ever lost or replaced.
std::u16string HeaderBytesToUtf16(std::string_view bytes);

// Returns a pointer to the UTF-16 units of `text` in the interface's character type.
inline const WideChar* AsWide(const std::u16string& text) {
  return reinterpret_cast<const WideChar*>(text.c_str());
}

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_UTF16_H
