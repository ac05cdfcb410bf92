// FindUtf16Unit: the position of a code unit in a UTF-16 text, looked for eight units per step where SSE2 is there.
#ifndef OAUTHCLIENT_COMMON_UTF16_FIND_H
#define OAUTHCLIENT_COMMON_UTF16_FIND_H

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OAuthClient {

// Returns the position of the first `unit` in `text` at or after `from`, or std::u16string_view::npos. The same as
// text.find(unit, from), which compares one unit per step: the token reply is scanned quotation mark to quotation
// mark on every token request, and most of its units lie inside names and values.
inline std::size_t FindUtf16Unit(std::u16string_view text, char16_t unit, std::size_t from) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(unit));
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    // One mask bit per byte; a matching unit sets the two bits of its bytes.
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(eight, wanted)));
    if (hits != 0) return i + static_cast<unsigned>(__builtin_ctz(hits)) / sizeof(char16_t);
  }
#endif
  for (; i < text.size(); ++i) {
    if (text[i] == unit) return i;
  }
  return std::u16string_view::npos;
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_UTF16_FIND_H
