// Text across the library's boundary: this program's UTF-8 and the library's zero-terminated UTF-16 texts.
#ifndef OAUTH_CLIENT_CLI_LIBRARY_TEXT_H
#define OAUTH_CLIENT_CLI_LIBRARY_TEXT_H

#include <string>
#include <string_view>
#include <type_traits>

#include "common/utf8_utf16.h"
#include "oauthclient/wide_char.h"

namespace OAuthClient {
namespace Cli {

// Returns the library's form of UTF-8 text that was checked already (IsValidUtf8): the command line's texts are
// refused at parse time when they are not UTF-8, so a replacement here never happens in practice.
inline WideString Widen(std::string_view utf8) { return Utf8ToUtf16<WideChar>(utf8); }

// Returns a zero-terminated text of the library as UTF-8; null gives an empty text, a lone surrogate U+FFFD.
inline std::string Narrow(const WideChar* text) {
  return text != nullptr ? Utf16ToUtf8(WideStringView(text)) : std::string();
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
  return Narrow(text);
}

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_LIBRARY_TEXT_H
