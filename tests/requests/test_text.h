// Wide texts as std::u16string for comparisons that GoogleTest prints, and literals as the boundary's text type.
#ifndef TESTS_REQUESTS_TEST_TEXT_H
#define TESTS_REQUESTS_TEST_TEXT_H

#include <cstddef>
#include <string>

#include "oauthclient/wide_char.h"

namespace OAuthClient {

// Returns the text (its first `count` units, when given), or u"(null)" for a null text.
inline std::u16string Text(const WideChar* text, std::size_t count = std::u16string::npos) {
  if (text == nullptr) return u"(null)";
  const auto* units = reinterpret_cast<const char16_t*>(text);
  return count == std::u16string::npos ? std::u16string(units) : std::u16string(units, count);
}

inline const WideChar* W(const char16_t* text) { return reinterpret_cast<const WideChar*>(text); }

}  // namespace OAuthClient

#endif  // TESTS_REQUESTS_TEST_TEXT_H
