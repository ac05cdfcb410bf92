// The table of Windows-1252 bytes that Windows' converter gives, best-fit substitutes included, for UTF-16 units
// from U+0080 up.
#ifndef OAUTH_PLATFORM_POSIX_WINDOWS_1252_BEST_FIT_H
#define OAUTH_PLATFORM_POSIX_WINDOWS_1252_BEST_FIT_H

#include <cstddef>

namespace OAuthClient::Platform {

struct BestFitEntry {
  char16_t unit;
  unsigned char byte;
};

// Sorted by unit; a unit from U+0080 up that is not listed becomes "?". Generated from the real converter (see
// windows_1252_best_fit.cpp).
extern const BestFitEntry kWindows1252BestFit[];
extern const std::size_t kWindows1252BestFitSize;

}  // namespace OAuthClient::Platform

#endif  // OAUTH_PLATFORM_POSIX_WINDOWS_1252_BEST_FIT_H
