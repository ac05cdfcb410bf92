// Interface text: the zero-terminated UTF-16 texts of the IHttpClient slots as views, the component's strings
// handed back through them, and received header bytes read for them.
#ifndef ZQHTTPCLIENT_INTERFACE_TEXT_H
#define ZQHTTPCLIENT_INTERFACE_TEXT_H

#include <string>
#include <string_view>

#include "common/utf16_length.h"
#include "common/utf8_utf16.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient::Http {

// Returns a zero-terminated slot text as a view of its UTF-16 units (empty for null).
inline std::u16string_view WideView(const WideChar* text) {
  if (text == nullptr) return {};
  const auto* units = reinterpret_cast<const char16_t*>(text);
  return std::u16string_view(units, Utf16Length(units));
}

// Returns a pointer to the UTF-16 units of `text` in the interface's character type.
inline const WideChar* AsWide(const std::u16string& text) { return reinterpret_cast<const WideChar*>(text.c_str()); }

// Decodes ISO-8859-1: every byte is the code point of the same value.
inline std::u16string Latin1ToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
  return out;
}

// Decodes header bytes into `out`, replacing what it held but reusing its storage: as UTF-8 when they are
// well-formed UTF-8, else as ISO-8859-1 (the historical header charset, RFC 9110 section 5.5), so no byte is ever
// lost or replaced.
inline void AssignHeaderBytesAsUtf16(std::string_view bytes, std::u16string* out) {
  if (AssignUtf8AsUtf16IfValid(bytes, out)) return;
  for (std::size_t i = out->size(); i < bytes.size(); ++i) out->push_back(static_cast<unsigned char>(bytes[i]));
}

// Returns header bytes decoded as AssignHeaderBytesAsUtf16 does.
inline std::u16string HeaderBytesToUtf16(std::string_view bytes) {
  std::u16string out;
  AssignHeaderBytesAsUtf16(bytes, &out);
  return out;
}

}  // namespace OAuthClient::Http

#endif  // ZQHTTPCLIENT_INTERFACE_TEXT_H
