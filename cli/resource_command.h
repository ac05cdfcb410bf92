// The get and request subcommands: a protected-resource call with a "Bearer" access token.
#ifndef OAUTH_CLIENT_CLI_RESOURCE_COMMAND_H
#define OAUTH_CLIENT_CLI_RESOURCE_COMMAND_H

#include "invocation.h"
#include "oauth_library.h"

namespace OAuthClient {
namespace Cli {

// Sends the resource request (after obtaining a token first when the token options were given) and writes the
// answer's body, byte for byte, to stdout or the --output file; with --include the status line and headers as
// received come first, then an empty line. The method is --method, or GET (POST when a body is given). A body
// (--data, --data-file) is sent as its bytes; it gets a Content-Type only from --content-type or a --header.
// Returns the exit code (exit_codes.h).
int RunResourceCommand(const OAuthLibrary& library, const Invocation& invocation);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_RESOURCE_COMMAND_H
