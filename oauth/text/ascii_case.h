// ASCII-only letter-case folding and the blank test used for header names and values.
#ifndef OAUTH_TEXT_ASCII_CASE_H
#define OAUTH_TEXT_ASCII_CASE_H

#include <string>
#include <string_view>

namespace OAuthClient {

// Returns the form under which response header names are indexed when names are folded: `text` with a-z turned
// into A-Z; every other unit, non-ASCII letters included, stays.
std::u16string FoldAsciiUpper(std::u16string_view text);

// Returns true when nothing is left of `text` after removing every U+0020 and U+3000, wherever they stand
// (the empty text is blank). U+3000 is the ideographic space that hosts on East Asian systems type for a blank.
// Tabs, CR and LF count as content.
bool IsBlank(std::u16string_view text);

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_ASCII_CASE_H
