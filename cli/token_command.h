// The token subcommand, and the token step that get and request run before their resource call.
#ifndef OAUTH_CLIENT_CLI_TOKEN_COMMAND_H
#define OAUTH_CLIENT_CLI_TOKEN_COMMAND_H

#include <string>

#include "invocation.h"
#include "oauth_library.h"
#include "verbose_log.h"

namespace OAuthClient {
namespace Cli {

// Obtains a token (from the cache with --cache) and prints the answer as one JSON object on stdout (or, with
// --raw, the reply text as received; with --print NAME, that member alone; for the header subcommand, the
// "Authorization: Bearer ..." line). Returns the exit code (exit_codes.h).
//
// What the request holds, on top of what the library adds (for client_credentials and password: the form
// Content-Type and the Basic client authorization, unless a --header gives "Authorization"):
//  - the form parameters --param, then grant_type, scope, username and password (a --param of the same name
//    wins), their names and values form-URL-encoded by this program, because the library sends them as given
//    except for the client credentials flow with the GET method, which it encodes itself (they are then given
//    to it unencoded);
//  - for any other (extension) grant, whose requests the library leaves as the host makes them: the Basic
//    authorization of --client-id and the client secret, encoded by the library's rule (or as --basic-auth
//    says, then for every grant) or, without a secret, a client_id parameter (a public client, RFC 6749
//    section 2.3.1);
//  - the form Content-Type whenever the library does not add it and the method is not GET, unless a --header
//    gives one.
int RunTokenCommand(const OAuthLibrary& library, const Invocation& invocation);

// The access token of get / request and where it came from.
struct ObtainedToken {
  std::string accessToken;
  bool fromCache = false;
  std::string refused;  // in: a cached token the resource refused; it is dropped from the cache, not used again
};

// Obtains the access token for get / request, from the cache (--cache) when it holds a good one, else from the
// token endpoint (then stored in the cache). Returns 0 with *obtained filled, or the exit code of the failure
// after printing its message on stderr.
int ObtainAccessToken(const OAuthLibrary& library, const Invocation& invocation, const VerboseLog& log,
                      ObtainedToken* obtained);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_TOKEN_COMMAND_H
