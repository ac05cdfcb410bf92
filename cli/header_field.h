// Look-ups in the header fields given on the command line. Header names compare ignoring ASCII case (RFC 9110
// section 5.1).
#ifndef OAUTH_CLIENT_CLI_HEADER_FIELD_H
#define OAUTH_CLIENT_CLI_HEADER_FIELD_H

#include <string_view>
#include <vector>

#include "invocation.h"

namespace OAuthClient {
namespace Cli {

// Returns whether `a` and `b` are equal when ASCII letters are folded to one case.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    const char y = (b[i] >= 'A' && b[i] <= 'Z') ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
    if (x != y) return false;
  }
  return true;
}

// Returns whether `headers` has a field named `name`.
inline bool HasHeaderNamed(const std::vector<HeaderField>& headers, std::string_view name) {
  for (const HeaderField& header : headers) {
    if (EqualsIgnoringAsciiCase(header.first, name)) return true;
  }
  return false;
}

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_HEADER_FIELD_H
