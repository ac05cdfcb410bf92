// Code-page conversion between UTF-16 and bytes, with the semantics of the Windows converters called with flags 0.
#ifndef OAUTH_PLATFORM_CODE_PAGE_H
#define OAUTH_PLATFORM_CODE_PAGE_H

#include <cstdint>

namespace OAuthClient::Platform {

// The active ANSI code page. On POSIX it is Windows-1252 (the number 1252 is accepted too).
constexpr std::uint32_t kCodePageAnsi = 0;
// UTF-8.
constexpr std::uint32_t kCodePageUtf8 = 65001;

// Converts `count` UTF-16 units (-1, or any negative count: up to and including the terminator) to bytes in
// `codePage`, as WideCharToMultiByte(codePage, 0, text, count, out, outSize, nullptr, nullptr) does.
// With outSize 0 nothing is written and the number of bytes needed is returned. Returns the bytes written, or 0 on
// failure (a null text, count 0, an unknown code page, a negative outSize, a null out with a non-zero
// outSize, or an output too small for the whole result; the buffer may then hold part of the result).
// UTF-8: a surrogate pair becomes one four-byte sequence, a lone surrogate U+FFFD (EF BF BD).
// ANSI: Windows-1252 with Windows' best-fit substitutes (U+0100 -> 'A', U+221E -> '8'); a unit with neither an
// exact nor a best-fit byte becomes "?", each unit of a surrogate pair on its own (so a pair gives "??"), and of
// U+0080-U+009F only the five C1 controls that the undefined bytes decode to convert back to their bytes.
int WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int count, char* out, int outSize);

// Converts `count` bytes (-1: up to and including the terminator) in `codePage` to UTF-16, as
// MultiByteToWideChar(codePage, 0, bytes, count, out, outSize) does. With outSize 0 the number of units needed is
// returned. Returns the units written, or 0 on failure (as for WideCharToMultiByte; an output too small for a
// surrogate pair counts as too small). UTF-8: malformed input becomes as many U+FFFD as
// Windows gives: one per byte that cannot start a sequence (a stray continuation byte, C0, C1, F5-FF), one per
// truncated sequence (never taking the byte after it, also where the input ends first: E2 41 is U+FFFD, 'A';
// Wine 8 drops the 'A'), and one for a lead with a first continuation byte that makes an overlong form, a surrogate
// or a value above U+10FFFF (E0 80 80 gives two: E0 80, then the stray 80). ANSI: the five bytes Windows-1252 leaves
// undefined map to U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows does.
int MultiByteToWideChar(std::uint32_t codePage, const char* bytes, int count, char16_t* out, int outSize);

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_CODE_PAGE_H
