// The program's exit codes and the one-line messages for the results of RequestToken / RequestResource.
#ifndef OAUTH_CLIENT_CLI_EXIT_CODES_H
#define OAUTH_CLIENT_CLI_EXIT_CODES_H

#include <cstdint>
#include <string>

namespace OAuthClient {
namespace Cli {

// Exit codes. Scripts test for these numbers: never renumber one, only add.
//   0      an HTTP answer with a status below 400 (token: a 2xx answer with an access token)
//   1      the program itself failed: the library could not be loaded, the output could not be written
//   2      bad usage (the message says what; nothing was sent)
//   3      the server answered with an HTTP status of 400 or more (and, for a token, no OAuth error member), or
//          the token endpoint answered with a status outside 2xx (a redirect it was not allowed to follow)
//   4      the token endpoint answered with an OAuth error reply ("error" member, RFC 6749 section 5.2)
//   5      the library sent nothing (-1): the HTTP component is unavailable or the request lacks a part
//   6      the token endpoint answered below 400 but its reply held no access token
//   10-25  a transport failure: the HTTP component's code negated (10 bad URL ... 25 transport unavailable)
//   99     any other transport failure or unexpected result
enum ExitCode : int {
  kExitOk = 0,
  kExitProgramFailure = 1,
  kExitUsage = 2,
  kExitHttpError = 3,
  kExitOAuthError = 4,
  kExitNotSent = 5,
  kExitNoAccessToken = 6,
  kExitTransportFirst = 10,
  kExitTransportLast = 26,
  kExitOtherFailure = 99,
};

// Returns the exit code for a result of RequestToken / RequestResource other than 1.
int ExitCodeForFailedResult(std::int32_t result);

// Returns a one-line description in plain words of a result other than 1 ("connection refused", ...).
const char* DescribeFailedResult(std::int32_t result);

// Writes "oauth-client: <message>" and a line break to stderr, control characters escaped (server text reaches
// the message), unless -s silenced errors.
void PrintErrorLine(const std::string& message);
// Writes "oauth-client: warning: <message>" the same way, unless -s silenced warnings.
void PrintWarningLine(const std::string& message);
// Chooses which of the two reach stderr (-s silences both; -S brings the errors back).
void SetMessageLevels(bool errors, bool warnings);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_EXIT_CODES_H
