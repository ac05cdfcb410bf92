// ASCII helpers for protocol text: letter-case folding and comparison, HTTP whitespace trimming, the HTTP token
// check. They work on any character width (bytes, UTF-16, wchar_t) and touch only ASCII letters.
#ifndef OAUTHCLIENT_COMMON_ASCII_H
#define OAUTHCLIENT_COMMON_ASCII_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OAuthClient {
namespace AsciiDetail {

template <typename Char>
constexpr Char ToLower(Char c) {
  return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c + (Char('a') - Char('A'))) : c;
}

template <typename Char>
constexpr Char ToUpper(Char c) {
  return (c >= Char('a') && c <= Char('z')) ? static_cast<Char>(c - (Char('a') - Char('A'))) : c;
}

template <typename Char>
bool EqualsIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  // Field names and schemes are nearly always spelled alike: such a match needs no folding.
  if (a == b) return true;
  return std::equal(a.begin(), a.end(), b.begin(), [](Char x, Char y) { return ToLower(x) == ToLower(y); });
}

template <typename Char>
std::basic_string_view<Char> TrimHttpSpace(std::basic_string_view<Char> text) {
  const auto isSpace = [](Char c) { return c == Char(' ') || c == Char('\t'); };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// tchar of RFC 9110 section 5.6.2, as a table indexed by ASCII value (method and field names are checked on every
// request, so a look-up beats a search of the marks).
inline constexpr auto kTokenChars = [] {
  struct Table {
    bool allowed[128] = {};
  } table;
  for (char c : std::string_view("!#$%&'*+-.^_`|~")) table.allowed[static_cast<unsigned char>(c)] = true;
  for (int c = '0'; c <= '9'; ++c) table.allowed[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) table.allowed[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) table.allowed[c] = true;
  return table;
}();

template <typename Char>
constexpr bool IsTokenChar(Char c) {
  const auto value = static_cast<std::make_unsigned_t<Char>>(c);
  return value < 128 && kTokenChars.allowed[value];
}

}  // namespace AsciiDetail

// Returns `text` with A-Z lowered (or a-z raised); every other unit, non-ASCII letters included, stays.
inline std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), AsciiDetail::ToLower<char>);
  return out;
}
inline std::u16string ToUpperAscii(std::u16string_view text) {
  std::u16string out(text);
  std::transform(out.begin(), out.end(), out.begin(), AsciiDetail::ToUpper<char16_t>);
  return out;
}

// Returns true when `a` and `b` are equal under ASCII case folding (how HTTP compares field names and schemes).
// Nothing is trimmed.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return AsciiDetail::EqualsIgnoringCase(a, b);
}
inline bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return AsciiDetail::EqualsIgnoringCase(a, b);
}

// Returns `text` without leading and trailing spaces and tabs (HTTP's optional whitespace, RFC 9110 5.6.3).
inline std::string_view TrimHttpSpace(std::string_view text) { return AsciiDetail::TrimHttpSpace(text); }
inline std::u16string_view TrimHttpSpace(std::u16string_view text) { return AsciiDetail::TrimHttpSpace(text); }

// Returns true when `c` may appear in an HTTP token (tchar, RFC 9110 section 5.6.2).
inline bool IsTokenChar(char c) { return AsciiDetail::IsTokenChar(c); }

// Returns true when `text` is a non-empty HTTP token (method names, field names; RFC 9110 section 5.6.2).
// (Lambdas rather than function pointers, so that the per-character test is inlined.)
inline bool IsHttpToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return AsciiDetail::IsTokenChar(c); });
}
inline bool IsHttpToken(std::u16string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char16_t c) { return AsciiDetail::IsTokenChar(c); });
}

// Returns the index of the first byte of `text` that is below `limit` (at most 0x80) or is DEL (0x7F), or
// text.size() when there is none. Eight bytes per step: a word with no byte below the limit and none equal to 0x7F
// is skipped whole (the classic "has a byte less than n" test, exact for n <= 0x80). URLs and header values are
// checked for control characters on every request, and a test per byte cost over ten instructions a byte.
inline std::size_t FindControlByte(std::string_view text, unsigned char limit) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = kOnes * 0x80;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes per step where SSE2 is there: a byte is below the limit when the larger of it and limit - 1 is
  // limit - 1 (an unsigned comparison, which SSE2 has only as a maximum).
  if (limit > 0) {
    const __m128i belowLimit = _mm_set1_epi8(static_cast<char>(limit - 1));
    const __m128i del = _mm_set1_epi8(0x7F);
    for (; i + 16 <= text.size(); i += 16) {
      const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
      const __m128i control =
          _mm_or_si128(_mm_cmpeq_epi8(_mm_max_epu8(sixteen, belowLimit), belowLimit), _mm_cmpeq_epi8(sixteen, del));
      if (_mm_movemask_epi8(control) != 0) break;
    }
  }
#endif
  for (std::uint64_t word = 0; i + 8 <= text.size(); i += 8) {
    std::memcpy(&word, text.data() + i, sizeof word);
    const std::uint64_t del = word ^ (kOnes * 0x7F);  // a zero byte where a DEL was
    if ((((word - kOnes * limit) & ~word) | ((del - kOnes) & ~del)) & kHighBits) break;
  }
  for (; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < limit || b == 0x7F) return i;
  }
  return i;
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_ASCII_H
