// Terminal detection (POSIX and Windows) and escaping of control characters for terminal output.
#include "terminal.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace OAuthClient {
namespace Cli {

bool IsTerminal(std::FILE* stream) {
#if defined(_WIN32)
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

std::string EscapeControlCharacters(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (byte == '\n') {
      escaped += "\\n";
    } else if (byte == '\r') {
      escaped += "\\r";
    } else if (byte == '\t') {
      escaped += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      escaped += "\\x";
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      escaped += "\\u00";
      escaped += kHex[next >> 4];
      escaped += kHex[next & 0x0F];
      ++i;
    } else {
      escaped += static_cast<char>(byte);
    }
  }
  return escaped;
}

}  // namespace Cli
}  // namespace OAuthClient
