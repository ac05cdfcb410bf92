// _wtol on Windows: the C runtime's own, whose long is 32 bits and which saturates on overflow.
#include "oauth/platform/wide_to_long.h"

#include <stdlib.h>

namespace OAuthClient::Platform {

std::int32_t WideToLong(const char16_t* text) {
  if (text == nullptr) return 0;
  return static_cast<std::int32_t>(::_wtol(reinterpret_cast<const wchar_t*>(text)));
}

}  // namespace OAuthClient::Platform
