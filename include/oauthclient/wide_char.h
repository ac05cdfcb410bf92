// Wide text and fixed-width types shared by every interface that crosses the library boundary.
#ifndef OAUTHCLIENT_WIDE_CHAR_H
#define OAUTHCLIENT_WIDE_CHAR_H

#include <cstdint>
#include <string>
#include <string_view>

namespace OAuthClient {

// Wide text crosses the boundary as zero-terminated 16-bit code units (UTF-16).
// POSIX hosts use char16_t; Windows hosts use wchar_t, which is 16 bits there.
#if defined(_WIN32)
using WideChar = wchar_t;
#else
using WideChar = char16_t;
#endif
static_assert(sizeof(WideChar) == 2, "wide text must be 16-bit code units");

// Owning and non-owning wide text in the host's character type, for hosts and tests that build the same source
// on both platforms.
using WideString = std::basic_string<WideChar>;
using WideStringView = std::basic_string_view<WideChar>;

// The 8-bit boolean argument of the option-flag setters. Any byte is stored unchanged.
using Bool8 = std::uint8_t;

}  // namespace OAuthClient

// A wide string literal of the host's character type: OAUTHCLIENT_TEXT("abc") is u"abc" on POSIX and L"abc" on
// Windows, so the same source passes text to the interfaces on both.
#if defined(_WIN32)
#define OAUTHCLIENT_TEXT(literal) L##literal
#else
#define OAUTHCLIENT_TEXT(literal) u##literal
#endif

#endif  // OAUTHCLIENT_WIDE_CHAR_H
