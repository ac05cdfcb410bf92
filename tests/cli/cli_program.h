// Running oauth-client as a child process with captured stdout and stderr, alone or from a table of expected runs.
#ifndef OAUTHCLIENT_TESTS_CLI_CLI_PROGRAM_H
#define OAUTHCLIENT_TESTS_CLI_CLI_PROGRAM_H

#include <map>
#include <string>
#include <vector>

namespace OAuthClient {
namespace Testing {

struct ProgramResult {
  int exitCode = -1;  // the exit status, or 128 + signal number when a signal ended the child
  std::string out;    // everything written to stdout, byte for byte
  std::string err;    // everything written to stderr
};

// The program under test: $OAUTH_CLIENT_PROGRAM, else "oauth-client".
std::string Program();

// Runs `program` (Program() when empty) with `arguments`, the test's environment without any OAUTH_* variable
// plus `environment`, and `input` on its stdin; waits for it and returns what it wrote.
ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment = {},
                         const std::string& input = std::string(), const std::string& program = std::string());

// One run of the program and what it must give: the exit code, the texts stdout must contain (none: stdout stays
// empty) and a text stderr must contain ("": anything).
struct ExpectedRun {
  std::vector<std::string> arguments;
  int exitCode;
  std::vector<std::string> outParts;
  std::string errPart;
  std::map<std::string, std::string> environment = {};
  std::string input = {};
};

// Runs and checks each, with its arguments as the trace of its failures.
void ExpectRuns(const std::vector<ExpectedRun>& runs);

}  // namespace Testing
}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TESTS_CLI_CLI_PROGRAM_H
