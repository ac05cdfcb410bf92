// Utf16Length: the length of a zero-terminated UTF-16 text, found eight units per step where SSE2 is there.
#ifndef OAUTHCLIENT_COMMON_UTF16_LENGTH_H
#define OAUTHCLIENT_COMMON_UTF16_LENGTH_H

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace OAuthClient {

namespace Utf16LengthDetail {

#if defined(__SSE2__)
// Reads the text in aligned blocks of 16 bytes, starting with the block that holds its first unit. An aligned block
// never crosses a page boundary, so the bytes of the first block before the text and those of the last block after
// its terminator are mapped memory of the same page: the first are masked off, the second come after the answer.
// AddressSanitizer and ThreadSanitizer check every byte read and would report those neighbours (another object's
// bytes, or freed ones), hence the exemptions; the result depends only on the units of the text.
[[gnu::no_sanitize_address, gnu::no_sanitize_thread]] inline std::size_t AlignedLength(const char16_t* text) {
  constexpr std::uintptr_t kBlock = 16;
  const auto* first = reinterpret_cast<const char*>(text);
  const std::uintptr_t before = reinterpret_cast<std::uintptr_t>(first) & (kBlock - 1);
  const auto* block = reinterpret_cast<const __m128i*>(first - before);
  const __m128i zero = _mm_setzero_si128();
  // One mask bit per byte; a zero unit sets the two bits of its bytes. Bits of bytes before the text are dropped.
  unsigned zeros =
      static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(block), zero))) & (0xFFFFu << before);
  while (zeros == 0) {
    ++block;
    zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_load_si128(block), zero)));
  }
  const char* terminator = reinterpret_cast<const char*>(block) + __builtin_ctz(zeros);
  return static_cast<std::size_t>(terminator - first) / sizeof(char16_t);
}
#endif

}  // namespace Utf16LengthDetail

// Returns the number of units before the first zero unit of `text` (not null). The same as
// std::char_traits<char16_t>::length, which reads one unit per step: the texts that cross the boundary (answers'
// header blocks and bodies, every property) are measured on each request, and this is where that time goes.
inline std::size_t Utf16Length(const char16_t* text) {
#if defined(__SSE2__)
  // The blocks line up with the units only for a text on an even address, which every UTF-16 buffer has.
  if ((reinterpret_cast<std::uintptr_t>(text) & 1u) == 0) return Utf16LengthDetail::AlignedLength(text);
#endif
  return std::char_traits<char16_t>::length(text);
}

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_COMMON_UTF16_LENGTH_H
