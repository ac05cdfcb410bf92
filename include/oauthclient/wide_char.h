// Wide text and fixed-width types shared by every interface that crosses the library boundary.
#ifndef OAUTHCLIENT_WIDE_CHAR_H
#define OAUTHCLIENT_WIDE_CHAR_H

#include <cstdint>

namespace OAuthClient {

// Wide text crosses the boundary as zero-terminated 16-bit code units (UTF-16).
// POSIX hosts use char16_t; Windows hosts use wchar_t, which is 16 bits there.
#if defined(_WIN32)
using WideChar = wchar_t;
#else
using WideChar = char16_t;
#endif
static_assert(sizeof(WideChar) == 2, "wide text must be 16-bit code units");

// The 8-bit boolean argument of the option-flag setters. Any byte is stored unchanged.
using Bool8 = std::uint8_t;

}  // namespace OAuthClient

#endif  // OAUTHCLIENT_WIDE_CHAR_H
