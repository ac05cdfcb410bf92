// ASCII-only letter-case folding and the blank test used for header names and values.
#include "oauth/text/ascii_case.h"

#include <algorithm>

#include "common/ascii.h"

namespace OAuthClient {

std::u16string FoldAsciiUpper(std::u16string_view text) { return ToUpperAscii(text); }

bool IsBlank(std::u16string_view text) {
  constexpr char16_t kIdeographicSpace = 0x3000;
  return std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit == u' ' || unit == kIdeographicSpace; });
}

}  // namespace OAuthClient
