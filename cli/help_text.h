// The texts of --help and --version.
#ifndef OAUTH_CLIENT_CLI_HELP_TEXT_H
#define OAUTH_CLIENT_CLI_HELP_TEXT_H

#include "invocation.h"

namespace OAuthClient {
namespace Cli {

// Returns the help of a subcommand (kHelp: the program's overview).
const char* HelpText(Command topic);

// Returns "oauth-client <version>".
const char* VersionText();

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_HELP_TEXT_H
