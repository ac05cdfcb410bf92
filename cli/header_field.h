// Look-ups in the header fields given on the command line. Header names compare ignoring ASCII case (RFC 9110
// section 5.1).
#ifndef OAUTH_CLIENT_CLI_HEADER_FIELD_H
#define OAUTH_CLIENT_CLI_HEADER_FIELD_H

#include <string_view>
#include <vector>

#include "common/ascii.h"
#include "invocation.h"

namespace OAuthClient {
namespace Cli {

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
