// Decimal text to number, as the C runtime's _wtol reads 16-bit text.
#ifndef OAUTH_PLATFORM_WIDE_TO_LONG_H
#define OAUTH_PLATFORM_WIDE_TO_LONG_H

#include <cstdint>

namespace OAuthClient::Platform {

// Skips leading white space (space, tab, LF, VT, FF, CR), reads an optional "+" or "-" and the decimal digits up
// to the first other unit. No digits gives 0; a null text gives 0. Beyond the signed 32-bit range the result
// saturates at INT32_MAX or INT32_MIN (Windows' long is 32 bits). Only the ASCII digits 0-9 count. On Windows the
// C runtime's _wtol itself is called, with its own white-space classification.
std::int32_t WideToLong(const char16_t* text);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_WIDE_TO_LONG_H
