// ASCII-only letter-case folding and the blank test used for header names and values.
#ifndef OAUTH_TEXT_ASCII_CASE_H
#define OAUTH_TEXT_ASCII_CASE_H

#include <string>
#include <string_view>

namespace OAuthClient {

// Returns `text` with a-z turned into A-Z; every other unit, non-ASCII letters included, stays.
std::u16string FoldAsciiUpper(std::u16string_view text);

// Returns true when the two texts are equal after ASCII upper-case folding. Nothing is trimmed.
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Returns true when nothing is left of `text` after removing every U+0020 and U+3000, wherever they stand
// (the empty text is blank). Tabs, CR and LF count as content.
bool IsBlank(std::u16string_view text);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_ASCII_CASE_H
