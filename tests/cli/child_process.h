// RunProgram: runs a program as a child process with captured stdout and stderr, for the command-line tests.
#ifndef OAUTHCLIENT_TESTS_CLI_CHILD_PROCESS_H
#define OAUTHCLIENT_TESTS_CLI_CHILD_PROCESS_H

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

// Runs `program` with `arguments`, the test's environment without any OAUTH_* variable plus `environment`, and
// `input` on its stdin; waits for it and returns what it wrote. Aborts the test process if it cannot start one.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment = {},
                         const std::string& input = std::string());

// Returns a loopback TCP port on which nothing listens (bound, then closed again).
int ClosedLoopbackPort();

// Returns the text of a file, or "" when it cannot be read.
std::string ReadFileText(const std::string& path);

}  // namespace Testing
}  // namespace OAuthClient

#endif  // OAUTHCLIENT_TESTS_CLI_CHILD_PROCESS_H
