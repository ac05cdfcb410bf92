// ASCII-only letter-case folding and the blank test used for header names and values.
#include "oauth/text/ascii_case.h"

#include <algorithm>

namespace OAuthClient {
namespace {

constexpr char16_t kIdeographicSpace = 0x3000;

char16_t FoldAsciiUpperUnit(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
}

}  // namespace

std::u16string FoldAsciiUpper(std::u16string_view text) {
  std::u16string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldAsciiUpperUnit);
  return folded;
}

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return FoldAsciiUpperUnit(x) == FoldAsciiUpperUnit(y);
         });
}

bool IsBlank(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char16_t unit) { return unit == u' ' || unit == kIdeographicSpace; });
}

}  // namespace OAuthClient
