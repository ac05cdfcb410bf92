// ParseCommandLine: turns the program's arguments into an Invocation, or a UsageError that says what is wrong.
#ifndef OAUTH_CLIENT_CLI_COMMAND_LINE_H
#define OAUTH_CLIENT_CLI_COMMAND_LINE_H

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "invocation.h"

namespace OAuthClient {
namespace Cli {

// Bad usage: an unknown subcommand or option, a missing or malformed value, a missing required option, options
// that exclude each other, or an input file that cannot be read. The program prints what() and exits with 2.
class UsageError : public std::runtime_error {
 public:
  UsageError(Command command, const std::string& message) : std::runtime_error(message), command_(command) {}
  // Returns the subcommand whose help the message should point to (kHelp: the program's own).
  Command Subcommand() const { return command_; }

 private:
  Command command_;
};

// Reads environment variables; the default reads the process environment. Tests and callers may pass another.
using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> ReadProcessEnvironment(const char* name);

// Parses the arguments after the program name. Options take their value as the next argument or after "=";
// "--" ends the options. Secrets not given on the command line come from the environment: OAUTH_CLIENT_SECRET,
// OAUTH_PASSWORD and OAUTH_ACCESS_TOKEN. Throws UsageError.
Invocation ParseCommandLine(const std::vector<std::string>& arguments,
                            const EnvironmentReader& environment = ReadProcessEnvironment);

// Parses a duration: a decimal number of seconds ("30", "2.5", "30s") or of milliseconds with the suffix "ms"
// ("500ms"). Returns the milliseconds, rounded to the nearest, or nothing when the text is malformed, negative
// or beyond 4294967295 ms.
std::optional<std::uint32_t> ParseDurationMilliseconds(const std::string& text);

// Returns the program's name as used in messages.
const char* ProgramName();

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_COMMAND_LINE_H
