// Helpers for the zero-terminated 16-bit text that crosses the boundary.
#ifndef OAUTH_TEXT_BOUNDARY_TEXT_H
#define OAUTH_TEXT_BOUNDARY_TEXT_H

#include <cstddef>
#include <string_view>

#include "common/utf16_length.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Returns the boundary text as UTF-16 code units (WideChar is wchar_t on Windows, char16_t elsewhere).
inline const char16_t* AsUtf16(const WideChar* text) { return reinterpret_cast<const char16_t*>(text); }
inline const WideChar* AsWide(const char16_t* text) { return reinterpret_cast<const WideChar*>(text); }

// Returns a view of a zero-terminated text; a null text gives the empty view.
inline std::u16string_view ViewOf(const char16_t* text) {
  return text == nullptr ? std::u16string_view() : std::u16string_view(text, Utf16Length(text));
}
#if defined(_WIN32)  // on POSIX WideChar is char16_t and the overload above serves both
inline std::u16string_view ViewOf(const WideChar* text) { return ViewOf(AsUtf16(text)); }
#endif

// Returns true for a null or empty text.
inline bool IsNullOrEmpty(const WideChar* text) { return text == nullptr || text[0] == 0; }

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_BOUNDARY_TEXT_H
