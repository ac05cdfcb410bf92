// Terminal facts the output depends on: whether a stream is a terminal, and text made safe to print on one.
#ifndef OAUTH_CLIENT_CLI_TERMINAL_H
#define OAUTH_CLIENT_CLI_TERMINAL_H

#include <cstdio>
#include <string>
#include <string_view>

namespace OAuthClient {
namespace Cli {

// Returns whether `stream` writes to a terminal (isatty on POSIX, _isatty on Windows).
bool IsTerminal(std::FILE* stream);

// Returns `text` with every control character written as an escape ("\x1b", "\r", "\n", "\t"), the C1 controls
// U+0080-U+009F (encoded in UTF-8) as "\u0080".."\u009f". Server texts (error descriptions, reason phrases,
// headers) pass through here before they reach stderr, so a hostile server cannot move the cursor, retitle the
// window or hide a line.
std::string EscapeControlCharacters(std::string_view text);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_TERMINAL_H
