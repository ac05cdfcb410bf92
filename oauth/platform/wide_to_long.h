// Decimal text to number, as the C runtime's _wtol reads 16-bit text.
#ifndef OAUTH_PLATFORM_WIDE_TO_LONG_H
#define OAUTH_PLATFORM_WIDE_TO_LONG_H

#include <cstdint>

namespace OAuthClient::Platform {

// Skips leading white space (tab to CR, space, and the Unicode spaces the Windows C runtime knows: U+00A0, U+1680,
// U+2000-U+200A, U+2028, U+2029, U+202F, U+205F, U+3000), reads an optional ASCII "+" or "-" and the decimal digits
// up to the first other unit; the digits are the ASCII ones and the ten-digit runs of other scripts that the C
// runtime reads (Arabic-Indic, Devanagari, ..., full-width). No digits gives 0; a null text gives 0. Beyond the
// signed 32-bit range the result saturates at INT32_MAX or INT32_MIN (Windows' long is 32 bits). On Windows the C
// runtime's _wtol itself is called.
std::int32_t WideToLong(const char16_t* text);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_WIDE_TO_LONG_H
