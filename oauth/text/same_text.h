// SameText: whether two UTF-16 texts hold the same code units, compared as one block of memory.
#ifndef OAUTH_TEXT_SAME_TEXT_H
#define OAUTH_TEXT_SAME_TEXT_H

#include <algorithm>
#include <string_view>

namespace OAuthClient {

// Returns true when `a` and `b` have the same units (exact comparison, no case folding). Means the same as a
// string view's ==, which compares unit by unit through char_traits<char16_t>; std::equal compares the units as
// one block of memory (memcmp), which counts where texts are compared on every request (the grant type, the
// client credentials, the token reply's member names).
inline bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace OAuthClient

#endif  // OAUTH_TEXT_SAME_TEXT_H
