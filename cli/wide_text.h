// Conversions between the program's UTF-8 texts and the library's zero-terminated UTF-16 texts.
#ifndef OAUTH_CLIENT_CLI_WIDE_TEXT_H
#define OAUTH_CLIENT_CLI_WIDE_TEXT_H

#include <string>
#include <string_view>
#include <type_traits>

#include "oauthclient/wide_char.h"

namespace OAuthClient {
namespace Cli {


// Converts UTF-8 to UTF-16. Returns false (and leaves *out unchanged) for bytes that are not well-formed UTF-8:
// overlong forms, surrogate code points, values above U+10FFFF and truncated sequences are all refused.
bool Utf8ToWide(std::string_view utf8, WideString* out);

// Converts UTF-8 that was checked already (IsValidUtf8) to UTF-16; malformed input gives an empty text.
WideString Widen(std::string_view utf8);

// Converts a zero-terminated UTF-16 text to UTF-8; null gives an empty text. A lone surrogate becomes U+FFFD.
std::string WideToUtf8(const WideChar* text);
std::string WideToUtf8(std::basic_string_view<WideChar> text);

// Returns whether `utf8` is well-formed UTF-8.
bool IsValidUtf8(std::string_view utf8);

// Calls `emit` with each code point of `text`; a lone surrogate is passed as its own value with
// `isLoneSurrogate` true, so callers can choose between a replacement and an escape.
template <typename Emit>
void ForEachCodePoint(std::basic_string_view<WideChar> text, Emit emit) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
      const char32_t next = static_cast<char16_t>(text[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        emit(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), false);
        ++i;
        continue;
      }
    }
    emit(unit, unit >= 0xD800 && unit <= 0xDFFF);
  }
}

// Returns, as UTF-8, the text that a getter of the library's interfaces writes through its out pointer: one
// that returns nothing, or one that returns 1 on success ("" when it fails or writes null).
template <typename Object, typename Result>
std::string ReadTextProperty(Object* object, Result (Object::*getter)(const WideChar**)) {
  const WideChar* text = nullptr;
  if constexpr (std::is_void_v<Result>) {
    (object->*getter)(&text);
  } else {
    if ((object->*getter)(&text) != 1) return std::string();
  }
  return WideToUtf8(text);
}

// Appends the UTF-8 form of `codePoint` to *out.
void AppendUtf8(char32_t codePoint, std::string* out);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_WIDE_TEXT_H
