// _wtol on POSIX: decimal 16-bit text to a 32-bit number, reading the white space and digits the Windows C
// runtime's _wtol reads, and saturating as it does.
#include "oauth/platform/wide_to_long.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>

namespace OAuthClient::Platform {
namespace {

// The units the C runtime's _wtol skips before a number and the first units ("zeros") of the ten-digit runs it
// reads as 0-9. Both lists were read from the real _wtol by probing every UTF-16 unit under Wine (a unit u is
// white space when _wtol(u "7") is 7, a digit d when _wtol("1" u) is 10 + d); the platform tests check samples
// of each group against the real function on Windows.
constexpr char16_t kWhiteSpace[] = {
    0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x0020, 0x00A0, 0x1680, 0x2000, 0x2001, 0x2002, 0x2003,
    0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000,
};
constexpr char16_t kDigitZeros[] = {
    0x0030, 0x0660, 0x06F0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0C66,
    0x0CE6, 0x0D66, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x17E0, 0x1810, 0xFF10,
};

// Printable ASCII other than the space, and the units between it and U+00A0, are never white space: the common
// case is answered without the search.
bool IsWhiteSpace(char16_t unit) {
  if (unit > u' ' && unit < 0x00A0) return false;
  return std::binary_search(std::begin(kWhiteSpace), std::end(kWhiteSpace), unit);
}

// Returns the digit value of `unit`, or -1 when it is not a digit. ASCII digits, the usual ones, skip the search.
int DigitValue(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit < kDigitZeros[1]) return -1;
  const auto* next = std::upper_bound(std::begin(kDigitZeros), std::end(kDigitZeros), unit);
  if (next == std::begin(kDigitZeros)) return -1;
  const int offset = unit - *(next - 1);
  return offset < 10 ? offset : -1;
}

}  // namespace

std::int32_t WideToLong(const char16_t* text) {
  if (text == nullptr) return 0;
  while (IsWhiteSpace(*text)) ++text;
  const bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;

  // Accumulate the magnitude with room for INT32_MIN's, and stop growing once past it: the rest of the digits
  // only need to be skipped.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (int digit = DigitValue(*text); digit >= 0; digit = DigitValue(*++text)) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + digit;
  }
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(-magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

}  // namespace OAuthClient::Platform
