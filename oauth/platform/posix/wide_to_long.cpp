// _wtol on POSIX: decimal 16-bit text to a 32-bit number, saturating as the C runtime's wcstol-based _wtol does.
#include "oauth/platform/wide_to_long.h"

#include <cstdint>
#include <limits>

namespace OAuthClient::Platform {
namespace {

bool IsWhiteSpace(char16_t unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); }
bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

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
  for (; IsDigit(*text); ++text) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (*text - u'0');
  }
  if (negative) {
    return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(-magnitude);
  }
  return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

}  // namespace OAuthClient::Platform
