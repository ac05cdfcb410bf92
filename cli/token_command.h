// The token subcommand, and the token step that get and request run before their resource call.
#ifndef OAUTH_CLIENT_CLI_TOKEN_COMMAND_H
#define OAUTH_CLIENT_CLI_TOKEN_COMMAND_H

#include <string>

#include "invocation.h"
#include "oauth_library.h"
#include "verbose_log.h"

namespace OAuthClient {
namespace Cli {

// Obtains a token and prints the answer as one JSON object on stdout (or, with --raw, the reply text as
// received). Returns the exit code (exit_codes.h).
//
// What the request holds, on top of what the library adds (for client_credentials and password: the form
// Content-Type and the Basic client authorization, unless a --header gives "Authorization"):
//  - the form parameters --param, then grant_type, scope, username and password (a --param of the same name
//    wins), their names and values form-URL-encoded by this program, because the library sends them as given
//    except for the client credentials flow with the GET method, which it encodes itself (they are then given
//    to it unencoded);
//  - for any other (extension) grant, whose requests the library leaves as the host makes them: the Basic
//    authorization of --client-id and the client secret (UTF-8, RFC 7617) or, without a secret, a client_id
//    parameter (a public client, RFC 6749 section 2.3.1);
//  - the form Content-Type whenever the library does not add it and the method is not GET, unless a --header
//    gives one.
int RunTokenCommand(const OAuthLibrary& library, const Invocation& invocation);

// Obtains the access token for get / request. Returns 0 and writes the token to *accessToken, or the exit code
// of the failure after printing its message on stderr.
int ObtainAccessToken(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                      std::string* accessToken);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_TOKEN_COMMAND_H
